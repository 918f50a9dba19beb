// The treatment page as the practitioner uses it with a client in front of them: the colour
// sub-mode first, the tabs by mouse and keyboard, colours and frequencies played through the
// real device library (the virtual device records every call), the power rules, assignments
// kept per test, the comment icons, the frequency import, and the page in English and Russian.
#include "../../core/measure/DeviceScript.h"
#include "../../core/records/RecordsTestSupport.h"
#include "app/DataFolderSetup.h"
#include "app/Session.h"
#include "ChildWidget.h"
#include "common/IniFile.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "measure/DeviceLibrary.h"
#include "Options.h"
#include "records/DataModule.h"
#include "records/FreqDesRepository.h"
#include "records/TestsModel.h"
#include "TestEnvironment.h"
#include "treatment/ColorPanel.h"
#include "treatment/ColorSwatch.h"
#include "treatment/FreqPanel.h"
#include "treatment/TAlgoritmForm.h"
#include "treatment/TherapyStore.h"
#include "treatment/TLoadFreqForm.h"
#include "treatment/TreatmentPanel.h"
#include "treatment/TreatmentTab.h"
#include "treatment/TTreatmentComment.h"
#include "treatment/TTreatmentFrame.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

using namespace RecordsTestSupport;
using Table = TherapyStore::Table;

class TestTreatmentPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void opensOnColourAndSwitchesTabs();
    void coloursReachTheDevice();
    void frequenciesReachTheDeviceWithTheirPowerAndStopWithTheirDisease();
    void ruleWindowRefusesAndStoresAtOnce();
    void assignmentsStayWithTheirTest();
    void commentSwitchesTheIcon();
    void importRefusesAMalformedFile();

private:
    template <typename T> T *get(const char *name) const { return child<T>(m_page, name); }
    // Answers the comment window about to open: notes the text it showed, types `typed`, presses
    // `button`.
    void answerComment(QString *shown, const QString &typed, const QString &button)
    {
        QTimer::singleShot(0, this, [shown, typed, button] {
            auto *dialog = qobject_cast<TTreatmentComment *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            *shown = dialog->text();
            dialog->findChild<QPlainTextEdit *>(QStringLiteral("CommentText"))->setPlainText(typed);
            QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
        });
    }
    // What the base holds for a test of the client in the sub-mode's table.
    auto kept(Table table, int test) const
    {
        return TherapyStore(m_data, table).load(QStringLiteral("Q71"), test);
    }
    // What the device was told to emit.
    QStringList calls() const
    {
        QStringList lines = m_script->recorded();
        lines.removeIf([](const QString &line) { return !line.startsWith(QLatin1String("SET")); });
        return lines;
    }

    TestEnvironment *m_env = nullptr;
    DeviceScript *m_script = nullptr;
    DataModule *m_data = nullptr;
    TestsModel *m_tests = nullptr;
    Session *m_session = nullptr;
    DeviceLibrary *m_device = nullptr;
    TreatmentPanel *m_page = nullptr;
    QList<int> m_keys; // newest first
};

void TestTreatmentPanel::init()
{
    m_env = new TestEnvironment;
    DataFolderSetup::run();
    // Two power rules: up to 10 Hz at 30 %, from 10 to 20 Hz at 60 %.
    for (const auto &[key, value] :
         {std::pair{"count", "2"}, {"1", "1#10#30#"}, {"2", "10#20#60#"}})
        QVERIFY(setOption("Algoritm", key, value));
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
    m_script = new DeviceScript(*m_env, QStringLiteral("device"), "record calls.txt\n");
    m_data = new DataModule;
    QString error;
    QVERIFY2(m_data->open(copySeedBase(*m_env), &error), qPrintable(error));
    m_keys.clear();
    for (int day = 1; day <= 3; ++day) {
        TestRecord test =
            makeTest(QStringLiteral("Q71"), QDateTime(QDate(2024, 3, day), QTime(9, 30)));
        for (int i = 0; i < Channels::Count; ++i)
            test.values[size_t(i)] = 60 + (i * 11 + day * 7) % 45;
        QVERIFY(m_data->saveTest(test));
        m_keys.prepend(test.codeTest);
    }
    m_tests = new TestsModel(m_data);
    m_tests->setClient(QStringLiteral("Q71"));
    m_session = new Session;
    m_session->setCurrentClient(QStringLiteral("Q71"));
    m_device = new DeviceLibrary;
    QVERIFY(m_device->load(TestEnvironment::installDir() + QStringLiteral("/DeviceData/device1")));
    QVERIFY(m_device->open()); // reads this test's script
    m_page = new TreatmentPanel(m_data, m_session, m_tests, m_device);
    m_page->resize(1280, 640);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page));
}

