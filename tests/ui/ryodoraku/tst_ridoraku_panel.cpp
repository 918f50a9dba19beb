// The Ryodoraku card view as the practitioner uses it: choosing a date, ticking symptoms that
// stay with their test, the filter toggles, the card sizing, the view without a test and the
// cards in both languages.
#include "ClientTests.h"
#include "localization/LanguageApplier.h"
#include "ryodoraku/ChannelCard.h"
#include "ryodoraku/ChannelCatalogue.h"
#include "ryodoraku/ChannelMarks.h"
#include "ryodoraku/RidorakuPanel.h"
#include "ryodoraku/SymptomMarksStore.h"
#include "ryodoraku/TRiodoracuFrame.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QtTest>

using Values = std::array<int, Channels::Count>;

class TestRidorakuPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void sameDateTextSelectsTheFirst();
    void ticksStayWithTheirTest();
    void filterToggles_data();
    void filterToggles();
    void symptomListsShareTheirHeight();
    void withoutTestAndInBothLanguages();

private:
    void addTest(const QDateTime &when, const Values &values) { QVERIFY(m_f->add(when, values)); }
    void clickToggles(const QStringList &names);
    // Clicks a symptom row of the card of `channel`.
    void tick(int channel, const QString &list, int row);
    QList<bool> ticksOf(int channel, const QString &list) const;
    int indexOfDate(const QDateTime &when) const;

    std::unique_ptr<ClientTests> m_f;
    std::unique_ptr<RidorakuPanel> m_page;
};

// Values round a mean of 100 with a 10 % corridor (half-width 9): LLU high, RPC low.
static Values corridorValues(int llu = 110)
{
    Values v;
    v.fill(100);
    v[0] = llu;
    v[1] = 109;
    v[12] = 91;
    v[13] = 90;
    return v;
}

void TestRidorakuPanel::init()
{
    m_f = std::make_unique<ClientTests>();
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
    m_page = std::make_unique<RidorakuPanel>(&m_f->data, &m_f->session, &m_f->tests);
    m_page->setPercentSource([] { return QStringLiteral("10"); });
    m_page->resize(1020, 536);
}

void TestRidorakuPanel::cleanup()
{
    m_page.reset();
    m_f.reset();
}

int TestRidorakuPanel::indexOfDate(const QDateTime &when) const
{
    return m_page->dateList()->findText(RidorakuPanel::dateText(when));
}

void TestRidorakuPanel::clickToggles(const QStringList &names)
{
    for (const QString &name : names) {
        auto *toggle = m_page->findChild<QLabel *>(name);
        QVERIFY2(toggle, qPrintable(name));
        QTest::mouseClick(toggle, Qt::LeftButton);
    }
}

void TestRidorakuPanel::tick(int channel, const QString &list, int row)
{
    QListWidget *box = nullptr;
    for (const TRiodoracuFrame *card : m_page->cards()) {
        if (card->channel() == channel)
            box = card->findChild<QListWidget *>(list);
    }
    QVERIFY(box && box->item(row));
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {},
                      box->visualItemRect(box->item(row)).center());
}

QList<bool> TestRidorakuPanel::ticksOf(int channel, const QString &list) const
{
    for (const TRiodoracuFrame *card : m_page->cards()) {
        if (card->channel() == channel)
            return list == QLatin1String("FirstBox") ? card->ticks().first : card->ticks().second;
    }
    return {};
}

void TestRidorakuPanel::sameDateTextSelectsTheFirst()
{
    const QDateTime when(QDate(2024, 5, 2), QTime(10, 15, 7));
    addTest(when, corridorValues());
    Values sixty;
    sixty.fill(60);
    addTest(when, sixty);
    m_f->choose();
    m_page->show();
    m_page->enter();

    QComboBox *dates = m_page->dateList();
    QCOMPARE(dates->count(), 2);
    QCOMPARE(dates->itemText(0), dates->itemText(1));
    const int first = m_f->tests.testAt(0).codeTest;
    for (int index : {1, 0, 1}) {
        dates->setCurrentIndex(index);
        QCOMPARE(m_page->shownTest(), first);
        QCOMPARE(m_page->cards().size(), 24);
        QCOMPARE(m_page->cards().first()->findChild<QLabel *>(QStringLiteral("PointValue"))->text(),
                 m_f->tests.testAt(0).values[0] == 110 ? QStringLiteral("110/100")
                                                       : QStringLiteral("60/60"));
    }
    // Reopening the view keeps the date chosen last.
    m_page->leave();
    m_page->enter();
    QCOMPARE(dates->currentIndex(), 1);
    QCOMPARE(m_page->shownTest(), first);
}

