// Time of one switch between two work modes (leave + enter + paint) in the real main window,
// with the base of the current profile ($XDG_DATA_HOME). Prints the median and the 90th
// percentile over the runs.
#include "BenchReport.h"
#include "app/AppPaths.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AppPaths::setInstallFolder(QStringLiteral(VANDREL_BENCH_INSTALL_DIR));
    MainWindow window;
    if (!window.start())
        return 1;
    window.show();
    QApplication::processEvents();

    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;
    const QString modes[] = {QStringLiteral("GraphBtn"), QStringLiteral("ClientsBtn")};
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        window.switchToButton(modes[i % 2]);
        window.repaint(); // paint now, not at the next turn of the event loop
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        QApplication::processEvents();
    }
    BenchReport::print(QStringLiteral("mode switch"), ms);
    window.close();
    return 0;
}
