// The acupuncture sub-mode as the practitioner uses it: a client without tests, answers that
// stay with their test (and are not written when nothing was clicked), the result with its
// clickable points, the flowing layout of the result, and a change of language midway.
#include "ChildWidget.h"
#include "ClientTests.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"
#include "treatment/PointLabel.h"
#include "treatment/PunctPanel.h"
#include "treatment/PunctTreatmentStore.h"
#include "treatment/RecipeView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

using Kind = RecipeLine::Kind;

class TestPunctPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void clientWithoutTests();
    void answersStayWithTheirTest();
    void resultAndPoints();
    void resultLayout();
    void languageChangeKeepsTheAnswers();

private:
    int addTest(const QDateTime &when);
    void click(const char *name);
    QString stored(int codeTest) const;

    std::unique_ptr<ClientTests> m_f;
    std::unique_ptr<DialogRecorder> m_dialogs;
    std::unique_ptr<PunctPanel> m_panel;
};

void TestPunctPanel::init()
{
    m_f = std::make_unique<ClientTests>();
    Localization::setCurrentLanguage(QStringLiteral("English"));
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
    m_dialogs = std::make_unique<DialogRecorder>();
    m_panel = std::make_unique<PunctPanel>(&m_f->data, &m_f->session, &m_f->tests);
    m_panel->setPercentSource([] { return QStringLiteral("10"); });
    m_panel->resize(1000, 560);
}

void TestPunctPanel::cleanup()
{
    m_panel.reset();
    m_dialogs.reset();
    m_f.reset();
}

int TestPunctPanel::addTest(const QDateTime &when)
{
    std::array<int, Channels::Count> values;
    for (int i = 0; i < Channels::Count; ++i)
        values[size_t(i)] = 70 + (i * 37) % 61;
    return m_f->add(when, values);
}

