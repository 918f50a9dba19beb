// Tests written out for statistics, with the base of the current profile ($XDG_DATA_HOME),
// filled by prepare_base.sh: every client's tests to .xlsx (the figure asked for) and to CSV,
// names included, into a scratch folder.
//
// usage: test_export [runs=3]
#include "app/AppPaths.h"
#include "BenchReport.h"
#include "records/TestExport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <vector>

namespace {

std::vector<double> measure(const TestExport::Request &request, int runs, qint64 *rows)
{
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const TestExport::Result result = TestExport::run(request);
        ms.push_back(timer.nsecsElapsed() / 1e6);
        if (!result.ok) {
            QTextStream(stderr) << "export failed: " << result.error << '\n';
            return {};
        }
        *rows = result.rows;
    }
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
    AppPaths::setInstallFolder(QStringLiteral(VANDREL_BENCH_INSTALL_DIR));
    QTemporaryDir out;
    TestExport::Request request;
    request.basePath = AppPaths::GetDataPath() + QStringLiteral("BASE.fdb");
    request.percent = 10;
    for (const auto format : {TestExport::Format::Xlsx, TestExport::Format::Csv}) {
        const bool xlsx = format == TestExport::Format::Xlsx;
        request.format = format;
        request.target =
            out.filePath(xlsx ? QStringLiteral("tests.xlsx") : QStringLiteral("tests.csv"));
        qint64 rows = 0;
        const std::vector<double> ms = measure(request, runs, &rows);
        if (ms.empty())
            return 1;
        BenchReport::print(QStringLiteral("%1 tests of every client to %2 (%3 MB)")
                               .arg(rows)
                               .arg(xlsx ? QStringLiteral(".xlsx") : QStringLiteral("CSV"))
                               .arg(QFileInfo(request.target).size() / 1e6, 0, 'f', 1),
                           ms, 0);
    }
    return 0;
}