void TestTreatmentPanel::cleanup()
{
    delete m_page;
    delete m_device;
    delete m_session;
    delete m_tests;
    delete m_data;
    delete m_script;
    delete m_env;
}

void TestTreatmentPanel::opensOnColourAndSwitchesTabs()
{
    QSignalSpy entering(m_page, &TreatmentPanel::entering);
    auto *punct = new QLabel(QStringLiteral("acupuncture"));
    punct->setObjectName(QStringLiteral("PunctPanel"));
    m_page->setPunctPanel(punct);
    QCOMPARE(m_page->findChildren<QWidget *>(QStringLiteral("PunctPanel")).size(), 1);

    m_page->showSubMode(TreatmentPanel::SubMode::Freq);
    m_page->enter();
    QCOMPARE(entering.count(), 1);
    QVERIFY(get<ColorPanel>("ColorPanel")->isVisible());
    QVERIFY(get<TreatmentTab>("ColorLabel")->isActive());
    // The newest test is shown; the session learns it.
    QCOMPARE(m_page->selectedTest(), m_keys.first());
    QCOMPARE(m_session->currentTest(), m_keys.first());

    // The grid maps channels by name: row 4 is the liver, whatever the column order of TESTS.
    const TestRecord &test = m_tests->testAt(0);
    auto *grid = get<QTableWidget>("MeridianGrid");
    QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("LV"));
    QCOMPARE(grid->item(3, 1)->text(), QStringLiteral("Liver"));
    QCOMPARE(grid->item(3, 2)->text(), QString::number(test.value(QStringLiteral("LLV"))));
    QCOMPARE(grid->item(11, 5)->text(), QString::number(test.value(QStringLiteral("RBL"))));
    auto *freqGrid = get<QTableWidget>("RightFreqGrid");
    QCOMPARE(freqGrid->item(11, 0)->text(), QStringLiteral("RST"));
    QCOMPARE(freqGrid->item(11, 2)->text(), QStringLiteral("Stomach"));

    QTest::mouseClick(get<TreatmentTab>("FreqLabel"), Qt::LeftButton);
    QVERIFY(get<FreqPanel>("FreqPanel")->isVisible());
    QVERIFY(!get<TreatmentTab>("ColorLabel")->isActive());
    auto *punktTab = get<TreatmentTab>("PunktLabel");
    punktTab->setFocus();
    QTest::keyClick(punktTab, Qt::Key_Space);
    QVERIFY(punct->isVisible());
    QVERIFY(punktTab->isActive());
    QSignalSpy leaving(m_page, &TreatmentPanel::leaving);
    m_page->leave();
    QCOMPARE(leaving.count(), 1);
}

