// The graphs page as the practitioner reads it: bar colours round the corridor, the corridor
// lines, the comparison of ticked tests, redrawing for a new current test, a bad corridor
// percentage, and saving a picture.
#include "ChildWidget.h"
#include "ClientTests.h"
#include "common/DateField.h"
#include "DialogRecorder.h"
#include "ryodoraku/GraphicPanel.h"
#include "ryodoraku/PolarDiagram.h"
#include "ryodoraku/ProgressChart.h"
#include "ryodoraku/TestChart.h"
#include "treatment/TherapyStore.h"

#include <QAreaSeries>
#include <QImageReader>
#include <QLineSeries>
#include <QListWidget>
#include <QToolButton>
#include <QtTest>

class TestGraphicPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void barsAroundTheCorridor();
    void comparisonOfTickedTests();
    void followsTheCurrentTestAndRefusesABadPercent();
    void savesPictures();
    void progressOverAPeriod();

private:
    std::unique_ptr<ClientTests> m_f;
    std::unique_ptr<GraphicPanel> m_page;
    QString m_percent = QStringLiteral("10");
    QList<int> m_keys; // newest first
};

void TestGraphicPanel::init()
{
    m_f = std::make_unique<ClientTests>();
    // Three tests, the newest with channels at 110, 109, 91, 90 round a mean of 100.
    m_keys.clear();
    for (int day = 1; day <= 3; ++day) {
        std::array<int, Channels::Count> values;
        values.fill(100);
        if (day == 3) {
            values[0] = 110;
            values[1] = 109;
            values[12] = 91;
            values[13] = 90;
        } else {
            for (int i = 0; i < Channels::Count; ++i)
                values[size_t(i)] = 40 + day * 15 + (i * 7 + day * 5) % 23;
        }
        m_keys.prepend(m_f->add(QDateTime(QDate(2024, 3, day), QTime(9, 30)), values));
        QVERIFY(m_keys.first());
    }
    m_f->choose();
    m_f->session.setCurrentTest(m_keys.first());
    m_percent = QStringLiteral("10");
    m_page = std::make_unique<GraphicPanel>(&m_f->data, &m_f->session, &m_f->tests);
    m_page->setPercentSource([this] { return m_percent; });
    m_page->resize(1000, 520);
    m_page->show();
    m_page->enter();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
}

void TestGraphicPanel::cleanup()
{
    m_page.reset();
    m_f.reset();
}

void TestGraphicPanel::barsAroundTheCorridor()
{
    TestChart *chart = m_page->chart();
    QCOMPARE(m_page->graphKind(), 1);
    const auto color = [&](int channel) { return chart->channelSeries(channel)->color(); };
    QCOMPARE(color(1), QColor(0x00, 0x80, 0x00));  // 109: on the upper bound
    QCOMPARE(color(0), QColor(0xFF, 0x00, 0x00));  // 110: above it
    QCOMPARE(color(12), QColor(0x00, 0x80, 0x00)); // 91: on the lower bound
    QCOMPARE(color(13), QColor(0x00, 0x00, 0xFF)); // 90: below it
    // Bars stand on the mean.
    QCOMPARE(chart->channelSeries(13)->lowerSeries()->at(0).y(), 100.0);
    QCOMPARE(chart->channelSeries(13)->upperSeries()->at(0).y(), 90.0);

    const QList<QLineSeries *> lines = chart->corridorLines();
    const QList<double> levels{100, 109, 91};
    for (int i = 0; i < 3; ++i) {
        QVERIFY(lines.at(i)->isVisible());
        QCOMPARE(lines.at(i)->count(), 25);
        QCOMPARE(lines.at(i)->at(24).y(), levels.at(i));
    }

    // Graph 2 puts each meridian's sides together: LLU, RLU, LPC, RPC ...
    QTest::mouseClick(child<QToolButton>(m_page.get(), "GR2"), Qt::LeftButton);
    QCOMPARE(m_page->graphKind(), 2);
    QCOMPARE(chart->channelSeries(12)->upperSeries()->at(0).x(), 1.14);
    QCOMPARE(chart->channelSeries(1)->upperSeries()->at(0).x(), 2.14);

    // Graph 4: raw values from 0, left blue and right red, no corridor.
    m_page->showGraph(4);
    QCOMPARE(chart->channelSeries(0)->lowerSeries()->at(0).y(), 0.0);
    QCOMPARE(chart->channelSeries(0)->color(), QColor(Qt::blue));
    QCOMPARE(chart->channelSeries(12)->color(), QColor(Qt::red));
    for (QLineSeries *line : lines)
        QVERIFY(!line->isVisible());

    m_page->showGraph(5);
    QVERIFY(m_page->polar()->isVisible());
    QVERIFY(m_page->polar()->hasTest());
    // The left and right outlines are apart: LLU at 110 lies further out than RLU at 91.
    const QPointF c = m_page->polar()->centre();
    const QPointF l = m_page->polar()->pointOf(0) - c, r = m_page->polar()->pointOf(12) - c;
    QVERIFY(QPointF::dotProduct(l, l) > QPointF::dotProduct(r, r));
}

