// The open-points page as the practitioner uses it: the present period chosen at start, a
// click on the clock and on its captions, the centre clearing the choice, the side moving the
// marker, the blinking under the midday-midnight method, and a damaged table refused with a
// message.
#include "app/DataFolderSetup.h"
#include "ChildWidget.h"
#include "common/Clock.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "measure/BodyPicture.h"
#include "TestEnvironment.h"
#include "treatment/MeridianClock.h"
#include "treatment/OpenPointMarker.h"
#include "treatment/OpenPointPanel.h"
#include "treatment/OpenPointPictures.h"

#include "treatment/OpenPointCalendar.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

class TestOpenPointPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startsAtThePresentPeriod();
    void dayMayBeginAt23();
    void clockChoosesThePeriod_data();
    void clockChoosesThePeriod();
    void sideMovesTheMarker();
    void middayMidnightBlinksAndShowsThePhoto();
    void damagedTableIsRefusedWithAMessage();

private:
    void openPage();
    QStringList listed() const;
    template <typename T> T *get(const char *name) const { return child<T>(m_page, name); }
    QLabel *info() const { return get<QLabel>("OpenPointInfo"); }

    TestEnvironment *m_env = nullptr;
    OpenPointPanel *m_page = nullptr;
};

void TestOpenPointPanel::init()
{
    m_env = new TestEnvironment;
    DataFolderSetup::run();
    // 2024-02-10 is a jia-chen day; 20:15 lies in the period 19-21.
    Clock::setNow(QDateTime(QDate(2024, 2, 10), QTime(20, 15)));
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
}

void TestOpenPointPanel::cleanup()
{
    delete m_page;
    m_page = nullptr;
    Clock::setNow(QDateTime());
    delete m_env;
}

void TestOpenPointPanel::openPage()
{
    m_page = new OpenPointPanel;
    m_page->resize(1010, 520);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page));
    m_page->enter();
}

QStringList TestOpenPointPanel::listed() const
{
    return itemTexts(get<QListWidget>("PointGroup"));
}

void TestOpenPointPanel::startsAtThePresentPeriod()
{
    openPage();
    QCOMPARE(get<QDateEdit>("PointDate")->date(), QDate(2024, 2, 10));
    QCOMPARE(m_page->period(), 7);
    QCOMPARE(get<MeridianClock>("Image5")->period(), 7);
    QVERIFY(get<QRadioButton>("MethodGroup0")->isChecked());
    // Day 41 of the sixty, hour stem jia at 19-21: the tortoise opens one pair, its first point
    // is chosen and shown with the marker.
    QCOMPARE(m_page->points().size(), 2);
    QCOMPARE(get<QListWidget>("PointGroup")->currentRow(), 0);
    QVERIFY(m_page->pictures()->shownPicture() > 0);
    QVERIFY(m_page->pictures()->markerVisible());
    QVERIFY(info()->text().contains(QStringLiteral("19:00-21:00")));
}

void TestOpenPointPanel::dayMayBeginAt23()
{
    // The rules apart: the calendar's day before 23:00 and after midnight either way.
    const QDate day(2024, 2, 10);
    QCOMPARE(OpenPointCalendar::dayOf(QDateTime(day, QTime(23, 30)), false), day);
    QCOMPARE(OpenPointCalendar::dayOf(QDateTime(day, QTime(23, 30)), true), day.addDays(1));
    QCOMPARE(OpenPointCalendar::dayOf(QDateTime(day, QTime(22, 59)), true), day);
    QCOMPARE(OpenPointCalendar::dayOf(QDateTime(day.addDays(1), QTime(0, 30)), true),
             day.addDays(1));

    // At 23:30 the page counts the calendar's day by default and says so.
    Clock::setNow(QDateTime(QDate(2024, 2, 10), QTime(23, 30)));
    openPage();
    auto *date = get<QDateEdit>("PointDate");
    QCOMPARE(date->date(), QDate(2024, 2, 10));
    QVERIFY(info()->text().contains(QStringLiteral("midnight")));
    // The other school's rule, chosen on the page: the next day, said, and kept for next time.
    get<QCheckBox>("OpenPointDayAt23")->setChecked(true);
    QCOMPARE(date->date(), QDate(2024, 2, 11));
    QVERIFY(info()->text().contains(QStringLiteral("23:00")));
    QVERIFY(OpenPointCalendar::dayBeginsAt23());
    delete m_page;
    m_page = nullptr;
    openPage();
    QCOMPARE(get<QDateEdit>("PointDate")->date(), QDate(2024, 2, 11));
}

void TestOpenPointPanel::clockChoosesThePeriod_data()
{
    QTest::addColumn<QString>("target"); // "clock" or a caption label
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("period");
    QTest::newRow("top sector") << "Image5" << QPoint(120, 25) << 9;
    QTest::newRow("outside the circle changes nothing") << "Image5" << QPoint(4, 4) << 7;
    QTest::newRow("the centre clears") << "Image5" << QPoint(120, 100) << -1;
    QTest::newRow("hours caption") << "ClockHours3" << QPoint(3, 3) << 3;
    QTest::newRow("meridian caption") << "ClockMeridian10" << QPoint(3, 3) << 10;
}

