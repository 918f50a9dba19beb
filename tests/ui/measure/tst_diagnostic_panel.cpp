// The test page: a whole test measured through the real device library and stored, a lost
// device, and the description of the current point.
#include "../../core/measure/DeviceScript.h"
#include "app/DataFolderSetup.h"
#include "app/DotCatalogue.h"
#include "app/Session.h"
#include "common/Clock.h"
#include "common/IniFile.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "measure/BodyPicture.h"
#include "measure/DeviceLibrary.h"
#include "measure/DeviceSearch.h"
#include "measure/DiagnosticPanel.h"
#include "measure/PointDisplay.h"
#include "measure/PointPicture.h"
#include "measure/ReadingCurve.h"
#include "measure/TestRun.h"
#include "records/DataModule.h"
#include "TestEnvironment.h"

#include <QFrame>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

// Raw readings of the 24 points in the order they are measured.
int rawOf(int position) {
    return 40 + 7 * position;
}

// The shipped order turned round: the last point first. Any complete order must work.
void reverseOrder(IniFile &options) {
    for (int key = 1; key <= 24; ++key) {
        const int shipped = options.readInteger(QStringLiteral("Order"), QString::number(key), 0);
        options.writeString(QStringLiteral("Order"), QString::number(key),
                            QString::number(25 - shipped));
    }
}

void tick(QTimer *timer) {
    QMetaObject::invokeMethod(timer, "timeout");
}

} // namespace