void TestGraphicPanel::comparisonOfTickedTests()
{
    QListWidget *dates = m_page->dateList();
    QVERIFY(!dates->isVisible());
    m_page->showGraph(3);
    QVERIFY(dates->isVisible());
    QCOMPARE(dates->count(), 3);
    QVERIFY(m_page->chart()->comparisonLines().isEmpty()); // nothing ticked, no line
    for (const QLineSeries *line : m_page->chart()->corridorLines())
        QVERIFY(!line->isVisible());

    dates->item(2)->setCheckState(Qt::Checked);
    dates->item(0)->setCheckState(Qt::Checked);
    const QList<QLineSeries *> lines = m_page->chart()->comparisonLines();
    QCOMPARE(lines.size(), 2);
    // In table order (newest first), each named by its date.
    QCOMPARE(lines.at(0)->name(), dates->item(0)->text());
    QCOMPARE(lines.at(1)->name(), dates->item(2)->text());
    QVERIFY(lines.at(0)->name().contains(QStringLiteral("03.03.2024")));
    QCOMPARE(lines.at(0)->at(0).y(), 110.0);
    QVERIFY(lines.at(0)->pen().color() != lines.at(1)->pen().color());
    QVERIFY(child<QWidget>(m_page.get(), "Shape1")->isVisible());
    QVERIFY(!child<QWidget>(m_page.get(), "Shape2")->isVisible());
    dates->item(1)->setCheckState(Qt::Checked);

    m_page->showGraph(1);
    QVERIFY(!dates->isVisible());
    QVERIFY(!child<QWidget>(m_page.get(), "Shape1")->isVisible());
}

void TestGraphicPanel::followsTheCurrentTestAndRefusesABadPercent()
{
    TestChart *chart = m_page->chart();
    QCOMPARE(chart->channelSeries(0)->upperSeries()->at(0).y(), 110.0);
    m_f->session.setCurrentTest(m_keys.at(1));
    const double older = m_f->tests.testAt(1).values[0];
    QCOMPARE(chart->channelSeries(0)->upperSeries()->at(0).y(), older);

    // A percentage that is no number: a message, and the graph stays as it was.
    DialogRecorder dialogs;
    m_percent = QStringLiteral("1O");
    m_f->session.setCurrentTest(m_keys.first());
    QCOMPARE(dialogs.requests().size(), 1);
    QVERIFY(dialogs.requests().first().text.contains(QStringLiteral("1O")));
    QCOMPARE(chart->channelSeries(0)->upperSeries()->at(0).y(), older);

    // Without a current test nothing is drawn.
    m_percent = QStringLiteral("10");
    m_f->session.setCurrentTest(0);
    QVERIFY(!chart->channelSeries(0)->isVisible());
}