void TestRidorakuPanel::ticksStayWithTheirTest()
{
    const QDateTime a(QDate(2024, 5, 1), QTime(9, 0)), b(QDate(2024, 5, 3), QTime(9, 0));
    addTest(a, corridorValues());
    addTest(b, corridorValues(100)); // LLU normal: its card shows the other lists
    m_f->choose();
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    m_page->enter();
    QComboBox *dates = m_page->dateList();

    // Test A: tick LLU's first complaint and its third accompanying sign.
    dates->setCurrentIndex(indexOfDate(a));
    QCOMPARE(m_page->cards().first()->channel(), 0);
    tick(0, QStringLiteral("FirstBox"), 0);
    tick(0, QStringLiteral("SeccondBox"), 2);
    QCOMPARE(ticksOf(0, QStringLiteral("FirstBox")), (QList<bool>{true, false, false}));

    // Test B starts clean; tick something of its own.
    dates->setCurrentIndex(indexOfDate(b));
    QCOMPARE(ticksOf(0, QStringLiteral("FirstBox")), (QList<bool>{false, false, false}));
    QCOMPARE(ticksOf(0, QStringLiteral("SeccondBox")), (QList<bool>{false, false, false}));
    tick(0, QStringLiteral("FirstBox"), 1);

    // Back to A: A's ticks return; and B's when going back again.
    dates->setCurrentIndex(indexOfDate(a));
    QCOMPARE(ticksOf(0, QStringLiteral("FirstBox")), (QList<bool>{true, false, false}));
    QCOMPARE(ticksOf(0, QStringLiteral("SeccondBox")), (QList<bool>{false, false, true}));
    dates->setCurrentIndex(indexOfDate(b));
    QCOMPARE(ticksOf(0, QStringLiteral("FirstBox")).value(1), true);

    // A filter that hides the card and shows it again keeps its ticks; nothing is rebuilt
    // until Show is clicked.
    dates->setCurrentIndex(indexOfDate(a));
    clickToggles({QStringLiteral("LeftOrgan")});
    QCOMPARE(m_page->cards().size(), 24);
    m_page->ShowSymptomsClick();
    QCOMPARE(m_page->cards().size(), 12);
    QVERIFY(ticksOf(0, QStringLiteral("FirstBox")).isEmpty());
    clickToggles({QStringLiteral("LeftOrgan")});
    m_page->ShowSymptomsClick();
    QCOMPARE(ticksOf(0, QStringLiteral("FirstBox")), (QList<bool>{true, false, false}));

    // A date chosen on the Analysis tab is the one the Symptoms tab shows on return, and the
    // ticks of the test shown before are kept.
    m_page->AnalLabelClick();
    dates->setCurrentIndex(indexOfDate(b));
    m_page->sLabel8Click();
    QCOMPARE(ticksOf(0, QStringLiteral("FirstBox")).value(1), true);
    dates->setCurrentIndex(indexOfDate(a));
    QCOMPARE(ticksOf(0, QStringLiteral("FirstBox")), (QList<bool>{true, false, false}));

    // Leaving the mode stores A's ticks in the base, under A.
    m_page->leave();
    ChannelMarks stored;
    loadCatalogueNames(stored, ChannelCatalogue::load());
    int codeA = 0;
    for (const TestRecord &t : m_f->tests.tests())
        codeA = t.testDate == a ? t.codeTest : codeA;
    QVERIFY(SymptomMarksStore::loadMarks(m_f->data, QStringLiteral("Q71"), codeA, stored));
    QCOMPARE(stored[0].first, QStringLiteral("100&"));
    QCOMPARE(stored[0].second, QStringLiteral("001&"));
    m_page->enter();
    QCOMPARE(m_page->shownTest(), codeA);
    QCOMPARE(ticksOf(0, QStringLiteral("SeccondBox")), (QList<bool>{false, false, true}));
}

void TestRidorakuPanel::filterToggles_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("allCond");
    QTest::addColumn<QList<int>>("channels"); // the cards, in order; empty list for none
    QTest::addColumn<int>("count");

    QTest::newRow("default: highest first") << QStringList() << true << QList<int>{0} << 24;
    QTest::newRow("all off") << QStringList{QStringLiteral("AllCond")} << false << QList<int>{}
                             << 0;
    QTest::newRow("all off, all on")
        << QStringList{QStringLiteral("AllCond"), QStringLiteral("AllCond")} << true
        << QList<int>{0} << 24;
    // One row per kind of toggle; which channels each filter keeps is the corridor rule's test.
    QTest::newRow("low only") << QStringList{QStringLiteral("HightCond")} << false << QList<int>{13}
                              << 1;
    QTest::newRow("right only") << QStringList{QStringLiteral("LeftOrgan")} << false << QList<int>{}
                                << 12;
    QTest::newRow("yang only") << QStringList{QStringLiteral("InOrgan")} << false << QList<int>{}
                               << 12;
}

