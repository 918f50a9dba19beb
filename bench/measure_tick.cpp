// The test page's sampling through the virtual device with a script, in a fresh profile:
//  - one sampling tick (poll, convert, correct, draw and paint): median and 99th percentile;
//  - the 100 ms cadence of TestTimer over a whole test of 24 points measured in real time
//    while the trace and chart are drawn: lateness of each tick, median, 99th percentile, worst.
// Usage: QT_QPA_PLATFORM=offscreen measure_tick [ticks]   (the whole test takes about 45 s)
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "app/DotCatalogue.h"
#include "app/Session.h"
#include "common/Dialogs.h"
#include "measure/DeviceLibrary.h"
#include "measure/DeviceSearch.h"
#include "measure/DiagnosticPanel.h"
#include "records/DataModule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {

QString percentiles(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const auto at = [&ms](double q) { return ms[std::min(ms.size() - 1, size_t(q * ms.size()))]; };
    return QStringLiteral("median %1 ms, 99th percentile %2 ms, worst %3 ms")
        .arg(at(0.5), 0, 'f', 3)
        .arg(at(0.99), 0, 'f', 3)
        .arg(ms.back(), 0, 'f', 3);
}

void writeScript(const QString &path, int points) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the device script");
    for (int i = 0; i < points; ++i)
        file.write("frame 6 0 1\nframe 6 " + QByteArray::number(60 + (i * 37) % 150) + " 16\n");
}

} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir profile;
    qputenv("XDG_DATA_HOME", profile.path().toUtf8());
    QApplication app(argc, argv);
    AppPaths::setInstallFolder(QStringLiteral(VANDREL_BENCH_INSTALL_DIR));
    DataFolderSetup::run();
    Dialogs::setHandler([](const Dialogs::Request &) { return QStringLiteral("yes"); });
    const int ticks = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 3000;
    const QString script = profile.path() + QStringLiteral("/script.txt");
    writeScript(script, ticks / 17 + 2);
    qputenv("VANDREL_DEVICE_SCRIPT", QFile::encodeName(script));

    DataModule data;
    QString error;
    if (!data.open(AppPaths::GetDataPath() + QStringLiteral("BASE.fdb"), &error))
        qFatal("%s", qPrintable(error));
    Session session;
    session.setCurrentClient(QStringLiteral("BENCH"));
    DotCatalogue dots;
    dots.load(DotCatalogue::defaultPath());
    DeviceLibrary device;
    if (!device.load(QStringLiteral(VANDREL_BENCH_INSTALL_DIR) + QStringLiteral("/DeviceData/device1"),
                     &error))
        qFatal("%s", qPrintable(error));
    DeviceSearch search(&device);
    search.tick();

    DiagnosticPanel page(&data, &session, &device, &search, dots);
    page.resize(1020, 510);
    page.show();
    QApplication::processEvents();
    page.enter();
    auto *testTimer = page.findChild<QTimer *>(QStringLiteral("TestTimer"));
    testTimer->stop();

    // One tick at a time; the same point is measured over and over (no advance).
    std::vector<double> tickMs;
    for (int i = 0; i < ticks; ++i) {
        QElapsedTimer timer;
        timer.start();
        QMetaObject::invokeMethod(testTimer, "timeout");
        // Paints what the tick changed (trace and chart), as the event loop would.
        QApplication::processEvents();
        tickMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    QTextStream out(stdout);
    out << "sampling tick over " << ticks << " ticks: " << percentiles(tickMs) << '\n';
    out.flush();

    // A whole test in real time, the event loop running as in the program.
    writeScript(script, 24);
    search.restartAfterLoss();
    search.tick(); // closes
    search.tick(); // reopens, reading the new script
    page.enter();
    QElapsedTimer clock;
    clock.start();
    std::vector<double> lateness;
    qint64 previous = -1;
    QObject::connect(testTimer, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (previous >= 0)
            lateness.push_back(std::max(0.0, double(now - previous) / 1e6 - 100.0));
        previous = now;
    });
    // The cadence counts between consecutive ticks only; the pauses of the auto-advance and
    // the end message are no ticks of the timer.
    QObject::connect(&page, &DiagnosticPanel::graphModeRequested, &app, &QApplication::quit);
    QObject::connect(page.findChild<QTimer *>(QStringLiteral("TimerAutoNext")), &QTimer::timeout,
                     [&] { previous = -1; });
    QTimer::singleShot(120000, &app, &QApplication::quit);
    app.exec();
    out << "TestTimer cadence over a whole test (" << lateness.size()
        << " intervals, " << QString::number(clock.elapsed() / 1000.0, 'f', 1)
        << " s): lateness " << percentiles(lateness) << '\n';
    out << "tests stored: " << data.testsOfClient(QStringLiteral("BENCH")).size() << '\n';
    return 0;
}
