// The printed report with the base of the current profile ($XDG_DATA_HOME), filled by
// bench/prepare_base.sh: for a client given 100 tests, the report composed (charts drawn),
// loaded in the preview and written as PDF. The first run carries the start of the web
// engine; the later runs are what a practitioner printing again feels.
#include "BenchReport.h"
#include "app/AppPaths.h"
#include "app/Session.h"
#include "common/WebEngineSetup.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "records/DataModule.h"
#include "reports/PrintCatalogue.h"
#include "reports/PrintPanel.h"
#include "reports/ReportFiles.h"
#include "reports/ReportTemplate.h"
#include "reports/TPrintForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>

#include <vector>

namespace {

// Runs the event loop until `done` holds or `ms` pass; false on time out.
bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    WebEngineSetup::prepareBeforeApplication();
    QApplication app(argc, argv);
    AppPaths::setInstallFolder(QStringLiteral(VANDREL_BENCH_INSTALL_DIR));
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5;
    QTextStream out(stdout);
    const QString base = AppPaths::GetDataPath() + QStringLiteral("BASE.fdb");
    const int clients = BenchReport::clientCount(base);
    if (clients < 0)
        return 1;

    DataModule data;
    if (!data.open(base))
        return 1;
    // The client of the report gets 100 tests.
    const QString client = QStringLiteral("Q71");
    {
        QSqlQuery count(data.database());
        count.exec(QStringLiteral("SELECT COUNT(*) FROM TESTS WHERE CODE_CLIENT = 'Q71'"));
        int have = count.next() ? count.value(0).toInt() : 0;
        for (; have < 100; ++have) {
            TestRecord test = BenchReport::sampleTest(have % 28);
            test.testDate = test.testDate.addDays(have);
            data.saveTest(test);
        }
    }
    const QList<TestRecord> tests = data.testsOfClient(client);
    out << clients << " clients; client " << client << " has " << tests.size() << " tests\n";

    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
    Session session;
    session.setCurrentClient(client);
    int newest = 0;
    for (const TestRecord &test : tests)
        newest = qMax(newest, test.codeTest);
    session.setCurrentTest(newest);
    PrintCatalogue catalogue(&data);
    catalogue.setLanguage(QStringLiteral("English"));
    const ReportTemplate page = ReportTemplate::load();
    PrintPanel panel(&data, &session, &catalogue, &page);
    panel.enter();
    QTemporaryDir folder;

    std::vector<double> later;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!panel.composeReport(&error)) {
            out << "composing failed: " << error << "\n";
            return 1;
        }
        const double composed = double(timer.nsecsElapsed()) / 1e6;
        TPrintForm *form = panel.preview();
        bool loaded = false, saved = false, written = false;
        const auto loading = QObject::connect(form, &TPrintForm::reportLoaded, [&loaded] { loaded = true; });
        const auto saving = QObject::connect(form, &TPrintForm::pdfSaved, [&](const QString &, bool ok) {
            saved = true;
            written = ok;
        });
        form->showReport(QUrl::fromLocalFile(ReportFiles::pagePath()));
        const bool shown = waitFor([&loaded] { return loaded; }, 60000);
        const double shownAt = double(timer.nsecsElapsed()) / 1e6;
        if (shown)
            form->savePdf(folder.filePath(QStringLiteral("report%1.pdf").arg(run)));
        const bool done = shown && waitFor([&saved] { return saved; }, 60000) && written;
        QObject::disconnect(loading);
        QObject::disconnect(saving);
        if (!done) {
            out << "the report was not written\n";
            return 1;
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        out << "  composed " << QString::number(composed, 'f', 0) << " ms, shown "
            << QString::number(shownAt - composed, 'f', 0) << " ms, PDF "
            << QString::number(ms - shownAt, 'f', 0) << " ms\n";
        if (run == 0)
            out << "first report, web engine starting: " << QString::number(ms, 'f', 0) << " ms\n";
        else
            later.push_back(ms);
    }
    BenchReport::print(QStringLiteral("report composed, shown and written as PDF again"), later, 0);
    return 0;
}
