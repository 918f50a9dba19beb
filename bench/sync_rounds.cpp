// Figures of the shared client base with the base of the current profile ($XDG_DATA_HOME),
// filled by bench/prepare_base.sh: the first round of that installation (it joins a new shared
// base and brings every card), the first round of a second, empty installation (it takes every
// card), a round with nothing changed, and a round after 100 cards changed on the other
// workstation. Prints medians over the runs and the peak memory of the process.
#include "BenchReport.h"
#include "app/AppPaths.h"
#include "records/ClientRepository.h"
#include "records/ClientSync.h"
#include "records/DataModule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <vector>

namespace {

QTextStream out(stdout);

QString peakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return QString::fromLatin1(line.mid(6).trimmed());
    return QStringLiteral("?");
}

bool fresh(const QString &seed, const QString &path)
{
    QFile::remove(path);
    return QFile::copy(seed, path)
           && QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    AppPaths::setInstallFolder(QStringLiteral(VANDREL_BENCH_INSTALL_DIR));
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5;
    const QString folder = AppPaths::GetDataPath();
    const QString baseA = folder + QStringLiteral("BASE.fdb");
    const QString baseB = folder + QStringLiteral("SECOND.fdb");
    ClientSync::Target target;
    target.database = folder + QStringLiteral("Uniform-bench.fdb");
    if (!fresh(ClientSync::seedPath(), target.database)
        || !fresh(AppPaths::installFile(QStringLiteral("Q7/BASE.fdb")), baseB)) {
        out << "cannot copy the seed bases\n";
        return 1;
    }
    ClientSync::Target targetA = target;
    targetA.workstation = QStringLiteral("A");
    ClientSync::Target targetB = target;
    targetB.workstation = QStringLiteral("B");

    const int clients = BenchReport::clientCount(baseA);
    if (clients < 0)
        return 1;
    out << clients << " clients in " << baseA << "\n";
    out.flush();

    auto timed = [](ClientSync &sync) {
        QElapsedTimer timer;
        timer.start();
        const bool ok = sync.runRound();
        return ok ? double(timer.nsecsElapsed()) / 1e6 : -1.0;
    };

    {
        ClientSync a(baseA, targetA);
        int calls = 0;
        a.setProgress([&calls](int, int) { ++calls; });
        const double ms = timed(a);
        out << "first round of the filled installation, " << a.stats().pushed
            << " cards up to a new shared base: " << QString::number(ms, 'f', 0) << " ms ("
            << calls << " progress reports) " << a.lastError() << "\n";
        out.flush();
    }
    {
        ClientSync b(baseB, targetB);
        int calls = 0;
        b.setProgress([&calls](int, int) { ++calls; });
        const double ms = timed(b);
        out << "first round of a new installation, " << b.stats().pulled
            << " cards taken: " << QString::number(ms, 'f', 0) << " ms (" << calls
            << " progress reports) " << b.lastError() << "\n";
        out.flush();
    }
    std::vector<double> idle;
    for (int i = 0; i < runs; ++i) {
        ClientSync b(baseB, targetB);
        idle.push_back(timed(b));
    }
    BenchReport::print(QStringLiteral("round with nothing changed"), idle, 1);

    std::vector<double> changed;
    DataModule dataA;
    dataA.open(baseA);
    QStringList keys;
    for (const ClientListEntry &entry : ClientRepository(&dataA).list())
        keys.append(entry.code);
    int pulled = 0;
    for (int i = 0; i < runs; ++i) {
        ClientRepository repo(&dataA);
        for (int k = 0; k < 100; ++k) {
            const QString key = keys.at((i * 977 + k * 89) % keys.size());
            const ClientCard before = *repo.card(key);
            ClientCard after = before;
            after.tel3 = QStringLiteral("%1-%2").arg(i).arg(k);
            repo.updateCard(after, ClientRepository::keepPhoto(), nullptr, &before);
        }
        ClientSync a(baseA, targetA);
        a.runRound();
        ClientSync b(baseB, targetB);
        changed.push_back(timed(b));
        pulled = b.stats().pulled;
    }
    BenchReport::print(QStringLiteral("round after 100 cards changed on the other workstation (%1 "
                                      "taken)")
                           .arg(pulled),
                       changed, 1);
    out << "peak memory of this process: " << peakMemory() << "\n";
    dataA.close();
    QFile::remove(baseB);
    QFile::remove(target.database);
    return 0;
}
