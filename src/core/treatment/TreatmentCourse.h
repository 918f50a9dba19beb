#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class IniFile;

// A ten-session acupuncture course, main/<language>/<N>.txt: [General] name is the title,
// sections [1]..[10] the sessions. `value` lists "point&instruction#" items closed by an empty
// item ("##"); `value2` is "instruction&" followed by "point#" items closed the same way.
// Sections beyond 10 are not part of a course.
class TreatmentCourse
{
public:
    static constexpr int SessionCount = 10;

    struct Item
    {
        QString point;
        QString instruction; // empty for an item without "&"
    };
    struct Session
    {
        bool hasValue = false;
        QList<Item> items;
        bool hasValue2 = false;
        QString text;        // the instruction of value2
        QStringList points;  // its points
    };

    // Course numbers: 1..4 by the nosological group, 10*i+1 relieves excess and 10*i+2
    // deficiency of meridian i.
    static int excessCourse(int meridian) { return 10 * meridian + 1; }
    static int deficiencyCourse(int meridian) { return 10 * meridian + 2; }

    // The course file of a language (main/English/ when the language lacks it); no value when
    // neither exists.
    static std::optional<TreatmentCourse> load(const QString &language, int number);
    static TreatmentCourse fromIni(const IniFile &file);

    // The item lists as the file writes them.
    static QList<Item> parseItems(const QString &value);
    static void parseValue2(const QString &value2, QString *text, QStringList *points);

    QString title;
    QList<Session> sessions; // always SessionCount entries
};
