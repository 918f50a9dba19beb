#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class DataModule;

// The stored answer sets of the inquiry questionnaire (table INQUIRER): one row per client,
// date-time and category, RESULT holding the answer string. A set is named by its date-time
// as the date list shows it (dateText()), to the second. Every save is committed at once.
class InquirerRepository
{
public:
    static constexpr int MaxResultLength = 1000; // width of RESULT

    explicit InquirerRepository(DataModule *data);

    // The text a date-time is listed and matched by: "dd.MM.yyyy HH:mm:ss".
    static QString dateText(const QDateTime &moment);
    // The date-time a typed date text names ("dd.MM.yyyy HH:mm:ss", also without seconds or
    // without the time); invalid when the text names none.
    static QDateTime parseDateText(const QString &text);

    // The date texts of one client's answer sets of one category, oldest first. The client
    // code is compared without case.
    QStringList dates(const QString &client, int type, QString *error = nullptr) const;
    // The answer string stored for client, date text and category; nothing when there is none.
    std::optional<QString> result(const QString &client, const QString &dateText, int type,
                                  QString *error = nullptr) const;
    // Stores the answer set: the row of the same client, date text and category is changed,
    // otherwise a row is added. Refuses (false, message in `error`, nothing written) an empty
    // client, an unknown category, an invalid date or a result too long for the column.
    bool save(const QString &client, const QDateTime &moment, int type, const QString &result,
              QString *error = nullptr);

private:
    bool ready(QString *error) const;

    DataModule *m_data;
};
