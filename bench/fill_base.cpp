// Fills a client base with realistic clients and tests, for measuring the program against a
// base of a practice that has worked with it for years.
//
// usage: fill_base <path-to-BASE.fdb> [clients=10000] [tests=100000]
//
// Clients get Latin or Cyrillic names, cities, telephones and birthdays; tests are spread over
// the clients and the last eight years, with 24 values between 20 and 150 around a level of
// the client's own. Rows go in with prepared statements, committed every few thousand rows.
#include "records/Channels.h"
#include "records/ClientKeys.h"
#include "records/DataModule.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int RowsPerTransaction = 4000;

const QStringList &latinNames()
{
    static const QStringList names = {
        QStringLiteral("Anna"),   QStringLiteral("Maria"),  QStringLiteral("Elena"),
        QStringLiteral("Olga"),   QStringLiteral("Sophie"), QStringLiteral("Laura"),
        QStringLiteral("Peter"),  QStringLiteral("John"),   QStringLiteral("Michael"),
        QStringLiteral("Thomas"), QStringLiteral("Martin"), QStringLiteral("Lucas"),
    };
    return names;
}

const QStringList &latinSurnames()
{
    static const QStringList names = {
        QStringLiteral("Miller"),   QStringLiteral("Schmidt"), QStringLiteral("Novak"),
        QStringLiteral("Kowalski"), QStringLiteral("Horvath"), QStringLiteral("Smith"),
        QStringLiteral("Berger"),   QStringLiteral("Dubois"),  QStringLiteral("Rossi"),
    };
    return names;
}

const QStringList &cyrillicNames()
{
    static const QStringList names = {
        QStringLiteral("Анна"),    QStringLiteral("Мария"),   QStringLiteral("Елена"),
        QStringLiteral("Ольга"),   QStringLiteral("Наталья"), QStringLiteral("Татьяна"),
        QStringLiteral("Иван"),    QStringLiteral("Сергей"),  QStringLiteral("Алексей"),
        QStringLiteral("Дмитрий"), QStringLiteral("Андрей"),  QStringLiteral("Юрий"),
    };
    return names;
}

const QStringList &cyrillicSurnames()
{
    static const QStringList names = {
        QStringLiteral("Иванов"),   QStringLiteral("Петров"),  QStringLiteral("Смирнов"),
        QStringLiteral("Кузнецов"), QStringLiteral("Соколов"), QStringLiteral("Попов"),
        QStringLiteral("Лебедев"),  QStringLiteral("Козлов"),  QStringLiteral("Ёлкин"),
    };
    return names;
}

const QStringList &cities()
{
    static const QStringList names = {
        QStringLiteral("Москва"),       QStringLiteral("Санкт-Петербург"),
        QStringLiteral("Новосибирск"),  QStringLiteral("Казань"),
        QStringLiteral("Екатеринбург"), QStringLiteral("Berlin"),
        QStringLiteral("Praha"),        QStringLiteral("Wien"),
        QStringLiteral("Riga"),
    };
    return names;
}

QString pick(const QStringList &list, QRandomGenerator &random)
{
    return list.at(int(random.bounded(qint64(list.size()))));
}

QString phone(QRandomGenerator &random)
{
    return QStringLiteral("+79%1").arg(random.bounded(100000000, 999999999));
}

bool fail(const QString &what, const QSqlQuery &query)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(what), qPrintable(query.lastError().text()));
    return false;
}

// Statements are prepared again in every transaction: the driver binds a prepared statement
// to the transaction that was current when it was prepared.
class Batch
{
public:
    explicit Batch(QSqlDatabase db)
        : m_db(db)
    {
    }
    bool begin() { return m_db.transaction(); }
    bool rowDone()
    {
        if (++m_rows % RowsPerTransaction != 0)
            return true;
        return m_db.commit() && m_db.transaction();
    }
    bool finish() { return m_db.commit(); }
    bool due() const { return m_rows % RowsPerTransaction == 0; }

private:
    QSqlDatabase m_db;
    qint64 m_rows = 0;
};

