#include "ClientValidation.h"

#include "SchemaUpgrade.h"

#include "common/Cp1251.h"

#include <QHash>
#include <QList>

namespace {

bool digitsOnly(const QString &text) {
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

struct TextField {
    const QString *value;
    const char *column;
    const char *labelKey;
};

} // namespace

int ClientValidation::columnWidth(const QString &column) {
    static const QHash<QString, int> widths = {
        {QStringLiteral("CODE_CLIENT"), 16}, {QStringLiteral("NAME"), 30},
        {QStringLiteral("SURNAME"), 30},     {QStringLiteral("WEIGHT"), 4},
        {QStringLiteral("HEIGHT"), 4},       {QStringLiteral("SEX"), 10},
        {QStringLiteral("CITY"), 30},        {QStringLiteral("ADRESS"), 30},
        {QStringLiteral("ADRESS2"), 30},     {QStringLiteral("INDEX1"), 30},
        {QStringLiteral("SAIT"), 30},        {QStringLiteral("E_MAIL"), 30},
        {QStringLiteral("TEL1"), SchemaUpgrade::PhoneWidth}, {QStringLiteral("TEL2"), SchemaUpgrade::PhoneWidth},
        {QStringLiteral("TEL3"), SchemaUpgrade::PhoneWidth},        {QStringLiteral("COUNTRY"), 30},
        {QStringLiteral("SKYPE"), 30},
    };
    return widths.value(column.toUpper(), 0);
}

ClientValidation::Problem ClientValidation::check(const ClientCard &card, const QDate &today) {
    if (card.name.trimmed().isEmpty())
        return {QStringLiteral("WriteName"), {}};
    if (card.surname.trimmed().isEmpty())
        return {QStringLiteral("WriteSurname"), {}};
    // A birth date of today or later is a date the user did not set.
    if (!card.birthday.isValid() || card.birthday >= today)
        return {QStringLiteral("WriteBirthDate"), {}};
    if (card.sex.trimmed().isEmpty())
        return {QStringLiteral("WriteSex"), {}};
    const QString height = card.height.trimmed();
    if (height.size() > MaxMeasureLength)
        return {QStringLiteral("HeigthMustBeLess"), {}};
    if (!digitsOnly(height))
        return {QStringLiteral("HeigthMustBeDigit"), {}};
    const QString weight = card.weight.trimmed();
    if (weight.size() > MaxMeasureLength)
        return {QStringLiteral("WeightMustBeLess"), {}};
    if (!digitsOnly(weight))
        return {QStringLiteral("WeightMustBeDigit"), {}};

    // The base refuses what does not fit; say which field before anything is written.
    const QList<TextField> fields = {
        {&card.name, "NAME", "Name"},          {&card.surname, "SURNAME", "Surname"},
        {&card.height, "HEIGHT", "Height"},    {&card.weight, "WEIGHT", "Weight"},
        {&card.adress, "ADRESS", "Address"},   {&card.adress2, "ADRESS2", "Address"},
        {&card.city, "CITY", "City"},          {&card.index1, "INDEX1", "Zip"},
        {&card.country, "COUNTRY", "Country"}, {&card.tel1, "TEL1", "HomePhone"},
        {&card.tel2, "TEL2", "WorkPhone"},     {&card.tel3, "TEL3", "Cell"},
        {&card.eMail, "E_MAIL", "Mail"},       {&card.sait, "SAIT", "WebPage"},
        {&card.skype, "SKYPE", "Messenger"},   {&card.comment, "COMMENT", "Comment"},
    };
    for (const TextField &f : fields) {
        if (!Cp1251::canEncode(*f.value))
            return {QStringLiteral("FieldNotStorable"), QLatin1String(f.labelKey)};
        const int width = columnWidth(QLatin1String(f.column));
        if (width > 0 && f.value->trimmed().size() > width)
            return {QStringLiteral("FieldTooLong"), QLatin1String(f.labelKey), width};
    }
    return {};
}
