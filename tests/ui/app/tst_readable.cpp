// Every page, sub-page and window as a newcomer meets them, in English and Russian, on the
// smallest screen the program is made for (1020×600, or the same at twice the scale): no
// caption, button, tab, column header or cell cut, no window off the screen, no language key
// where a sentence belongs. VANDREL_SCREENSHOTS saves a picture of each.
#include "DialogRecorder.h"
#include "ReadableCheck.h"
#include "Screenshot.h"
#include "SeedBase.h"
#include "StoredTest.h"
#include "TestEnvironment.h"
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "app/MainWindow.h"
#include "app/PasswordForm.h"
#include "app/StartPassword.h"
#include "app/WorkModes.h"
#include "common/WebEngineSetup.h"
#include "localization/Localization.h"
#include "localization/TFormSelect.h"
#include "localization/TLangFormMain.h"
#include "measure/CorrectForm.h"
#include "records/DataModule.h"
#include "ryodoraku/GraphicPanel.h"
#include "ryodoraku/RidorakuPanel.h"
#include "schedule/MessageTextWindow.h"
#include "schedule/ReminderForm.h"
#include "treatment/BodyForm.h"
#include "treatment/MusicPlayerForm.h"
#include "treatment/TAlgoritmForm.h"
#include "treatment/TLoadFreqForm.h"
#include "treatment/TTreatmentComment.h"
#include "treatment/TreatmentPanel.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace {

// The screen a run is made on, in logical pixels: the smallest the program is made for, or
// another one named by VANDREL_CHECK_SCREEN ("1366x768").
QSize screenOfRun()
{
    const QStringList size = qEnvironmentVariable("VANDREL_CHECK_SCREEN").split(QLatin1Char('x'));
    if (size.size() == 2 && size[0].toInt() > 0 && size[1].toInt() > 0)
        return QSize(size[0].toInt(), size[1].toInt());
    return QSize(1020, 600);
}

// The scale factor of the run, in percent (VANDREL_CHECK_SCALE: 2 or 200 for 200 %).
int scaleOfRun()
{
    const int scale = qEnvironmentVariableIntValue("VANDREL_CHECK_SCALE");
    return scale <= 0 ? 100 : scale < 10 ? scale * 100 : scale;
}

struct Walk
{
    QString language;
    QStringList findings;
    int windows = 0;

    void look(QWidget *window, const QString &name)
    {
        // Let deferred layouts and column sizes land, as a person looks a moment later.
        const QDeadlineTimer settle(60);
        while (!settle.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const QString where = language + QLatin1Char('/') + name;
        ++windows;
        findings += ReadableCheck::findings(window, where);
        saveScreenshot(window, QStringLiteral("readable-%1-%2x%3-%4-").arg(scaleOfRun())
                                   .arg(screenOfRun().width()).arg(screenOfRun().height())
                                   .arg(language) + name);
    }

    // A secondary window, shown on its own as its page would show it.
    void lookAtWindow(QWidget *window, const QString &name)
    {
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        look(window, name);
        window->close();
    }
};

QString clientWithTests(MainWindow &w)
{
    const QString client = addClient(w.dataModule(), QStringLiteral("Anna-Maria"),
                                     QStringLiteral("Konstantinopolskaya"));
    for (int day = 0; day < 3; ++day) {
        const int test = storeTest(w.dataModule(), client,
                                   QDateTime(QDate(2026, 3, 14 + day), QTime(10, 30)),
                                   [day](int i) { return 40 + (i * 37 + day * 11) % 120; });
        if (!test)
            qFatal("the test could not be stored");
        w.session().setCurrentClient(client);
        w.session().setCurrentTest(test);
    }
    return client;
}

} // namespace

class TestReadable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPageAndWindow_data();
    void everyPageAndWindow();
};

void TestReadable::everyPageAndWindow_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QStringLiteral("English");
    QTest::newRow("Russian") << QStringLiteral("Russian");
}