void TestRidorakuPanel::filterToggles()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, allCond);
    QFETCH(QList<int>, channels);
    QFETCH(int, count);

    addTest(QDateTime(QDate(2024, 5, 1), QTime(9, 0)), corridorValues());
    m_f->choose();
    m_page->show();
    m_page->enter();
    QCOMPARE(m_page->cards().size(), 24);
    QCOMPARE(m_page->cards().last()->channel(), 13); // RPC, 10 % below

    clickToggles(clicks);
    QCOMPARE(m_page->toggleOn(QStringLiteral("AllCond")), allCond);
    QCOMPARE(m_page->cards().size(), 24); // toggles alone do not rebuild
    QTest::mouseClick(m_page->findChild<QLabel *>(QStringLiteral("ShowSymptoms")), Qt::LeftButton);
    QCOMPARE(m_page->cards().size(), count);
    QCOMPARE(m_page->findChildren<TRiodoracuFrame *>().size(), count);
    if (!channels.isEmpty())
        QCOMPARE(m_page->cards().first()->channel(), channels.first());
    if (count == 0) {
        QCOMPARE(m_page->box()->widget()->height(), 0);
        // The empty box says why, so the practitioner does not wait for cards.
        QVERIFY(m_page->emptyHint().startsWith(QLatin1String("No channel passes")));
    } else {
        QVERIFY(m_page->emptyHint().isEmpty());
    }
    // Sorted as the filter asks: descending while HightCond is on.
    const bool descending = m_page->toggleOn(QStringLiteral("HightCond"));
    for (int i = 1; i < m_page->cards().size(); ++i) {
        const auto percent = [&](int k) {
            return m_page->cards()
                .at(k)
                ->findChild<QLabel *>(QStringLiteral("Percentage"))
                ->text()
                .chopped(1)
                .toInt();
        };
        QVERIFY(descending ? percent(i - 1) >= percent(i) : percent(i - 1) <= percent(i));
    }
}

// The two symptom lists of a card share one height, which the longer of them sets, and nothing
// spills out of the card.
void TestRidorakuPanel::symptomListsShareTheirHeight()
{
    QList<int> heights;
    for (const auto &[first, second] : {std::pair{3, 5}, std::pair{5, 3}, std::pair{0, 0}}) {
        ChannelCard card;
        for (int i = 0; i < first; ++i)
            card.firstItems.append(QStringLiteral("first %1").arg(i));
        for (int i = 0; i < second; ++i)
            card.secondItems.append(QStringLiteral("second %1").arg(i));
        card.conductionColor = conductionColor(3);
        TRiodoracuFrame frame;
        frame.resize(900, 100);
        frame.setCard(card);
        const int height = frame.findChild<QWidget *>(QStringLiteral("FirstBox"))->height();
        QCOMPARE(frame.findChild<QWidget *>(QStringLiteral("SeccondBox"))->height(), height);
        heights.append(height);
        for (const QWidget *child : frame.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY2(frame.rect().contains(child->geometry()), qPrintable(child->objectName()));
    }
    QCOMPARE(heights.at(0), heights.at(1));
    QVERIFY(heights.at(0) > heights.at(2));
}

void TestRidorakuPanel::withoutTestAndInBothLanguages()
{
    Values spread;
    for (int i = 0; i < Channels::Count; ++i)
        spread[size_t(i)] = 70 + (i * 37) % 61;
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    // A client without a test: the box says what to do instead of staying blank.
    m_page->enter();
    QVERIFY(m_page->cards().isEmpty());
    QVERIFY(m_page->emptyHint().startsWith(QLatin1String("No test to show")));
    // ... and still says so after a visit to the Analysis tab.
    m_page->AnalLabelClick();
    m_page->sLabel8Click();
    QVERIFY(m_page->box()->isVisible());
    QVERIFY(m_page->emptyHint().startsWith(QLatin1String("No test to show")));

    addTest(QDateTime(QDate(2024, 5, 1), QTime(9, 0)), spread);
    m_f->choose();
    for (const QString &language : {QStringLiteral("English"), QStringLiteral("Russian")}) {
        LanguageApplier::instance().apply(LanguageTexts::load(language));
        m_page->enter();
        QCOMPARE(m_page->cards().size(), 24);
        const int channel = m_page->cards().first()->channel();
        if (language == QLatin1String("English"))
            tick(channel, QStringLiteral("FirstBox"), 1);
        const QList<bool> ticked = ticksOf(channel, QStringLiteral("FirstBox"));
        QCOMPARE(ticked.value(1), true); // kept across the change of language
        QCoreApplication::processEvents();
        // Every card fits the box's width and no card overlaps the next.
        const int width = m_page->box()->viewport()->width();
        for (int i = 0; i < m_page->cards().size(); ++i) {
            const QRect r = m_page->cards().at(i)->geometry();
            QVERIFY(r.right() < width);
            if (i > 0)
                QVERIFY(r.top() > m_page->cards().at(i - 1)->geometry().bottom());
        }
        m_page->AnalLabelClick();
        QVERIFY(!m_page->box()->isVisible());
        QVERIFY(!m_page->findChild<QWidget *>(QStringLiteral("FilterBar"))->isVisible());
        m_page->sLabel8Click();
        QVERIFY(m_page->box()->isVisible());
        QCOMPARE(ticksOf(channel, QStringLiteral("FirstBox")), ticked);
        m_page->leave();
    }
}

QTEST_MAIN(TestRidorakuPanel)
#include "tst_ridoraku_panel.moc"
