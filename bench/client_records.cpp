// Figures of the client cards with the base of the current profile ($XDG_DATA_HOME), filled by
// bench/prepare_base.sh (10,000 clients): a name search until the list is painted, and opening
// the clients page until it is painted. Prints medians over the runs. The shared base has
// bench/sync_rounds.sh.
#include "BenchReport.h"
#include "app/AppPaths.h"
#include "app/Session.h"
#include "records/ClientPanel.h"
#include "records/ClientsModel.h"
#include "records/DataModule.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

QTextStream out(stdout);

double median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Runs `prepare` (not timed) then `work` (timed) `runs` times; prints the median.
void measure(const QString &what, int runs, const std::function<void()> &prepare,
             const std::function<bool()> &work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        if (!work()) {
            out << what << ": FAILED\n";
            return;
        }
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    out << what << " (median of " << runs << "): " << QString::number(median(ms), 'f', 1)
        << " ms\n";
    out.flush();
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    AppPaths::setInstallFolder(QStringLiteral(VANDREL_BENCH_INSTALL_DIR));
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5;
    const QString base = AppPaths::GetDataPath() + QStringLiteral("BASE.fdb");

    const int clients = BenchReport::clientCount(base);
    if (clients < 0)
        return 1;
    out << clients << " clients in " << base << "\n";

    DataModule data;
    data.open(base);
    Session session;
    measure(
        QStringLiteral("opening the clients page (list read, first card shown, painted)"), runs * 4,
        [] {},
        [&] {
            ClientPanel page(&data, &session);
            page.resize(1020, 536);
            page.show();
            page.enter();
            page.repaint();
            return page.model()->rowCount() == clients;
        });

    ClientPanel page(&data, &session);
    page.resize(1020, 536);
    page.show();
    QApplication::processEvents();
    auto *edit = page.findChild<QLineEdit *>(QStringLiteral("SearchEdit"));
    auto *list = page.findChild<QTableView *>(QStringLiteral("ClientsList"));
    int found = 0;
    int round = 0;
    measure(
        QStringLiteral("name search to the list shown"), runs * 10,
        [&] {
            // Alternate texts, so every run changes the list.
            edit->setText(round++ % 2 ? QStringLiteral("mar") : QStringLiteral("ан"));
        },
        [&] {
            page.search();
            list->viewport()->repaint();
            page.repaint();
            found = page.model()->rowCount();
            return found > 0;
        });
    out << "(last search found " << found << " clients)\n";
    data.close();
    return 0;
}