class TestDiagnosticPanel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnvironment>();
        DataFolderSetup::run();
        IniFile options(m_env->dataFolder() + "Options.ini");
        reverseOrder(options);
        // A correction stored earlier applies from the first test.
        options.writeString(QStringLiteral("correct"), QStringLiteral("cal2"), QStringLiteral("3"));
        options.writeString(QStringLiteral("correct"), QStringLiteral("cal"), QStringLiteral("2"));
        QVERIFY(options.save());
        m_order = MeasuringOrder::load(options);

        m_data = std::make_unique<DataModule>();
        QString error;
        QVERIFY2(m_data->open(m_env->dataFolder() + "BASE.fdb", &error), qPrintable(error));
        m_session = std::make_unique<Session>();
        m_session->setCurrentClient(QStringLiteral("C7"));
        m_dots.load(DotCatalogue::defaultPath());
        // The page as the practitioner sees it: English texts, not their keys.
        LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
        Clock::setNow(QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30, 456)));
    }
    void cleanup() {
        delete m_page;
        m_page = nullptr;
        m_search.reset();
        m_device.reset();
        m_script.reset();
        m_data.reset();
        m_session.reset();
        Clock::setNow(QDateTime());
        LanguageApplier::instance().apply(LanguageTexts());
        m_env.reset();
    }

    // 24 points touched in the configured order: one stored test, the graph asked for.
    void wholeTest() {
        QByteArray script = "record calls.txt\n";
        for (int position = 1; position <= 24; ++position)
            script += "frame 6 0 1\nframe 6 " + QByteArray::number(rawOf(position)) + " 16\n";
        makePage(script);
        DialogRecorder dialogs;
        QSignalSpy graph(m_page, &DiagnosticPanel::graphModeRequested);
        QSignalSpy saved(m_page->run(), &TestRun::testSaved);
        auto *testTimer = m_page->findChild<QTimer *>(QStringLiteral("TestTimer"));
        auto *autoNext = m_page->findChild<QTimer *>(QStringLiteral("TimerAutoNext"));
        QVERIFY(testTimer && autoNext);
        QVERIFY(testTimer->isActive());
        QCOMPARE(m_page->run()->currentCell(), (GridCell{5, 4})); // RST comes first now

        for (int guard = 0; guard < 2000 && graph.isEmpty(); ++guard)
            tick(autoNext->isActive() ? autoNext : testTimer);
        QCOMPARE(graph.size(), 1);
        QCOMPARE(saved.size(), 1);
        QVERIFY(!testTimer->isActive());
        QCOMPARE(dialogs.requests().size(), 1);
        QCOMPARE(dialogs.requests().at(0).text,
                 Localization::Translate(QStringLiteral("TestFinished")));

        const QList<TestRecord> tests = m_data->testsOfClient(QStringLiteral("C7"));
        QCOMPARE(tests.size(), 1);
        const TestRecord &test = tests.first();
        QCOMPARE(test.testDate, QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30)));
        QCOMPARE(m_session->selectedTestTime(), test.testDate);
        QCOMPARE(m_session->currentTest(), test.codeTest);
        for (int position = 1; position <= 24; ++position) {
            const QString channel = MeasuringOrder::channelOf(*m_order.cellOf(position));
            QCOMPARE(test.value(channel), ReadingCurve::toValue(quint16(rawOf(position))) + 3);
        }
        // Sound is on in the seed settings: a beep at contact and one at the end of each point.
        QCOMPARE(m_script->recorded().filter(QStringLiteral("SETBEEP")).size(), 48);
    }

    // Leaving halfway never drops the measured points unasked: kept, the test goes on where it
    // stopped; dropped, the next visit starts anew; for another client it always starts anew.
    void leavingHalfway() {
        makePage("");
        DialogRecorder dialogs(QStringLiteral("yes"));
        m_page->leave();
        QVERIFY(dialogs.requests().isEmpty()); // nothing measured: nothing to ask
        m_page->enter();
        const GridCell first{1, 1}, second{2, 1};
        m_page->run()->setCellText(first, QStringLiteral("81"));
        m_page->run()->setCellText(second, QStringLiteral("82"));
        m_page->leave();
        QCOMPARE(dialogs.requests().size(), 1);
        QVERIFY(dialogs.requests().first().text.contains(QStringLiteral("2 of 24")));
        m_page->enter();
        QCOMPARE(m_page->run()->grid().text(first), QStringLiteral("81"));
        QCOMPARE(m_page->measuredPoints(), 2);

        dialogs.setAnswer(QStringLiteral("no"));
        m_page->leave();
        m_page->enter();
        QCOMPARE(m_page->measuredPoints(), 0);

        dialogs.setAnswer(QStringLiteral("yes"));
        m_page->run()->setCellText(first, QStringLiteral("81"));
        m_page->leave();
        m_session->setCurrentClient(QStringLiteral("C8"));
        m_page->enter();
        QCOMPARE(m_page->measuredPoints(), 0);
    }

    // A device lost halfway: the grid keeps its values and the test goes on once it is found.
    void lostDevice() {
        makePage("frame 6 0 1\nframe 6 120 16\nframe 6 0 1\nframe 6 90 5\nlost\n"
                 "frame 6 0 1\nframe 6 100 16\nframe 6 0 1\n");
        QSignalSpy restart(m_page, &DiagnosticPanel::deviceSearchRestartRequested);
        connect(m_page, &DiagnosticPanel::deviceSearchRestartRequested, m_search.get(),
                &DeviceSearch::restartAfterLoss);
        auto *testTimer = m_page->findChild<QTimer *>(QStringLiteral("TestTimer"));
        auto *autoNext = m_page->findChild<QTimer *>(QStringLiteral("TimerAutoNext"));
        while (testTimer->isActive())
            tick(autoNext->isActive() ? autoNext : testTimer);
        QCOMPARE(restart.size(), 1);
        const GridCell first{5, 4};
        QCOMPARE(m_page->run()->grid().text(first),
                 QString::number(ReadingCurve::toValue(120) + 3));
        QCOMPARE(m_page->run()->currentCell(), (GridCell{4, 4}));

        m_search->tick(); // closes the stale connection
        QVERIFY(!testTimer->isActive());
        m_search->tick(); // finds the device again
        QVERIFY(testTimer->isActive());
        for (int i = 0; i < 18; ++i)
            tick(autoNext->isActive() ? autoNext : testTimer);
        QCOMPARE(m_page->run()->grid().text(first),
                 QString::number(ReadingCurve::toValue(120) + 3));
        QCOMPARE(m_page->run()->grid().text({4, 4}),
                 QString::number(ReadingCurve::toValue(100) + 3));
    }

    // With Russian chosen the point is described in Russian, catalogue texts included.
    void russianPointDisplay() {
        LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("Russian")));
        makePage(QByteArray());
        static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
        const QStringList texts = m_page->pointTexts();
        QVERIFY(texts.size() >= 3);
        // The point's name is its international code and transcription; the rest is Russian.
        for (int i = 1; i < texts.size(); ++i)
            QVERIFY2(!texts.at(i).contains(latin), qPrintable(texts.at(i)));
    }

    // The picture, the marker and the texts of the current point; the grid's own rules.
    void currentPointDisplay() {
        IniFile lang(m_env->dataFolder() + "languages/English.lang");
        const QStringList texts = {"Point",    "Point:",   "SymptMer", "Meridian:", "Energy",
                                   "Role:",    "DotLV3_1", "One,",     "DotLV3_2",  "two,",
                                   "DotLV3_3", "",         "DotLV3_4", "four."};
        for (int i = 0; i < texts.size(); i += 2)
            lang.writeString(QStringLiteral("language"), texts[i], texts[i + 1]);
        QVERIFY(lang.save());
        LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
        makePage(QByteArray());
        auto *grid = m_page->findChild<QTableWidget *>(QStringLiteral("DotsGrid1"));
        auto *display = m_page->findChild<PointDisplay *>(QStringLiteral("sPanel1"));
        QVERIFY(grid && display);

        grid->setCurrentCell(4, 2);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(4, 2)).center());
        QCOMPARE(m_page->run()->currentCell(), (GridCell{2, 4}));
        QCOMPARE(display->shownPicture(), QStringLiteral("foot3"));
        QVERIFY(display->picture(QStringLiteral("foot3"))->isVisible());
        QVERIFY(display->picture(QStringLiteral("foot3"))->isLoaded());
        QVERIFY(!display->picture(QStringLiteral("hand1"))->isVisible());
        const DotRecord &dot = m_dots.entry(80);
        QCOMPARE(m_page->pointTexts(),
                 QStringList({QStringLiteral("Point:  ") + dot.name,
                              QStringLiteral("Meridian:  Liver meridian"),
                              QStringLiteral("Role:  Source point; earth (stream) point"),
                              QStringLiteral("One, two, four.")}));

        // The panel made about half as tall as the picture: the marker keeps to the point.
        display->setFixedHeight(238);
        QTest::qWait(0);
        const QRect shown = display->picture(QStringLiteral("foot3"))->geometry();
        QCOMPARE(shown.height(), 230);
        QCOMPARE(display->marker()->pos(),
                 PointPicture::marker(shown, QSize(299, 461), dot.cx, dot.cy));

        // The separator cannot be chosen, arrow keys do not move the cursor.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(3, 3)).center());
        QCOMPARE(m_page->run()->currentCell(), (GridCell{2, 4}));
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->currentRow(), 4);

        // Text held to what a value can be.
        grid->item(4, 2)->setText(QStringLiteral("2050"));
        QCOMPARE(m_page->run()->grid().text({2, 4}), QStringLiteral("20"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(3, 5)).center());
        QCOMPARE(display->shownPicture(), QStringLiteral("hand6"));
        QCOMPARE(m_page->run()->pointIndex(), m_order.orderOf(9, MeasuringOrder::Right));
    }

private:
    void makePage(const QByteArray &script) {
        m_script = std::make_unique<DeviceScript>(*m_env, QStringLiteral("device"), script);
        m_device = std::make_unique<DeviceLibrary>();
        QVERIFY(m_device->load(TestEnvironment::installDir() + "/DeviceData/device1"));
        m_search = std::make_unique<DeviceSearch>(m_device.get());
        m_page = new DiagnosticPanel(m_data.get(), m_session.get(), m_device.get(), m_search.get(),
                                     m_dots);
        m_page->resize(1020, 510);
        m_page->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_page));
        m_search->tick();
        QVERIFY(m_search->isConnected());
        m_page->enter();
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<DataModule> m_data;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<DeviceScript> m_script;
    std::unique_ptr<DeviceLibrary> m_device;
    std::unique_ptr<DeviceSearch> m_search;
    DotCatalogue m_dots;
    MeasuringOrder m_order;
    DiagnosticPanel *m_page = nullptr;
};

QTEST_MAIN(TestDiagnosticPanel)
#include "tst_diagnostic_panel.moc"
