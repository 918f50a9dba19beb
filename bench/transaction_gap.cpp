// What a save cut off by a kill costs later, now that the program never sweeps its bases: the
// transaction it leaves behind keeps the base's oldest-interesting mark where it is, and each
// new transaction then starts with a look at the states of every transaction since.
//
// usage: transaction_gap [transactions=1000000] [runs=5]
//
// Times 1000 reads of one client's tests (each read its own transaction, as in the program) on
// a copy of the seed base: with no transaction left behind, then after a process holding an
// open transaction was killed and `transactions` more were run.
#include "BenchReport.h"

#include "records/DataModule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <cstdio>

namespace {

qint64 gap(const DataModule &data)
{
    QSqlQuery query(data.database());
    query.exec(QStringLiteral("SELECT MON$NEXT_TRANSACTION - MON$OLDEST_TRANSACTION "
                              "FROM MON$DATABASE"));
    return query.next() ? query.value(0).toLongLong() : -1;
}

void measure(DataModule &data, int runs)
{
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 1000; ++i)
            data.testsOfClient(QStringLiteral("Q71"));
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    BenchReport::print(
        QStringLiteral("1000 reads, %1 transactions since the oldest interesting").arg(gap(data)),
        ms, 1);
}

// isql changes the client's tests in a transaction it never commits, and is killed.
bool killHoldingIsql(const QString &path)
{
    QProcess isql;
    isql.start(QStringLiteral("isql-fb"), {"-q", "-user", "SYSDBA", path});
    isql.write("UPDATE TESTS SET LLU = LLU + 1 WHERE CODE_CLIENT = 'Q71';\n"
               "SELECT 'held' FROM RDB$DATABASE;\n");
    QByteArray out;
    while (!out.contains("held") && isql.waitForReadyRead(30000))
        out += isql.readAllStandardOutput();
    isql.kill();
    isql.waitForFinished();
    return out.contains("held");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qint64 transactions = args.size() > 1 ? args.at(1).toLongLong() : 1000000;
    const int runs = args.size() > 2 ? args.at(2).toInt() : 5;

    QTemporaryDir scratch;
    const QString path = scratch.path() + QStringLiteral("/BASE.fdb");
    if (!QFile::copy(QStringLiteral(VANDREL_BENCH_INSTALL_DIR "/Q7/BASE.fdb"), path)
        || !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner)
        // Only to run the many transactions quickly; the reads are timed all the same.
        || QProcess::execute(QStringLiteral("gfix"), {"-user", "SYSDBA", "-write", "async", path})
               != 0) {
        std::fprintf(stderr, "transaction_gap: no scratch copy of the seed base\n");
        return 1;
    }
    DataModule data;
    QString error;
    TestRecord test = BenchReport::sampleTest(0);
    if (!data.open(path, &error) || !data.saveTest(test, &error)) {
        std::fprintf(stderr, "transaction_gap: %s\n", qPrintable(error));
        return 1;
    }
    measure(data, runs);
    data.close();
    if (!killHoldingIsql(path) || !data.open(path, &error)) {
        std::fprintf(stderr, "transaction_gap: no transaction left behind %s\n", qPrintable(error));
        return 1;
    }
    QSqlQuery fill(data.database());
    if (!fill.exec(QStringLiteral("EXECUTE BLOCK AS DECLARE I BIGINT = 0; BEGIN "
                                  "WHILE (I < %1) DO BEGIN "
                                  "IN AUTONOMOUS TRANSACTION DO I = I + 1; END END")
                       .arg(transactions))) {
        std::fprintf(stderr, "transaction_gap: %s\n", qPrintable(fill.lastError().text()));
        return 1;
    }
    measure(data, runs);
    return 0;
}
