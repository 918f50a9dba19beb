#include "TestExportSource.h"

#include "common/ErrorOut.h"
#include "DataModule.h"
#include "SchemaUpgrade.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QVariant>

namespace {

QAtomicInt g_connections;

// "YYYY-MM-DD HH:MM:SS.ffff" as the base writes a timestamp, kept as the wall-clock time it
// shows (no zone rules applied: an export tells what was stored).
QDateTime storedMoment(const QString &text)
{
    const QStringView t(text);
    auto number = [&t](qsizetype from, qsizetype length) { return t.mid(from, length).toInt(); };
    if (t.size() < 19)
        return QDateTime();
    const QDate day(number(0, 4), number(5, 2), number(8, 2));
    const int tenths = t.size() >= 24 ? number(20, 4) : 0;
    const QTime time(number(11, 2), number(14, 2), number(17, 2), tenths / 10);
    return QDateTime(day, time, Qt::UTC);
}

QString joinedPhones(const QSqlQuery &query, int first)
{
    QStringList phones;
    for (int i = first; i < first + 3; ++i) {
        const QString phone = query.value(i).toString().trimmed();
        if (!phone.isEmpty())
            phones.append(phone);
    }
    return phones.join(QStringLiteral(", "));
}

} // namespace

TestExportSource::TestExportSource(const QString &basePath, const QString &client)
    : m_path(basePath)
    , m_client(client)
    , m_connection(QStringLiteral("vandrel-export-%1").arg(g_connections.fetchAndAddRelaxed(1)))
    , m_none(client.size() > SchemaUpgrade::ClientCodeWidth)
{}

TestExportSource::~TestExportSource()
{
    m_tests.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen()) {
            db.rollback(); // only read
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connection);
}

bool TestExportSource::open(QString *error)
{
    QSqlDatabase db = DataModule::addConnection(m_connection, m_path);
    // One transaction for every read, so the count and the rows agree.
    if (!db.open() || !db.transaction()) {
        setError(
            error,
            QStringLiteral("Cannot open the database %1: %2").arg(m_path, db.lastError().text()));
        return false;
    }
    return true;
}

QString TestExportSource::filter() const
{
    if (m_client.isEmpty())
        return QString();
    return QStringLiteral(" WHERE UPPER(CODE_CLIENT) = UPPER(CAST(? AS VARCHAR(%1)))")
        .arg(SchemaUpgrade::ClientCodeWidth);
}

qint64 TestExportSource::count(QString *error)
{
    if (m_none)
        return 0;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM TESTS") + filter());
    if (!m_client.isEmpty())
        query.addBindValue(m_client);
    if (!query.exec() || !query.next()) {
        setError(error, QStringLiteral("Cannot count the tests: ") + query.lastError().text());
        return -1;
    }
    return query.value(0).toLongLong();
}

QHash<QString, ExportPerson> TestExportSource::people(QString *error)
{
    QHash<QString, ExportPerson> found;
    if (m_none)
        return found;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT CODE_CLIENT, NAME, SURNAME, BIRTHDAY, COUNTRY, CITY, "
                                 "ADRESS, TEL1, TEL2, TEL3, E_MAIL FROM CLIENTS")
                  + filter());
    if (!m_client.isEmpty())
        query.addBindValue(m_client);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the clients: ") + query.lastError().text());
        return found;
    }
    while (query.next()) {
        ExportPerson p;
        p.name = query.value(1).toString();
        p.surname = query.value(2).toString();
        p.birthday = query.value(3).toDate();
        p.country = query.value(4).toString();
        p.city = query.value(5).toString();
        p.address = query.value(6).toString();
        p.phone = joinedPhones(query, 7);
        p.eMail = query.value(10).toString();
        found.insert(query.value(0).toString().toUpper(), p);
    }
    return found;
}

bool TestExportSource::startTests(QString *error)
{
    m_tests = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connection, false));
    m_tests->setForwardOnly(true);
    // The moment comes as text: read as a date-time, every row would ask the local time zone
    // (a file look-up each), which costs more than the rest of the row.
    m_tests->prepare(QStringLiteral("SELECT CODE_TEST, CODE_CLIENT, "
                                    "CAST(TEST_DATE AS VARCHAR(24)), ")
                     + Channels::names().join(u", ") + QStringLiteral(" FROM TESTS") + filter()
                     + QStringLiteral(" ORDER BY CODE_CLIENT, TEST_DATE, CODE_TEST"));
    if (!m_client.isEmpty())
        m_tests->addBindValue(m_client);
    if (!m_tests->exec()) {
        setError(error, QStringLiteral("Cannot read the tests: ") + m_tests->lastError().text());
        return false;
    }
    return true;
}

bool TestExportSource::next(QList<TestRecord> &chunk, int limit, QString *error)
{
    chunk.clear();
    if (m_none)
        return true;
    if (!m_tests && !startTests(error))
        return false;
    // The cursor hands rows over as they are fetched: only one chunk is ever held.
    while (chunk.size() < limit && m_tests->next()) {
        TestRecord test;
        test.codeTest = m_tests->value(0).toInt();
        test.codeClient = m_tests->value(1).toString();
        test.testDate = storedMoment(m_tests->value(2).toString());
        for (int i = 0; i < Channels::Count; ++i)
            test.values[size_t(i)] = m_tests->value(3 + i).toInt();
        chunk.append(test);
    }
    if (m_tests->lastError().isValid()) {
        setError(error, QStringLiteral("Cannot read the tests: ") + m_tests->lastError().text());
        return false;
    }
    return true;
}