void TestOpenPointPanel::clockChoosesThePeriod()
{
    QFETCH(QString, target);
    QFETCH(QPoint, pos);
    QFETCH(int, period);
    openPage();
    QTest::mouseClick(child<QWidget>(m_page, target), Qt::LeftButton, {}, pos);
    QCOMPARE(m_page->period(), period);
    QCOMPARE(get<MeridianClock>("Image5")->period(), period);
    if (period < 0) {
        QVERIFY(m_page->points().isEmpty());
        QCOMPARE(m_page->pictures()->shownPicture(), 0);
        QCOMPARE(info()->text(), QStringLiteral("Choose a two-hour period on the clock."));
        // The arrow keys bring a period back.
        QTest::keyClick(get<QWidget>("Image5"), Qt::Key_Right);
        QCOMPARE(m_page->period(), 9);
    } else {
        QVERIFY(!m_page->points().isEmpty());
        QCOMPARE(get<QListWidget>("PointGroup")->currentRow(), 0);
    }
}

void TestOpenPointPanel::sideMovesTheMarker()
{
    openPage();
    // A jia-zi day (1 October 1949) at 23-01 opens Pc 6 and Sp 4 under the tortoise.
    get<QDateEdit>("PointDate")->setDate(QDate(1949, 10, 1));
    m_page->Label5MouseDown(9);
    QCOMPARE(listed(),
             (QStringList{QStringLiteral("Pc 6   Pericardium"), QStringLiteral("Sp 4   Spleen")}));
    OpenPointPictures *pictures = m_page->pictures();
    QCOMPARE(pictures->shownPicture(), 3);
    const QPoint leftAt = pictures->marker()->geometry().center();
    get<QRadioButton>("right")->click();
    QCOMPARE(pictures->shownPicture(), 3);
    const QPoint rightAt = pictures->marker()->geometry().center();
    // The front view: the patient's right arm is on the viewer's left.
    QVERIFY2(rightAt.x() < leftAt.x() - 100,
             qPrintable(QStringLiteral("%1 %2").arg(rightAt.x()).arg(leftAt.x())));
    // Sp 4 on the right is on the side view from the left (picture 1).
    get<QListWidget>("PointGroup")->setCurrentRow(1);
    QCOMPARE(pictures->shownPicture(), 1);
    const QRect shown = pictures->picture(1)->geometry();
    QVERIFY(shown.contains(pictures->marker()->geometry().center()));
    QCOMPARE(shown.width(), qRound(shown.height() * 204.0 / 489.0));
}

void TestOpenPointPanel::middayMidnightBlinksAndShowsThePhoto()
{
    QPixmap photo(60, 80);
    photo.fill(Qt::darkCyan);
    openPage();
    m_page->setPhoto(photo);
    get<QRadioButton>("MethodGroup2")->click();
    QCOMPARE(m_page->method(), 2);
    // Jia day, 19-21: Pc 7 and Ki 7 by the hour's branch, Gb 44 by the day's stem.
    QCOMPARE(listed(), (QStringList{QStringLiteral("Pc 7 (hour branch)   Pericardium"),
                                    QStringLiteral("Gb 44 (day stem)   Gall bladder"),
                                    QStringLiteral("Ki 7 (hour branch)   Kidney")}));
    QVERIFY(get<QLabel>("OpenPointFoto")->isVisible());
    QTimer *timer = m_page->blinkTimer();
    QVERIFY(timer->isActive());
    OpenPointPictures *pictures = m_page->pictures();
    QList<bool> seen;
    for (int tick = 0; tick < 5; ++tick) {
        m_page->OpenPointTimerTimer();
        seen << pictures->markerVisible();
    }
    QCOMPARE(seen, (QList<bool>{false, true, false, true, true}));
    QVERIFY(!timer->isActive());
    // Another method stops the blinking and hides the photo; the ten-day cycle is named.
    m_page->MethodGroupClick(1);
    QVERIFY(!timer->isActive());
    QVERIFY(!get<QLabel>("OpenPointFoto")->isVisible());
    QVERIFY2(info()->text().startsWith(QStringLiteral("Day 1 of 10")), qPrintable(info()->text()));
}

void TestOpenPointPanel::damagedTableIsRefusedWithAMessage()
{
    openPage();
    const QString table = m_env->dataFolder() + QStringLiteral("Data/Table2.dat");
    QFile file(table);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    // Half the days lost.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(whole.left(whole.size() / 2));
    file.close();
    m_page->Label5MouseDown(3);
    QVERIFY(m_page->points().isEmpty());
    QCOMPARE(m_page->pictures()->shownPicture(), 0);
    QVERIFY(info()->text().contains(QStringLiteral("Table2.dat")));
    QVERIFY(info()->property("problem").toBool());
    // Mended on disk, the next choice reads it again.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(whole);
    file.close();
    m_page->Label5MouseDown(4);
    QVERIFY(!m_page->points().isEmpty());
    QVERIFY(!info()->property("problem").toBool());
}

QTEST_MAIN(TestOpenPointPanel)
#include "tst_open_point_panel.moc"