void TestTreatmentPanel::coloursReachTheDevice()
{
    m_page->enter();
    ColorPanel *colors = m_page->colorPanel();
    // LU left gets red in its first slot; PC left (the next channel) is never given a colour.
    QTest::mouseClick(get<ColorSwatch>("ML_1"), Qt::LeftButton);
    QTest::mouseClick(get<ColorSwatch>("Shape20"), Qt::LeftButton);
    QCOMPARE(colors->assignment().slot(1), QColor(255, 0, 0));
    QCOMPARE(get<ColorSwatch>("ML_1")->color(), QColor(255, 0, 0));
    get<QSpinBox>("TaskSec")->setValue(2);
    get<QSlider>("Color_Freq")->setValue(7);
    QVERIFY(get<QCheckBox>("AutoNextTreat")->isChecked());
    QTest::mouseClick(get<QPushButton>("PlayTaskButton"), Qt::LeftButton);
    QVERIFY(colors->sequence().isPlaying());
    QVERIFY(get<ColorSwatch>("ML_1")->isPlaying());
    for (int s = 0; s < 5; ++s)
        colors->sequence().tick();
    QCOMPARE(get<QLabel>("TaskTimeLabel")->text(), QStringLiteral("0:00:00"));
    QTest::mouseClick(get<QPushButton>("StopTaskButton"), Qt::LeftButton);
    QCOMPARE(calls(), QStringList({"SETCOLOR 255 0 0 7", "SETCOLOR 255 0 0 7", // LLU
                                   "SETCOLOR 0 0 0 7", "SETCOLOR 0 0 0 7",     // LPC, unset
                                   "SETCOLOR 0 0 0 0"}));
    QVERIFY(!get<ColorSwatch>("ML_2")->isPlaying());

    // The palette sender plays palette colours from the chosen one; leaving the mode stops it.
    QTest::mouseClick(get<ColorSwatch>("Shape29"), Qt::LeftButton);
    QTest::mouseClick(get<QPushButton>("SendPlay"), Qt::LeftButton);
    colors->sender().tick();
    m_page->leave();
    QVERIFY(!colors->sender().isPlaying());
    QCOMPARE(calls().mid(5), QStringList({"SETCOLOR 255 0 229 7", "SETCOLOR 0 0 0 0"}));
}

