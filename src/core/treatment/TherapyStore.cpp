#include "TherapyStore.h"

#include "common/Cp1251.h"
#include "common/ErrorOut.h"
#include "records/DataModule.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

TherapyStore::TherapyStore(DataModule *data, Table table)
    : m_data(data)
    , m_table(table)
{}

bool TherapyStore::isAvailable() const
{
    return m_data && m_data->isOpen();
}

QString TherapyStore::tableName() const
{
    switch (m_table) {
    case Table::Color:
        return QStringLiteral("COLOR_TREATMENT");
    case Table::Freq:
        return QStringLiteral("FREQ_TREATMENT");
    case Table::Punct:
        break;
    }
    return QStringLiteral("PUNCT_TREATMENT");
}

std::optional<TherapyStore::Row> TherapyStore::load(const QString &client, int codeTest,
                                                    QString *error) const
{
    if (!isAvailable() || client.isEmpty() || codeTest <= 0)
        return std::nullopt;
    QSqlQuery query(m_data->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT TREATMENT, COMMENT FROM ") + tableName()
                  + QStringLiteral(" WHERE UPPER(CODE_CLIENT) = UPPER(?) AND CODE_TEST = ?"));
    query.addBindValue(client.trimmed());
    query.addBindValue(codeTest);
    if (!query.exec()) {
        setError(error, query.lastError().text());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return Row{query.value(0).toString(), query.value(1).toString()};
}

bool TherapyStore::save(const QString &column, const QString &client, int codeTest,
                        const QString &value, QString *error)
{
    if (!isAvailable()) {
        setError(error, QStringLiteral("The database is not open."));
        return false;
    }
    if (client.trimmed().isEmpty() || codeTest <= 0) {
        setError(error, QStringLiteral("No test is chosen."));
        return false;
    }
    QSqlQuery query(m_data->database());
    // `column` is one of two fixed names chosen by this class, never user text.
    query.prepare(QStringLiteral("UPDATE ") + tableName() + QStringLiteral(" SET ") + column
                  + QStringLiteral(" = ? WHERE UPPER(CODE_CLIENT) = UPPER(?) AND CODE_TEST = ?"));
    query.addBindValue(value);
    query.addBindValue(client.trimmed());
    query.addBindValue(codeTest);
    if (!query.exec()) {
        setError(error, query.lastError().text());
        return false;
    }
    if (query.numRowsAffected() > 0)
        return true;
    const bool isComment = column == QLatin1String("COMMENT");
    query.prepare(
        QStringLiteral("INSERT INTO ") + tableName()
        + QStringLiteral(" (CODE_TEST, CODE_CLIENT, TREATMENT, COMMENT) VALUES (?, ?, ?, ?)"));
    query.addBindValue(codeTest);
    query.addBindValue(client.trimmed());
    query.addBindValue(isComment ? QString(QLatin1String("")) : value);
    query.addBindValue(isComment ? value : QString(QLatin1String("")));
    // Outside a transaction of the caller the driver commits at once.
    if (!query.exec()) {
        setError(error, query.lastError().text());
        return false;
    }
    return true;
}

bool TherapyStore::saveTreatment(const QString &client, int codeTest, const QString &treatment,
                                 QString *error)
{
    if (treatment.size() > MaxTreatmentLength || !Cp1251::canEncode(treatment)) {
        setError(error, QStringLiteral("The assignment cannot be stored."));
        return false;
    }
    return save(QStringLiteral("TREATMENT"), client, codeTest, treatment, error);
}

bool TherapyStore::saveComment(const QString &client, int codeTest, const QString &comment,
                               QString *error)
{
    if (comment.size() > MaxCommentLength) {
        setError(error,
                 QStringLiteral("The comment is longer than %1 characters.").arg(MaxCommentLength));
        return false;
    }
    if (!Cp1251::canEncode(comment)) {
        setError(error, QStringLiteral("The comment holds characters the base cannot store."));
        return false;
    }
    return save(QStringLiteral("COMMENT"), client, codeTest, comment, error);
}

QSet<int> TherapyStore::commentedTests(const QString &client, QString *error) const
{
    return testsWith(QStringLiteral("COMMENT"), client, error);
}

QSet<int> TherapyStore::treatedTests(const QString &client, QString *error) const
{
    return testsWith(QStringLiteral("TREATMENT"), client, error);
}

QSet<int> TherapyStore::testsWith(const QString &column, const QString &client,
                                  QString *error) const
{
    QSet<int> tests;
    if (!isAvailable() || client.isEmpty())
        return tests;
    QSqlQuery query(m_data->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT CODE_TEST, ") + column + QStringLiteral(" FROM ")
                  + tableName() + QStringLiteral(" WHERE UPPER(CODE_CLIENT) = UPPER(?)"));
    query.addBindValue(client.trimmed());
    if (!query.exec()) {
        setError(error, query.lastError().text());
        return tests;
    }
    while (query.next())
        if (!query.value(1).toString().trimmed().isEmpty())
            tests.insert(query.value(0).toInt());
    return tests;
}
