// The daily backup with the base of the current profile ($XDG_DATA_HOME), filled by
// prepare_base.sh: the backup by the engine's backup service, then its verification (restored
// with gbak into a scratch file and counted), into a scratch backup folder; then the rebuild of
// the base from a backup of itself that a start makes when the base lies far behind.
//
// usage: backup_bench [runs=3]
#include "app/AppPaths.h"
#include "app/AutoBackup.h"
#include "app/BaseRebuild.h"
#include "BenchReport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
    AppPaths::setInstallFolder(QStringLiteral(VANDREL_BENCH_INSTALL_DIR));
    const QString base = AppPaths::GetDataPath() + QStringLiteral("BASE.fdb");
    std::vector<double> backup, verify, total;
    AutoBackup::Result result;
    qint64 fbkBytes = 0;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir out;
        AutoBackup job(base, out.path());
        QElapsedTimer timer;
        timer.start();
        qint64 checkingAt = -1;
        job.setProgress([&](const QString &, int percent) {
            if (percent >= 50 && checkingAt < 0)
                checkingAt = timer.nsecsElapsed();
        });
        result = job.run();
        const double ms = timer.nsecsElapsed() / 1e6;
        if (!result.ok) {
            QTextStream(stderr) << "backup failed: " << result.error << '\n';
            return 1;
        }
        fbkBytes = QFileInfo(result.entry.baseFilePath()).size();
        backup.push_back(checkingAt / 1e6);
        verify.push_back(ms - checkingAt / 1e6);
        total.push_back(ms);
    }
    const QString what = QStringLiteral("%1 clients, %2 tests, base %3 MB, backup file %4 MB")
                             .arg(result.entry.counts.clients)
                             .arg(result.entry.counts.tests)
                             .arg(QFileInfo(base).size() / 1e6, 0, 'f', 1)
                             .arg(fbkBytes / 1e6, 0, 'f', 1);
    BenchReport::print(QStringLiteral("backup (%1)").arg(what), backup);
    BenchReport::print(QStringLiteral("verification by restore and count"), verify);
    BenchReport::print(QStringLiteral("backup and verification"), total);

    std::vector<double> rebuild;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const BaseRebuild::Result rebuilt = BaseRebuild::run(base);
        if (!rebuilt.ok) {
            QTextStream(stderr) << "rebuild failed: " << rebuilt.error << '\n';
            return 1;
        }
        rebuild.push_back(timer.nsecsElapsed() / 1e6);
    }
    BenchReport::print(
        QStringLiteral("rebuild from a backup of itself, rows of every table compared"), rebuild);
    return 0;
}