void TestGraphicPanel::savesPictures()
{
    const QString path = m_f->env.scratch(QStringLiteral("pictures")) + QStringLiteral("/graph");
    DialogRecorder dialogs(path);
    for (const int kind : {1, 5}) {
        m_page->showGraph(kind);
        QFile::remove(path + QStringLiteral(".png"));
        QTest::mouseClick(child<QWidget>(m_page.get(), "SaveGraph"), Qt::LeftButton);
        QCOMPARE(dialogs.requests().last().kind, Dialogs::Kind::SaveFile);
        QImageReader picture(path + QStringLiteral(".png"));
        QCOMPARE(picture.format(), QByteArray("png"));
        QVERIFY(picture.size().width() > 400);
    }
    // A folder that cannot be written: a message, no picture.
    dialogs.setAnswer(QStringLiteral("/proc/no-such-folder/graph.png"));
    const qsizetype before = dialogs.requests().size();
    QTest::mouseClick(child<QWidget>(m_page.get(), "SaveGraph"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), before + 2);
    QCOMPARE(dialogs.requests().last().kind, Dialogs::Kind::Error);
}

void TestGraphicPanel::progressOverAPeriod()
{
    QTest::mouseClick(child<QToolButton>(m_page.get(), "GR6"), Qt::LeftButton);
    QCOMPARE(m_page->graphKind(), int(GraphicPanel::ProgressKind));
    ProgressChart *chart = m_page->progress();
    QVERIFY(chart->isVisible());
    // Oldest first; the newest test has 110 and 90 outside the corridor 91..109.
    const QList<ProgressFigures> &figures = chart->figures();
    QCOMPARE(figures.size(), 3);
    QCOMPARE(figures.first().when.date(), QDate(2024, 3, 1));
    QCOMPARE(figures.last().outside, 2);
    QCOMPARE(figures.last().mean, 100);
    // Hovering the newest test's column tells its figures.
    const QString details = chart->detailsAt(QPoint(chart->width() - 30, chart->height() * 3 / 4));
    QVERIFY2(details.contains(QStringLiteral("Channels outside the corridor: 2")),
             qPrintable(details));
    QVERIFY(chart->detailsAt(QPoint(2, 2)).isEmpty());
    // A treatment recorded with a test is marked on it, and only on it.
    QVERIFY(TherapyStore(&m_f->data, TherapyStore::Table::Color)
                .saveTreatment(QStringLiteral("Q71"), m_keys.first(), QStringLiteral("LLU=1")));
    QVERIFY(m_page->redraw());
    const QString treated = chart->detailsAt(QPoint(chart->width() - 30, chart->height() * 3 / 4));
    QVERIFY2(treated.contains(QStringLiteral("Treatment: Colour therapy")), qPrintable(treated));
    QVERIFY(!chart->detailsAt(QPoint(chart->width() / 2, chart->height() * 3 / 4))
                 .contains(QStringLiteral("Treatment")));

    // A period leaves out the tests before it; a test measured meanwhile comes in.
    auto *from = child<DateField>(m_page.get(), "ProgressFrom");
    from->setDate(QDate(2024, 3, 2));
    QTRY_COMPARE(chart->figures().size(), 2);
    std::array<int, Channels::Count> values;
    values.fill(100);
    QVERIFY(m_f->add(QDateTime(QDate(2024, 4, 1), QTime(9, 0)), values));
    m_f->choose();
    QTRY_COMPARE(chart->figures().size(), 3);
    QCOMPARE(chart->figures().last().outside, 0);
    from->setDate(QDate(2024, 5, 1));
    QTRY_VERIFY(chart->figures().isEmpty());
    QVERIFY(m_page->saveGraph(m_f->env.scratch(QStringLiteral("pictures"))
                              + QStringLiteral("/progress.png")));
}

QTEST_MAIN(TestGraphicPanel)
#include "tst_graphic_panel.moc"
