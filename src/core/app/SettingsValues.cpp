#include "SettingsValues.h"

#include "common/IniFile.h"
#include "localization/Localization.h"

namespace {
QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

bool isOne(const QString &value)
{
    return value.trimmed() == QLatin1String("1");
}

// An INI value is one line: a line break in a memo would end the value and let the rest of the
// text be read as keys or sections of its own.
QString oneLine(const QString &text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QChar::LineSeparator, QLatin1Char(' '))
        .replace(QChar::ParagraphSeparator, QLatin1Char(' '));
    return line.trimmed();
}
} // namespace

SettingsValues SettingsValues::load(const IniFile &options)
{
    SettingsValues values;
    for (int row = 1; row <= MeasuringOrder::Rows; ++row) {
        values.meridianNames[size_t(row - 1)]
            = options.readString(QStringLiteral("meridian"), QString::number(row));
    }
    values.order = MeasuringOrder::load(options);
    // A value the corridor cannot use (a hand-edited file) falls back to the default rather
    // than being bent into range.
    const int percent
        = options.readInteger(QStringLiteral("medium"), QStringLiteral("val"), DefaultPercent);
    values.middlePercent = isValidPercent(percent) ? percent : DefaultPercent;
    values.askPassword
        = isOne(options.readString(QStringLiteral("password"), QStringLiteral("do")));
    values.soundSignal = isOne(options.readString(QStringLiteral("test"), QStringLiteral("sound")));
    values.testInfo = options.readString(QStringLiteral("test"), QStringLiteral("info"));
    values.treatmentInfo = options.readString(QStringLiteral("treatment"), QStringLiteral("info"));
    return values;
}

SettingsValues::SaveResult SettingsValues::save(IniFile &options) const
{
    SaveResult result;
    for (int row = 1; row <= MeasuringOrder::Rows; ++row) {
        options.writeString(QStringLiteral("meridian"), QString::number(row),
                            oneLine(meridianNames[size_t(row - 1)]));
    }
    result.orderWritten = order.save(options);
    if (isValidPercent(middlePercent)) {
        options.writeInteger(QStringLiteral("medium"), QStringLiteral("val"), middlePercent);
        result.percentWritten = true;
    }
    if (passwordValue)
        options.writeString(QStringLiteral("password"), QStringLiteral("val"), *passwordValue);
    options.writeString(QStringLiteral("password"), QStringLiteral("do"), flag(askPassword));
    options.writeString(QStringLiteral("test"), QStringLiteral("sound"), flag(soundSignal));
    options.writeString(QStringLiteral("test"), QStringLiteral("info"), oneLine(testInfo));
    options.writeString(QStringLiteral("treatment"), QStringLiteral("info"),
                        oneLine(treatmentInfo));
    return result;
}

std::array<QString, MeasuringOrder::Rows> SettingsValues::shownMeridianNames() const
{
    std::array<QString, MeasuringOrder::Rows> names = meridianNames;
    for (int row = 1; row <= MeasuringOrder::Rows; ++row) {
        QString &name = names[size_t(row - 1)];
        if (name.trimmed().isEmpty())
            name = Localization::Translate(QStringLiteral("MerName") + MeasuringOrder::rowCode(row).toUpper());
    }
    return names;
}