void TestTreatmentPanel::frequenciesReachTheDeviceWithTheirPowerAndStopWithTheirDisease()
{
    FreqDesRepository repo(m_data);
    QCOMPARE(repo.addDisease(QStringLiteral("Migraine")), FreqDesRepository::AddResult::Added);
    QVERIFY(repo.setFrequencies(QStringLiteral("Migraine"),
                                {QStringLiteral("12.5"), QStringLiteral("10")}));
    QCOMPARE(repo.addDisease(QStringLiteral("Third")), FreqDesRepository::AddResult::Added);
    QVERIFY(
        repo.setFrequencies(QStringLiteral("Third"), {QStringLiteral("1"), QStringLiteral("2")}));
    QCOMPARE(repo.addDisease(QStringLiteral("Typo")), FreqDesRepository::AddResult::Added);
    QVERIFY(repo.setFrequencies(QStringLiteral("Typo"), {QStringLiteral("1O")}));
    DialogRecorder dialogs;
    m_page->enter();
    m_page->showSubMode(TreatmentPanel::SubMode::Freq);
    FreqPanel *freq = m_page->freqPanel();
    auto *diseases = get<QListWidget>("DeseaseList");
    QCOMPARE(diseases->count(), 3);
    get<QLineEdit>("DeseaseEdit")->setText(QStringLiteral("migr"));
    QTest::mouseClick(get<QPushButton>("DeseaseFoundBtn"), Qt::LeftButton);
    QCOMPARE(diseases->count(), 1);
    QCOMPARE(get<QListWidget>("FreqList")->count(), 2);

    get<QToolButton>("AlgoritmOn")->setChecked(true);
    get<QSpinBox>("FreqSec")->setValue(2);
    QTest::mouseClick(get<QPushButton>("FreqPlay"), Qt::LeftButton);
    QCOMPARE(get<QLineEdit>("FreqFreq")->text(), QStringLiteral("12.5"));
    for (int s = 0; s < 8; ++s)
        freq->player().tick();
    QCOMPARE(calls(), QStringList({"SETFQ 60 12.5", "SETFQ 60 12.5", "SETFQ 30 10", "SETFQ 30 10",
                                   "SETFQ 0 0"}));
    QCOMPARE(get<QSlider>("PowerBar")->value(), 30);
    QCOMPARE(get<QSpinBox>("PowerEdit")->value(), 30);
    QCOMPARE(dialogs.requests().size(), 1); // "Treatment is completed", once
    QCOMPARE(dialogs.requests().first().text, QStringLiteral("Treatment is completed"));

    // A frequency that is not a number is refused with a message; nothing reaches the device.
    dialogs.clear();
    get<QLineEdit>("DeseaseEdit")->clear();
    QTest::mouseClick(get<QPushButton>("DeseaseFoundBtn"), Qt::LeftButton);
    diseases->setCurrentRow(2);
    QCOMPARE(diseases->currentItem()->text(), QStringLiteral("Typo"));
    QTest::mouseClick(get<QPushButton>("FreqPlay"), Qt::LeftButton);
    QVERIFY(!freq->player().isPlaying());
    QCOMPARE(dialogs.requests().size(), 1);
    QVERIFY(dialogs.requests().first().text.contains(QStringLiteral("1O")));
    QCOMPARE(calls().size(), 5);

    // The per-channel table: unset channels are passed over, the hand-set power is used.
    get<QToolButton>("AlgoritmOn")->setChecked(false);
    get<QSpinBox>("PowerEdit")->setValue(25);
    get<QCheckBox>("UseTable")->setChecked(true);
    get<QDoubleSpinBox>("LE3")->setValue(7.83);
    get<QDoubleSpinBox>("RE12")->setValue(128);
    get<QSpinBox>("FreqSec")->setValue(1);
    dialogs.clear();
    QTest::mouseClick(get<QPushButton>("FreqPlay"), Qt::LeftButton);
    for (int s = 0; s < 6; ++s)
        freq->player().tick();
    QCOMPARE(calls().mid(5), QStringList({"SETFQ 25 7.83", "SETFQ 25 128", "SETFQ 0 0"}));

    // Another disease chosen while the second frequency plays: the play stops at once, and
    // nothing of the new list reaches the device until it is started.
    get<QCheckBox>("UseTable")->setChecked(false);
    get<QSpinBox>("FreqSec")->setValue(2);
    diseases->setCurrentRow(0);
    QCOMPARE(diseases->currentItem()->text(), QStringLiteral("Migraine"));
    dialogs.clear();
    QTest::mouseClick(get<QPushButton>("FreqPlay"), Qt::LeftButton);
    for (int s = 0; s < 4; ++s)
        freq->player().tick();
    QCOMPARE(get<QLineEdit>("FreqFreq")->text(), QStringLiteral("10"));
    const int before = int(calls().size());
    QVERIFY2(calls().last().endsWith(QStringLiteral(" 10")), qPrintable(calls().last()));
    diseases->setCurrentRow(1);
    QVERIFY(!freq->player().isPlaying());
    for (int s = 0; s < 6; ++s)
        freq->player().tick();
    for (const QString &call : calls().mid(before))
        QCOMPARE(call, QStringLiteral("SETFQ 0 0"));
    QVERIFY(dialogs.requests().isEmpty());
    QTest::mouseClick(get<QPushButton>("FreqPlay"), Qt::LeftButton);
    QCOMPARE(get<QLineEdit>("FreqFreq")->text(), QStringLiteral("1"));
    freq->player().tick();
    QVERIFY2(calls().last().endsWith(QStringLiteral(" 1")), qPrintable(calls().last()));
}

void TestTreatmentPanel::ruleWindowRefusesAndStoresAtOnce()
{
    DialogRecorder dialogs;
    const QString path = m_env->dataFolder() + QStringLiteral("Options.ini");
    TAlgoritmForm form(path);
    QCOMPARE(form.rules().rules().size(), 2);
    form.findChild<QSpinBox *>(QStringLiteral("FromEdit"))->setValue(40);
    form.findChild<QSpinBox *>(QStringLiteral("ToEdit"))->setValue(40);
    QVERIFY(!form.addRule());
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(form.rules().rules().size(), 2);
    form.findChild<QSpinBox *>(QStringLiteral("ToEdit"))->setValue(80);
    form.findChild<QSpinBox *>(QStringLiteral("PercentEdit"))->setValue(90);
    QVERIFY(form.addRule());
    QCOMPARE(form.findChild<QListWidget *>(QStringLiteral("AlgoritmList"))->currentItem()->text(),
             QStringLiteral("40-80 Hz=90 %"));
    // Written before the window closes: a crash or power cut keeps the rule.
    QCOMPARE(PowerRules::load(IniFile(path)).powerFor(50), 90);
    form.findChild<QListWidget *>(QStringLiteral("AlgoritmList"))->setCurrentRow(0);
    form.deleteRule();
    QCOMPARE(PowerRules::load(IniFile(path)).rules().size(), 2);
    QCOMPARE(PowerRules::load(IniFile(path)).powerFor(5), 0);
}

