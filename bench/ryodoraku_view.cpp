// Figures of the Ryodoraku view: the time to show the 24 channel cards of a test (a new date
// chosen, ticks stored and loaded, cards built and painted; and a rebuild with Show), and the
// time to recompute the meridian analysis of a new date and paint it (grab()), page by page.
// Runs in a temporary profile with a copy of the seed base; prints medians and 90th
// percentiles.
#include "BenchReport.h"
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "app/Session.h"
#include "records/DataModule.h"
#include "records/TestsModel.h"
#include "ryodoraku/RidorakuPanel.h"
#include "ryodoraku/TAnalForm.h"
#include "ryodoraku/TRiodoracuFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>


int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir profile;
    qputenv("XDG_DATA_HOME", profile.path().toLocal8Bit());
    QApplication app(argc, argv);
    AppPaths::setInstallFolder(QStringLiteral(VANDREL_BENCH_INSTALL_DIR));
    DataFolderSetup::run();
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;

    DataModule data;
    if (!BenchReport::openSeedCopy(profile.path(), data))
        return 1;
    for (int i = 0; i < 2; ++i) {
        TestRecord test = BenchReport::sampleTest(i + 1);
        if (!data.saveTest(test))
            return 1;
    }
    TestsModel tests(&data);
    tests.setClient(QStringLiteral("Q71"));
    Session session;
    session.setCurrentClient(QStringLiteral("Q71"));
    RidorakuPanel page(&data, &session, &tests);
    page.setPercentSource([] { return QStringLiteral("10"); });
    page.resize(1020, 560);
    page.show();
    page.enter();
    QApplication::processEvents();

    // The cards of a newly chosen date, painted.
    std::vector<double> dateChange, rebuild;
    int cards = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        page.dateList()->setCurrentIndex((i + 1) % 2);
        page.box()->viewport()->repaint();
        dateChange.push_back(double(timer.nsecsElapsed()) / 1e6);
        cards += int(page.cards().size());
        QApplication::processEvents();
    }
    BenchReport::print(QStringLiteral("24 cards for a new date (ticks saved and loaded)"), dateChange);
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        page.ShowSymptomsClick();
        page.box()->viewport()->repaint();
        rebuild.push_back(double(timer.nsecsElapsed()) / 1e6);
        QApplication::processEvents();
    }
    BenchReport::print(QStringLiteral("24 cards rebuilt (Show)"), rebuild);

    // The analysis of a newly chosen date, recomputed and painted, on each of its pages.
    page.AnalLabelClick();
    QApplication::processEvents();
    auto *form = qobject_cast<TAnalForm *>(page.analysisView());
    if (!form)
        return 1;
    std::vector<double> all;
    for (int p = 0; p < form->pages()->count(); ++p) {
        form->pages()->setCurrentIndex(p);
        QApplication::processEvents();
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer timer;
            timer.start();
            page.dateList()->setCurrentIndex((i + 1) % 2);
            const QPixmap picture = form->grab();
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
            cards += picture.isNull() ? 0 : 1;
        }
        all.insert(all.end(), ms.begin(), ms.end());
        BenchReport::print(QStringLiteral("analysis, page %1 (%2)")
                   .arg(p + 1)
                   .arg(TAnalForm::pageName(TAnalForm::Page(p))),
               ms);
    }
    BenchReport::print(QStringLiteral("analysis, all pages"), all);
    return cards > 0 ? 0 : 1;
}