bool fillClients(QSqlDatabase db, int count, QStringList *codes, QRandomGenerator &random)
{
    const qint64 first = qMax<qint64>(0, ClientKeys::highestUsedNumber(db, {{QStringLiteral("CLIENTS"), QStringLiteral("CODE_CLIENT")}})) + 1;
    const QString sql = QStringLiteral(
        "INSERT INTO CLIENTS (CODE_CLIENT, NAME, SURNAME, BIRTHDAY, WEIGHT, HEIGHT, SEX, CITY, "
        "ADRESS, INDEX1, E_MAIL, TEL1, TEL2, FOTO, DATECREATE, COUNTRY, SKYPETYPE) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const QDate today = QDate::currentDate();
    Batch batch(db);
    if (!batch.begin())
        return false;
    QSqlQuery insert(db);
    for (int i = 0; i < count; ++i) {
        if (batch.due() && !insert.prepare(sql))
            return fail(QStringLiteral("Cannot prepare the client insert"), insert);
        const bool cyrillic = random.bounded(3) != 0;
        const bool female = random.bounded(2) == 0;
        QString name = pick(cyrillic ? cyrillicNames() : latinNames(), random);
        QString surname = pick(cyrillic ? cyrillicSurnames() : latinSurnames(), random);
        if (cyrillic && female)
            surname += QStringLiteral("а");
        const QString code = QStringLiteral("Q7%1").arg(first + i);
        codes->append(code);
        const QDate birthday = QDate(1940, 1, 1).addDays(random.bounded(70 * 365));
        const int height = 150 + int(random.bounded(45));
        insert.addBindValue(code);
        insert.addBindValue(name);
        insert.addBindValue(surname);
        insert.addBindValue(birthday);
        insert.addBindValue(QString::number(height - 100 - 15 + int(random.bounded(30))));
        insert.addBindValue(QString::number(height));
        insert.addBindValue(female ? QStringLiteral("1") : QStringLiteral("0"));
        insert.addBindValue(pick(cities(), random));
        insert.addBindValue(QStringLiteral("ул. Садовая, %1").arg(1 + random.bounded(120)));
        insert.addBindValue(QString::number(100000 + random.bounded(800000)));
        insert.addBindValue(QStringLiteral("client%1@example.org").arg(first + i));
        insert.addBindValue(phone(random));
        insert.addBindValue(random.bounded(4) == 0 ? phone(random) : QString());
        insert.addBindValue(QByteArray("0"));
        insert.addBindValue(today.addDays(-qint64(random.bounded(10 * 365))));
        insert.addBindValue(cyrillic ? QStringLiteral("Россия") : QStringLiteral("Europe"));
        insert.addBindValue(int(random.bounded(2)));
        if (!insert.exec())
            return fail(QStringLiteral("Cannot store client ") + code, insert);
        if (!batch.rowDone())
            return false;
    }
    insert.clear();
    return batch.finish();
}

bool fillTests(QSqlDatabase db, int count, const QStringList &codes, QRandomGenerator &random)
{
    QStringList marks;
    for (int i = 0; i < 3 + Channels::Count; ++i)
        marks.append(QStringLiteral("?"));
    const QString insertSql =
        QStringLiteral("INSERT INTO TESTS (CODE_TEST, CODE_CLIENT, TEST_DATE, ")
        + Channels::names().join(u", ") + QStringLiteral(") VALUES (") + marks.join(u", ")
        + QLatin1Char(')');
    const QString keySql = QStringLiteral("EXECUTE PROCEDURE TEST_PROC");
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 span = qint64(8) * 365 * 24 * 3600;

    Batch batch(db);
    if (!batch.begin())
        return false;
    QSqlQuery key(db);
    QSqlQuery insert(db);
    for (int i = 0; i < count; ++i) {
        if (batch.due() && (!key.prepare(keySql) || !insert.prepare(insertSql)))
            return fail(QStringLiteral("Cannot prepare the test insert"), insert);
        if (!key.exec() || !key.next())
            return fail(QStringLiteral("TEST_PROC"), key);
        // Every client has a level of their own; the channels scatter around it.
        const QString &client = codes.at(int(random.bounded(qint64(codes.size()))));
        const int level = 45 + int(qHash(client) % 60);
        insert.addBindValue(key.value(0).toInt());
        insert.addBindValue(client);
        insert.addBindValue(now.addSecs(-random.bounded(span)));
        for (int c = 0; c < Channels::Count; ++c)
            insert.addBindValue(qBound(20, level + int(random.bounded(61)) - 30, 150));
        if (!insert.exec())
            return fail(QStringLiteral("Cannot store a test"), insert);
        if (!batch.rowDone())
            return false;
    }
    key.clear();
    insert.clear();
    return batch.finish();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 4) {
        std::fprintf(stderr,
                     "usage: fill_base <path-to-BASE.fdb> [clients=10000] [tests=100000]\n");
        return 2;
    }
    bool okClients = true;
    bool okTests = true;
    const int clients = args.size() > 2 ? args.at(2).toInt(&okClients) : 10000;
    const int tests = args.size() > 3 ? args.at(3).toInt(&okTests) : 100000;
    if (!okClients || !okTests || clients < 1 || tests < 0) {
        std::fprintf(stderr, "fill_base: the counts must be whole numbers, clients at least 1\n");
        return 2;
    }

    DataModule data;
    QString error;
    if (!data.open(args.at(1), &error)) {
        std::fprintf(stderr, "fill_base: %s\n", qPrintable(error));
        return 1;
    }
    QRandomGenerator random(20240501);
    QStringList codes;
    QElapsedTimer total;
    total.start();

    QElapsedTimer step;
    step.start();
    if (!fillClients(data.database(), clients, &codes, random))
        return 1;
    std::printf("clients: %d in %lld ms\n", clients, step.elapsed());

    step.restart();
    if (!fillTests(data.database(), tests, codes, random))
        return 1;
    std::printf("tests: %d in %lld ms\n", tests, step.elapsed());

    // What the program does when a client is chosen: the test list and the date list.
    step.restart();
    const int lookups = 50;
    qint64 found = 0;
    for (int i = 0; i < lookups; ++i) {
        const QString &client = codes.at(int(random.bounded(qint64(codes.size()))));
        found += data.testsOfClient(client).size() + data.testDates(client).size();
    }
    std::printf("choosing a client (tests and dates): %.1f ms on average (%lld rows)\n",
                double(step.elapsed()) / lookups, found);
    std::printf("total: %lld ms\n", total.elapsed());
    return 0;
}