void TestTreatmentPanel::assignmentsStayWithTheirTest()
{
    m_page->enter();
    QTest::mouseClick(get<ColorSwatch>("FR_4"), Qt::LeftButton); // RLV, second slot
    QTest::mouseClick(get<ColorSwatch>("Shape24"), Qt::LeftButton);
    get<QDoubleSpinBox>("LE1")->setValue(7.83);

    // Choosing another date saves the first test's assignments and clears the shapes.
    TTreatmentFrame *second = m_page->colorPanel()->dateList()->row(m_keys.at(1));
    QTest::mouseClick(second->findChild<QLabel *>(QStringLiteral("Date")), Qt::LeftButton);
    QCOMPARE(m_page->selectedTest(), m_keys.at(1));
    QVERIFY(second->isSelected());
    QVERIFY(!m_page->colorPanel()->dateList()->row(m_keys.at(0))->isSelected());
    QVERIFY(m_page->freqPanel()->dateList()->row(m_keys.at(1))->isSelected());
    QCOMPARE(get<ColorSwatch>("FR_4")->color(), QColor(Qt::black));
    QCOMPARE(get<QDoubleSpinBox>("LE1")->value(), 0.0);
    const auto stored = kept(Table::Color, m_keys.at(0));
    QVERIFY(stored);
    QVERIFY(stored->treatment.startsWith(QStringLiteral("0/0/0/")));
    QVERIFY(
        stored->treatment.contains(QStringLiteral("0/0/0/82/181/42/"))); // RLV: second slot only

    // Unchanged assignments write nothing: the second test gets no rows.
    m_page->leave();
    QVERIFY(!kept(Table::Color, m_keys.at(1)));

    // Coming back (the session chose the first test meanwhile) shows what was assigned.
    m_session->setCurrentTest(m_keys.at(0));
    m_page->enter();
    QCOMPARE(m_page->selectedTest(), m_keys.at(0));
    QCOMPARE(get<ColorSwatch>("FR_4")->color(), QColor(82, 181, 42));
    QCOMPARE(get<QDoubleSpinBox>("LE1")->value(), 7.83);

    // A test chosen on another page while the mode is active is followed.
    m_session->setCurrentTest(m_keys.at(2));
    QCOMPARE(m_page->selectedTest(), m_keys.at(2));

    // A damaged stored row is shown empty with a message and left in the base.
    QVERIFY(TherapyStore(m_data, Table::Freq)
                .saveTreatment(QStringLiteral("Q71"), m_keys.at(1), QStringLiteral("1&2&")));
    DialogRecorder dialogs;
    m_page->selectTest(m_keys.at(1));
    QCOMPARE(dialogs.requests().size(), 1);
    m_page->leave();
    QCOMPARE(kept(Table::Freq, m_keys.at(1))->treatment, QStringLiteral("1&2&"));
}

