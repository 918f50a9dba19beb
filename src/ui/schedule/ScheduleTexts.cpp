#include "ScheduleTexts.h"

#include "common/Dialogs.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageDefaults.h"
#include "localization/Localization.h"

namespace ScheduleTexts {

void bind(QObject *owner, const QString &key, const QString &fallback,
          const std::function<void(const QString &)> &setter)
{
    LanguageApplier::instance().bindWithFallback(owner, key, fallback, setter);
}

QString translate(const QString &key, const QString &fallback)
{
    QString text = Localization::Translate(key);
    if (text.isEmpty())
        text = LanguageDefaults::defaultText(key);
    return text.isEmpty() ? fallback : text;
}

QString current(const QString &key, const QString &fallback)
{
    return LanguageApplier::instance().text(key, fallback);
}

QString problemText(const QString &key, const QString &field, int limit)
{
    // English stand-ins for language files that lack a message.
    static const struct
    {
        const char *key;
        const char *text;
    } kFallbacks[] = {
        {"ChooseClient", "Choose the client of the appointment in the list."},
        {"NValDate", "Invalid date."},
        {"IncorrectTimeInterval", "The start time is later than the end time."},
        {"TimeAlreadyUsed", "This time is already taken by another appointment."},
        {"RemindModeNotSelected", "Choose how to remind: sound, message or both."},
        {"FieldTooLong", "The field \"%1\" is too long: at most %2 characters."},
        {"FieldNotStorable", "The field \"%1\" holds characters the base cannot store."},
    };
    QString fallback = key;
    for (const auto &f : kFallbacks) {
        if (key == QLatin1String(f.key))
            fallback = QLatin1String(f.text);
    }
    QString text = translate(key, fallback);
    if (!field.isEmpty())
        text = Localization::fieldMessage(text, current(field, field), limit);
    return text;
}

void showTimeOut(QWidget *parent, const QString &text)
{
    Dialogs::error(parent, translate(QStringLiteral("TimeOut"), QStringLiteral("Time Out")), text);
}

} // namespace ScheduleTexts
