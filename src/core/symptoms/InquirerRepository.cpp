#include "InquirerRepository.h"

#include "InquirerCategories.h"
#include "common/ErrorOut.h"
#include "records/DataModule.h"
#include "records/SchemaUpgrade.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
constexpr int kClientWidth = SchemaUpgrade::ClientCodeWidth;

// Rows of one client and category; the client's code is compared without case (codes typed
// on another workstation may differ in case), the category as the trimmed digit text.
QString ownRows()
{
    return QStringLiteral("UPPER(ID) = UPPER(CAST(? AS VARCHAR(%1))) AND TRIM(INQTYPE) = ?")
        .arg(kClientWidth);
}

QDateTime toSecond(const QDateTime &moment)
{
    QDateTime s = moment;
    s.setTime(QTime(moment.time().hour(), moment.time().minute(), moment.time().second()));
    return s;
}
} // namespace

InquirerRepository::InquirerRepository(DataModule *data)
    : m_data(data)
{
}

QString InquirerRepository::dateText(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QDateTime InquirerRepository::parseDateText(const QString &text)
{
    const QString t = text.simplified();
    for (const char *format : {"dd.MM.yyyy HH:mm:ss", "d.M.yyyy H:m:s", "dd.MM.yyyy HH:mm",
                               "d.M.yyyy H:m"}) {
        const QDateTime moment = QDateTime::fromString(t, QLatin1String(format));
        if (moment.isValid())
            return moment;
    }
    const QDate day = QDate::fromString(t, QStringLiteral("d.M.yyyy"));
    return day.isValid() ? QDateTime(day, QTime(0, 0)) : QDateTime();
}

bool InquirerRepository::ready(QString *error) const
{
    if (m_data && m_data->isOpen())
        return true;
    setError(error, QStringLiteral("The database is not open."));
    return false;
}

QStringList InquirerRepository::dates(const QString &client, int type, QString *error) const
{
    QStringList list;
    if (!ready(error) || client.isEmpty() || client.size() > kClientWidth
        || !InquirerCategories::isValid(type))
        return list;
    QSqlQuery query(m_data->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT INQDATE FROM INQUIRER WHERE ") + ownRows()
                  + QStringLiteral(" ORDER BY INQDATE"));
    query.addBindValue(client);
    query.addBindValue(QString::number(type));
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the answer sets: ") + query.lastError().text());
        return list;
    }
    while (query.next()) {
        const QString text = dateText(query.value(0).toDateTime());
        // Two rows within one second read as one entry: the entry names them both.
        if (!text.isEmpty() && !list.contains(text))
            list.append(text);
    }
    return list;
}

std::optional<QString> InquirerRepository::result(const QString &client, const QString &dateText,
                                                  int type, QString *error) const
{
    if (!ready(error))
        return std::nullopt;
    const QDateTime moment = parseDateText(dateText);
    if (client.isEmpty() || client.size() > kClientWidth || !InquirerCategories::isValid(type)
        || !moment.isValid())
        return std::nullopt;
    const QDateTime from = toSecond(moment);
    QSqlQuery query(m_data->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT RESULT FROM INQUIRER WHERE ") + ownRows()
                  + QStringLiteral(" AND INQDATE >= ? AND INQDATE < ? ORDER BY INQDATE"));
    query.addBindValue(client);
    query.addBindValue(QString::number(type));
    query.addBindValue(from);
    query.addBindValue(from.addSecs(1));
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the answer set: ") + query.lastError().text());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return query.value(0).toString().trimmed();
}

bool InquirerRepository::save(const QString &client, const QDateTime &moment, int type,
                              const QString &result, QString *error)
{
    if (!ready(error))
        return false;
    if (client.isEmpty() || client.size() > kClientWidth) {
        setError(error, QStringLiteral("No client is chosen."));
        return false;
    }
    if (!InquirerCategories::isValid(type)) {
        setError(error, QStringLiteral("Unknown category %1.").arg(type));
        return false;
    }
    if (!moment.isValid()) {
        setError(error, QStringLiteral("The answer set has no valid date."));
        return false;
    }
    if (result.isEmpty() || result.size() > MaxResultLength) {
        setError(error, QStringLiteral("The answers do not fit the %1 characters the base keeps.")
                            .arg(MaxResultLength));
        return false;
    }
    const QDateTime stored = toSecond(moment);

    // Saving again under the same date and category changes that set instead of adding one.
    QSqlQuery update(m_data->database());
    update.prepare(QStringLiteral("UPDATE INQUIRER SET ID = ?, INQDATE = ?, INQTYPE = ?, RESULT = ? "
                                  "WHERE ")
                   + ownRows() + QStringLiteral(" AND INQDATE >= ? AND INQDATE < ?"));
    update.addBindValue(client);
    update.addBindValue(stored);
    update.addBindValue(QString::number(type));
    update.addBindValue(result);
    update.addBindValue(client);
    update.addBindValue(QString::number(type));
    update.addBindValue(stored);
    update.addBindValue(stored.addSecs(1));
    // Outside a caller's transaction the driver commits each statement at once.
    if (!update.exec()) {
        setError(error, QStringLiteral("Cannot store the answers: ") + update.lastError().text());
        return false;
    }
    if (update.numRowsAffected() > 0)
        return true;

    QSqlQuery insert(m_data->database());
    insert.prepare(QStringLiteral("INSERT INTO INQUIRER (ID, INQDATE, INQTYPE, RESULT) "
                                  "VALUES (?, ?, ?, ?)"));
    insert.addBindValue(client);
    insert.addBindValue(stored);
    insert.addBindValue(QString::number(type));
    insert.addBindValue(result);
    if (!insert.exec()) {
        setError(error, QStringLiteral("Cannot store the answers: ") + insert.lastError().text());
        return false;
    }
    return true;
}