void TestTreatmentPanel::commentSwitchesTheIcon()
{
    QVERIFY(TherapyStore(m_data, Table::Freq)
                .saveComment(QStringLiteral("Q71"), m_keys.at(2), QStringLiteral("old")));
    m_page->enter();
    TTreatmentFrame *colorRow = m_page->colorPanel()->dateList()->row(m_keys.at(2));
    QVERIFY(!colorRow->hasComment()); // the comment belongs to the frequency sub-mode
    QVERIFY(m_page->freqPanel()->dateList()->row(m_keys.at(2))->hasComment());

    QString loaded;
    answerComment(&loaded, QString(1200, QLatin1Char('z')), QStringLiteral("SaveButton"));
    QTest::mouseClick(colorRow->findChild<QToolButton *>(QStringLiteral("NoComment")),
                      Qt::LeftButton);
    QVERIFY(loaded.isEmpty());
    QVERIFY(colorRow->hasComment());
    QVERIFY(colorRow->findChild<QToolButton *>(QStringLiteral("Comment"))->isVisibleTo(colorRow));
    // Typing past the limit keeps the first 1000 characters.
    QCOMPARE(kept(Table::Color, m_keys.at(2))->comment.size(), 1000);

    // Cancel leaves the frequency comment alone.
    answerComment(&loaded, QStringLiteral("changed"), QStringLiteral("CancelButton"));
    m_page->openComment(Table::Freq, m_keys.at(2));
    QCOMPARE(loaded, QStringLiteral("old"));
    QCOMPARE(kept(Table::Freq, m_keys.at(2))->comment, QStringLiteral("old"));
}

void TestTreatmentPanel::importRefusesAMalformedFile()
{
    const QString folder = m_env->scratch(QStringLiteral("import"));
    const auto write = [&](const QString &name, const QByteArray &text) {
        QFile file(folder + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write");
        file.write(text);
        return file.fileName();
    };
    DialogRecorder dialogs;
    TLoadFreqForm form(m_data);
    form.setFileName(write(QStringLiteral("bad.txt"), "1 Migraine#10'12.5\r\n2 Cold 7.83\r\n"));
    form.setSeparatorIndex(1);
    QVERIFY(!form.import());
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().first().kind, Dialogs::Kind::Error);
    QVERIFY(dialogs.requests().first().text.contains(QStringLiteral("Line 2")));
    QVERIFY(FreqDesRepository(m_data).diseases().isEmpty());

    dialogs.clear();
    form.setFileName(write(QStringLiteral("good.txt"), "1 Migraine#10'12.5\r\n2 Cold#7.83'\r\n"));
    QVERIFY(form.import());
    QCOMPARE(form.lastResult().added, 2);
    m_page->enter();
    QCOMPARE(get<QListWidget>("DeseaseList")->count(), 2);

    // A file naming diseases already kept: the practitioner is asked, naming them; "no" keeps
    // the curated lists and brings in only the new disease.
    FreqDesRepository repo(m_data);
    QVERIFY(
        repo.setFrequencies(QStringLiteral("Cold"), {QStringLiteral("5"), QStringLiteral("6")}));
    form.setFileName(write(QStringLiteral("again.txt"), "1 Cold#7.83\r\n2 Flu#3'4\r\n"));
    dialogs.clear();
    dialogs.setAnswer(QStringLiteral("no"));
    QVERIFY(form.import());
    QCOMPARE(dialogs.requests().first().kind, Dialogs::Kind::Question);
    QVERIFY(dialogs.requests().first().text.contains(QStringLiteral("Cold")));
    QVERIFY(!dialogs.requests().first().text.contains(QStringLiteral("Flu")));
    QCOMPARE(repo.frequencies(QStringLiteral("Cold")), (QStringList{"5", "6"}));
    QCOMPARE(repo.frequencies(QStringLiteral("Flu")), (QStringList{"3", "4"}));
    // Only known diseases and "no": nothing changes, and it is said.
    form.setFileName(write(QStringLiteral("known.txt"), "1 Cold#7.83\r\n"));
    dialogs.clear();
    QVERIFY(!form.import());
    QCOMPARE(dialogs.requests().size(), 2);
    QCOMPARE(repo.frequencies(QStringLiteral("Cold")), (QStringList{"5", "6"}));
    // "yes" replaces them.
    dialogs.clear();
    dialogs.setAnswer(QStringLiteral("yes"));
    QVERIFY(form.import());
    QCOMPARE(repo.frequencies(QStringLiteral("Cold")), QStringList{QStringLiteral("7.83")});
}

QTEST_MAIN(TestTreatmentPanel)
#include "tst_treatment_panel.moc"
