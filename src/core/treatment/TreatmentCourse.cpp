#include "TreatmentCourse.h"

#include "Questionnaire.h"
#include "common/IniFile.h"

namespace {

// Items each ended by "#", the list ended by an empty item.
QStringList listItems(const QString &text)
{
    QStringList items;
    for (const QString &item : text.split(QLatin1Char('#'))) {
        if (item.trimmed().isEmpty())
            break;
        items.append(item.trimmed());
    }
    return items;
}

} // namespace

std::optional<TreatmentCourse> TreatmentCourse::load(const QString &language, int number)
{
    if (number <= 0)
        return std::nullopt;
    const QString path = Questionnaire::filePath(language, QStringLiteral("%1.txt").arg(number));
    if (path.isEmpty())
        return std::nullopt;
    const IniFile file(path);
    if (!file.existed())
        return std::nullopt;
    return fromIni(file);
}

TreatmentCourse TreatmentCourse::fromIni(const IniFile &file)
{
    TreatmentCourse course;
    course.title = file.readString(QStringLiteral("General"), QStringLiteral("name"));
    for (int i = 1; i <= SessionCount; ++i) {
        const QString section = QString::number(i);
        Session session;
        session.hasValue = file.hasKey(section, QStringLiteral("value"));
        if (session.hasValue)
            session.items = parseItems(file.readString(section, QStringLiteral("value")));
        session.hasValue2 = file.hasKey(section, QStringLiteral("value2"));
        if (session.hasValue2)
            parseValue2(file.readString(section, QStringLiteral("value2")), &session.text,
                        &session.points);
        course.sessions.append(session);
    }
    return course;
}

QList<TreatmentCourse::Item> TreatmentCourse::parseItems(const QString &value)
{
    QList<Item> items;
    for (const QString &item : listItems(value)) {
        const qsizetype amp = item.indexOf(QLatin1Char('&'));
        if (amp < 0)
            items.append({item, QString()});
        else
            items.append({item.left(amp).trimmed(), item.mid(amp + 1).trimmed()});
    }
    return items;
}

void TreatmentCourse::parseValue2(const QString &value2, QString *text, QStringList *points)
{
    const qsizetype amp = value2.indexOf(QLatin1Char('&'));
    QString head = amp < 0 ? value2 : value2.left(amp);
    while (amp < 0 && head.endsWith(QLatin1Char('#')))
        head.chop(1); // a text without a point list may still carry its closing "##"
    *text = head.trimmed();
    *points = amp < 0 ? QStringList() : listItems(value2.mid(amp + 1));
}