void TestReadable::everyPageAndWindow()
{
    QFETCH(QString, language);
    TestEnvironment env;
    DataFolderSetup::run();
    QVERIFY(Localization::setCurrentLanguage(language));
    DialogRecorder dialogs(QStringLiteral("no"));
    Walk walk{language, {}, 0};

    MainWindow w;
    QVERIFY(w.start());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // A screen no larger than the window: the window fills it.
    if (screenOfRun() == QSize(1020, 600))
        QVERIFY(w.isMaximized());
    walk.look(&w, QStringLiteral("first-start"));
    clientWithTests(w);

    for (const WorkModeInfo &info : WorkModes::buttons()) {
        QTest::mouseClick(w.findChild<QToolButton *>(info.button), Qt::LeftButton);
        walk.look(&w, info.panel);
        // The sub-pages: the meridian analysis, tabs, graph kinds, treatment sub-modes.
        if (auto *cards = w.findChild<RidorakuPanel *>(); cards && cards->isVisible()) {
            cards->AnalLabelClick();
            walk.look(&w, info.panel + QStringLiteral("-analysis"));
        }
        for (QTabWidget *tabs : w.findChildren<QTabWidget *>()) {
            if (!tabs->isVisible())
                continue;
            for (int i = 1; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                walk.look(&w, info.panel + QStringLiteral("-tab") + QString::number(i));
            }
            tabs->setCurrentIndex(0);
        }
        if (auto *graphs = w.findChild<GraphicPanel *>(); graphs && graphs->isVisible()) {
            for (int kind = 2; kind <= GraphicPanel::GraphKinds; ++kind) {
                graphs->showGraph(kind);
                walk.look(&w, info.panel + QStringLiteral("-graph") + QString::number(kind));
            }
        }
        if (auto *treatment = w.findChild<TreatmentPanel *>(); treatment && treatment->isVisible()) {
            treatment->showSubMode(TreatmentPanel::SubMode::Freq);
            walk.look(&w, info.panel + QStringLiteral("-frequencies"));
            treatment->showSubMode(TreatmentPanel::SubMode::Punct);
            walk.look(&w, info.panel + QStringLiteral("-recipes"));
            treatment->showSubMode(TreatmentPanel::SubMode::Color);
        }
    }
    QTest::mouseClick(w.findChild<QToolButton *>(QStringLiteral("ClientsBtn")), Qt::LeftButton);

    // The windows pages open.
    const std::pair<const char *, std::function<QWidget *()>> windows[] = {
        {"password", [&w] { return new PasswordForm(StartPassword(), &w); }},
        {"language-choice",
         [&w] { return new TFormSelect({QStringLiteral("English"), QStringLiteral("Russian")}, &w); }},
        {"language-editor", [&w] { return new TLangFormMain(&w); }},
        {"calibration", [&w] { return new CorrectForm(&w); }},
        {"message-text", [&w] { return new MessageTextWindow(&w); }},
        {"reminders", [&w] { return new ReminderForm(&w); }},
        {"body", [&w] { return new BodyForm(&w); }},
        {"music", [&w] { return new MusicPlayerForm(&w); }},
        {"algorithm",
         [&w] { return new TAlgoritmForm(AppPaths::GetDataPath() + QStringLiteral("Options.ini"), &w); }},
        {"frequency-import", [&w] { return new TLoadFreqForm(&w.dataModule(), &w); }},
        {"treatment-comment",
         [&w] {
             return new TTreatmentComment(&w.dataModule(), TherapyStore::Table::Color,
                                          w.session().currentClient(), w.session().currentTest(), &w);
         }},
    };
    for (const auto &[name, make] : windows) {
        std::unique_ptr<QWidget> window(make());
        walk.lookAtWindow(window.get(), QLatin1String(name));
    }

    qInfo("%s: %d pages and windows looked at, %d findings", qPrintable(language), walk.windows,
          int(walk.findings.size()));
    for (const QString &finding : std::as_const(walk.findings))
        qInfo("%s", qPrintable(finding));
    QVERIFY2(walk.findings.isEmpty(), "see the findings above");
}

int main(int argc, char **argv)
{
    // A screen of exactly the smallest supported size, at the run's scale.
    const double scale = scaleOfRun() / 100.0;
    const QSize screen = screenOfRun();
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(QStringLiteral("{\"screens\": [{\"name\": \"check\", \"x\": 0, \"y\": 0, \"width\": %1,"
                              " \"height\": %2, \"logicalDpi\": 96, \"logicalBaseDpi\": 96,"
                              " \"dpr\": 1}]}")
                   .arg(qRound(screen.width() * scale))
                   .arg(qRound(screen.height() * scale))
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + QFile::encodeName(config));
    if (scale != 1.0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    WebEngineSetup::prepareBeforeApplication();
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-logging");
    QApplication app(argc, argv);
    TestReadable test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_readable.moc"
