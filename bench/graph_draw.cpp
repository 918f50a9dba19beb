// Figures of the Ryodoraku evaluation and graphs: the time to build the 24 evaluated, filtered
// and sorted channels of a test, and the time from "a new current test" to graph 1 painted.
// Runs in a temporary profile with a copy of the seed base; prints medians and 90th
// percentiles.
#include "BenchReport.h"
#include "app/AppPaths.h"
#include "app/Session.h"
#include "records/DataModule.h"
#include "records/TestsModel.h"
#include "ryodoraku/ChannelCatalogue.h"
#include "ryodoraku/ChannelResultsBuilder.h"
#include "ryodoraku/GraphicPanel.h"
#include "ryodoraku/TestChart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>


int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir profile;
    qputenv("XDG_DATA_HOME", profile.path().toLocal8Bit());
    QApplication app(argc, argv);
    AppPaths::setInstallFolder(QStringLiteral(VANDREL_BENCH_INSTALL_DIR));
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;

    // buildChannelResults with the shipped catalogue, default toggles.
    const ChannelCatalogue catalogue = ChannelCatalogue::load();
    const TestRecord sample = BenchReport::sampleTest(0);
    std::vector<double> build;
    int shown = 0;
    for (int i = 0; i < runs * 10; ++i) {
        QElapsedTimer timer;
        timer.start();
        const auto cells = buildChannelResults(catalogue, sample, QStringLiteral("10"),
                                               ChannelFilter());
        build.push_back(double(timer.nsecsElapsed()) / 1e6);
        shown += cells ? int(cells->size()) : 0;
    }
    BenchReport::print(QStringLiteral("buildChannelResults"), build, 4);

    // Graph 1 for a new current test, from the session's signal to the chart painted.
    DataModule data;
    if (!BenchReport::openSeedCopy(profile.path(), data))
        return 1;
    QList<int> keys;
    for (int i = 0; i < 2; ++i) {
        TestRecord test = BenchReport::sampleTest(i + 1);
        if (!data.saveTest(test))
            return 1;
        keys.append(test.codeTest);
    }
    TestsModel tests(&data);
    tests.setClient(QStringLiteral("Q71"));
    Session session;
    session.setCurrentClient(QStringLiteral("Q71"));
    session.setCurrentTest(keys.first());
    GraphicPanel page(&data, &session, &tests);
    page.setPercentSource([] { return QStringLiteral("10"); });
    page.resize(1020, 540);
    page.show();
    page.enter();
    QApplication::processEvents();
    std::vector<double> draw;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        session.setCurrentTest(keys.at((i + 1) % 2));
        QApplication::processEvents(); // the chart's own layout pass
        page.chart()->viewport()->repaint();
        draw.push_back(double(timer.nsecsElapsed()) / 1e6);
        QApplication::processEvents();
    }
    BenchReport::print(QStringLiteral("graph 1 for a new test"), draw, 4);
    return shown > 0 ? 0 : 1;
}