void TestPunctPanel::click(const char *name)
{
    QAbstractButton *button = child<QAbstractButton>(m_panel.get(), name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

QString TestPunctPanel::stored(int codeTest) const
{
    std::optional<QString> state;
    PunctTreatmentStore::load(m_f->data, QStringLiteral("Q71"), codeTest, &state);
    return state.value_or(QStringLiteral("none"));
}

void TestPunctPanel::clientWithoutTests()
{
    m_f->session.setCurrentClient(QStringLiteral("Q99"));
    m_panel->show();
    m_panel->prepare();
    QVERIFY(!child<QWidget>(m_panel.get(), "TreatmentCount2")->isVisible());
    QVERIFY(!child<QWidget>(m_panel.get(), "PunctResultBox")->isVisible());
    QVERIFY(!child<QWidget>(m_panel.get(), "PunctQuestions")->isVisible());
    QVERIFY(child<QWidget>(m_panel.get(), "PunctNoTests")->isVisible());
    QVERIFY(m_dialogs->requests().isEmpty()); // the shipped files are all there
}

void TestPunctPanel::answersStayWithTheirTest()
{
    const int older = addTest(QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
    const int newer = addTest(QDateTime(QDate(2024, 3, 8), QTime(9, 0)));
    const int untouched = addTest(QDateTime(QDate(2024, 2, 1), QTime(9, 0)));
    m_f->session.setCurrentClient(QStringLiteral("Q71"));
    m_f->session.setCurrentTest(older);
    m_panel->show();
    m_panel->prepare();
    auto *dates = child<QComboBox>(m_panel.get(), "TestDateList2");
    QCOMPARE(dates->count(), 3);
    QCOMPARE(m_panel->shownTest(), older); // the current test is preselected

    click("GroupRadio1");
    m_panel->showPage(1);
    click("Symptom0_0");
    QVERIFY(m_panel->isModified());
    const QString olderState = m_panel->answers().state();
    QVERIFY(olderState.startsWith(QLatin1String("0100"
                                                "1")));
    QVERIFY(child<QWidget>(m_panel.get(), "PageLabel1")->property("answered").toBool());

    dates->setCurrentIndex(m_f->tests.rowOfTest(newer));
    QCOMPARE(stored(older), olderState); // saved on changing the test
    QCOMPARE(m_f->session.currentTest(), newer);
    QCOMPARE(m_panel->answers().state(), QString(olderState.size(), QLatin1Char('0')));
    QVERIFY(!child<QWidget>(m_panel.get(), "PageLabel1")->property("answered").toBool());
    m_panel->showPage(2);
    click("Symptom1_2");
    const QString newerState = m_panel->answers().state();

    // Walking over a test without clicking writes nothing for it.
    dates->setCurrentIndex(m_f->tests.rowOfTest(untouched));
    dates->setCurrentIndex(m_f->tests.rowOfTest(older));
    QCOMPARE(stored(untouched), QStringLiteral("none"));
    QCOMPARE(stored(newer), newerState);
    QCOMPARE(m_panel->answers().state(), olderState);
    QCOMPARE(m_panel->currentPage(), 0);

    // Load brings back what is stored, dropping unsaved clicks; leaving saves only after one.
    click("GroupRadio3");
    click("TreatmentLoad2");
    QCOMPARE(m_panel->answers().state(), olderState);
    m_panel->saveIfModified();
    QCOMPARE(stored(older), olderState);
    click("GroupRadio2");
    m_panel->saveIfModified(); // choosing a group alone is an answer worth keeping
    QVERIFY(stored(older).startsWith(QLatin1String("0010")));

    // Once saved, the answers are no longer counted as changed: leaving writes nothing more,
    // so a value stored meanwhile from elsewhere stays.
    QVERIFY(PunctTreatmentStore::save(m_f->data, QStringLiteral("Q71"), older, olderState));
    m_panel->saveIfModified();
    QCOMPARE(stored(older), olderState);
}

void TestPunctPanel::resultAndPoints()
{
    addTest(QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
    m_f->session.setCurrentClient(QStringLiteral("Q71"));
    m_panel->show();
    m_panel->prepare();

    // No group: the message and no result.
    click("TreatmentCount2");
    QCOMPARE(m_dialogs->requests().size(), 1);
    QCOMPARE(m_dialogs->requests().first().text, Localization::Translate(QStringLiteral("Pngns")));
    QVERIFY(m_panel->resultView()->labels().isEmpty());

    // Group 2 and a hot, flushed face: liver +2 (excess, the highest), heart +1.
    click("GroupRadio1");
    m_panel->showPage(1);
    click("Symptom0_2");
    QString message;
    const RecipeLines lines = m_panel->evaluate(&message);
    QVERIFY(message.isEmpty());
    QVERIFY(child<QWidget>(m_panel.get(), "PunctResultBox")->isVisible());
    QCOMPARE(m_panel->currentPage(), 1); // the page is only hidden behind the result
    QVERIFY(lines.contains(RecipeLine{Localization::Translate(QStringLiteral("AcupunctureRecipe")),
                                      Kind::Heading, true}));
    // The liver has the highest score and is in excess: its course follows the group's.
    int titles = 0;
    for (const RecipeLine &line : lines)
        titles += line.text.startsWith(QLatin1String("Course ")) ? 1 : 0;
    QCOMPARE(titles, 2);

    PointLabel *point = nullptr;
    for (QLabel *label : m_panel->resultView()->labels()) {
        if (auto *p = qobject_cast<PointLabel *>(label); p && !point)
            point = p;
    }
    QVERIFY(point);
    QSignalSpy requested(m_panel.get(), &PunctPanel::pointRequested);
    QTest::mouseClick(point, Qt::LeftButton);
    QCOMPARE(requested.size(), 1);
    QCOMPARE(requested.first().at(0).toString(), point->text());

    // Clicking an answer takes the result away: it no longer matches.
    click("Symptom0_1");
    QVERIFY(!child<QWidget>(m_panel.get(), "PunctResultBox")->isVisible());
}

void TestPunctPanel::resultLayout()
{
    RecipeView view;
    const QString longTitle = QStringLiteral("A course title long enough to need two lines in "
                                             "the result box, with points and instructions");
    RecipeLines lines{{longTitle, Kind::Heading, true},
                      {"1-session", Kind::Heading, true},
                      {"TH5", Kind::Point, false},
                      {"both sides", Kind::Plain, true},
                      {"Press each point for a minute", Kind::Plain, false}};
    const QStringList points{"LI4", "LI11", "ST36", "SP6", "LV3", "GB34", "KI3", "BL23", "DU4"};
    for (int i = 0; i < points.size(); ++i)
        lines.append({points.at(i), Kind::Point, i == points.size() - 1});
    view.setLines(lines);
    const QList<QLabel *> &labels = view.labels();
    QCOMPARE(labels.size(), lines.size());

    // The long title wraps to the box's width on more than one line.
    QVERIFY(labels.at(0)->width() <= RecipeView::WrapWidth);
    QVERIFY(labels.at(0)->height() > labels.at(1)->height());
    QVERIFY(labels.at(1)->y() > labels.at(0)->geometry().bottom());

    // TH codes are bold points the atlas cannot show: not clickable.
    QVERIFY(!qobject_cast<PointLabel *>(labels.at(2)));
    QVERIFY(labels.at(2)->styleSheet().contains(QLatin1String("bold")));
    QVERIFY(qobject_cast<PointLabel *>(labels.at(5)));
    QCOMPARE(labels.at(3)->y(), labels.at(2)->y());

    // The point list runs on the instruction's line and goes on below once past x = 300.
    int wraps = 0;
    for (int i = 5; i < labels.size(); ++i) {
        const QLabel *before = labels.at(i - 1);
        if (labels.at(i)->y() > before->y()) {
            ++wraps;
            QCOMPARE(labels.at(i)->x(), RecipeView::Left);
            QVERIFY(before->x() + before->width() + 5 > RecipeView::PointRunLimit);
        } else {
            QVERIFY(labels.at(i)->x() <= RecipeView::PointRunLimit);
            QCOMPARE(labels.at(i)->y(), before->y());
        }
    }
    QVERIFY(wraps >= 1);
    QCOMPARE(labels.at(5)->y(), labels.at(4)->y());
}

void TestPunctPanel::languageChangeKeepsTheAnswers()
{
    addTest(QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
    m_f->session.setCurrentClient(QStringLiteral("Q71"));
    m_panel->show();
    m_panel->prepare();
    click("GroupRadio0");
    m_panel->showPage(1);
    click("Symptom0_0");
    m_panel->showPage(4);
    click("Symptom3_1");
    click("Symptom3_4");
    m_panel->showPage(6);
    click("Symptom5_2");
    const QString state = m_panel->answers().state();
    for (const QString &language : {QStringLiteral("English"), QStringLiteral("Russian")}) {
        Localization::setCurrentLanguage(language);
        LanguageApplier::instance().apply(LanguageTexts::load(language));
        QCOMPARE(m_panel->answers().state(), state); // kept across the change of language
        QString message;
        QVERIFY(!m_panel->evaluate(&message).isEmpty());
    }
    QVERIFY(m_dialogs->requests().isEmpty());
}

QTEST_MAIN(TestPunctPanel)
#include "tst_punct_panel.moc"
