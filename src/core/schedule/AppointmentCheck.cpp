#include "AppointmentCheck.h"

#include "common/Cp1251.h"

namespace {
AppointmentCheck::Problem problem(const char *key, const char *field = nullptr, int limit = 0)
{
    return {QLatin1String(key), field ? QString(QLatin1String(field)) : QString(), limit};
}
} // namespace

AppointmentCheck::Problem AppointmentCheck::check(const Appointment &a, bool timeTaken)
{
    if (a.clientId.trimmed().isEmpty())
        return problem("ChooseClient");
    if (!a.day.isValid() || !a.begin.isValid() || !a.end.isValid())
        return problem("NValDate");
    // An appointment may start and end at the same time (a reminder without a span).
    if (a.begin > a.end)
        return problem("IncorrectTimeInterval");
    if (timeTaken)
        return problem("TimeAlreadyUsed");
    if (a.remind && !a.sound && !a.message)
        return problem("RemindModeNotSelected");
    // The columns are Windows-1251 text of a fixed size: anything else the base would refuse.
    if (a.comment.size() > Appointment::MaxComment)
        return problem("FieldTooLong", "Comment", Appointment::MaxComment);
    if (!Cp1251::canEncode(a.comment))
        return problem("FieldNotStorable", "Comment");
    if (a.message) {
        if (a.text.size() > Appointment::MaxText)
            return problem("FieldTooLong", "Message", Appointment::MaxText);
        if (!Cp1251::canEncode(a.text))
            return problem("FieldNotStorable", "Message");
    }
    if (a.sound) {
        if (a.melody.size() > Appointment::MaxMelody)
            return problem("FieldTooLong", "Sound", Appointment::MaxMelody);
        if (!Cp1251::canEncode(a.melody))
            return problem("FieldNotStorable", "Sound");
    }
    return {};
}
