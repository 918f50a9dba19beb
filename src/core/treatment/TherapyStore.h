#pragma once

#include <QSet>
#include <QString>

#include <optional>

class DataModule;

// The per-test rows of the treatment sub-modes: COLOR_TREATMENT, FREQ_TREATMENT or
// PUNCT_TREATMENT, one row per client and test holding the assignment or questionnaire state
// (TREATMENT) and the practitioner's comment (COMMENT). A row is found by client code (letter case aside) and test key, always
// through bound parameters; a row is inserted when the first of the two is saved, and every
// change is committed at once.
class TherapyStore
{
public:
    enum class Table { Color, Freq, Punct };
    static constexpr int MaxCommentLength = 1000;
    static constexpr int MaxTreatmentLength = 4000;

    struct Row
    {
        QString treatment;
        QString comment;
    };

    TherapyStore(DataModule *data, Table table);
    bool isAvailable() const;

    // The row of a test; none when it has none (or on failure, with `error` set).
    std::optional<Row> load(const QString &client, int codeTest, QString *error = nullptr) const;
    bool saveTreatment(const QString &client, int codeTest, const QString &treatment,
                       QString *error = nullptr);
    // Refuses a comment longer than MaxCommentLength or with characters the base cannot hold.
    bool saveComment(const QString &client, int codeTest, const QString &comment,
                     QString *error = nullptr);
    // The tests of a client whose comment is not blank (for the comment icons).
    QSet<int> commentedTests(const QString &client, QString *error = nullptr) const;
    // The tests of a client with a treatment recorded (an assignment or recipe that is not
    // blank), for marking the sessions of a course.
    QSet<int> treatedTests(const QString &client, QString *error = nullptr) const;

private:
    QString tableName() const;
    // The tests of a client whose `column` is not blank.
    QSet<int> testsWith(const QString &column, const QString &client, QString *error) const;
    bool save(const QString &column, const QString &client, int codeTest, const QString &value,
              QString *error);

    DataModule *m_data;
    Table m_table;
};
