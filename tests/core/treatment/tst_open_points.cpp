// Open points: the period of a time and of a click on the clock, the cycle day of hand-worked
// dates (before and after the reference date), the table file formats, the listing rules and
// the shipped tables checked against the classical reckoning done here independently.
#include "common/TextFile.h"
#include "TestEnvironment.h"
#include "treatment/DayReference.h"
#include "treatment/OpenPointCalendar.h"
#include "treatment/OpenPointCodes.h"
#include "treatment/OpenPointListing.h"
#include "treatment/OpenPointMarkers.h"
#include "treatment/OpenPointMethod.h"
#include "treatment/OpenPointTables.h"

#include <QDir>
#include <QtTest>

using C = OpenPointCalendar;

namespace {
// The sexagenary day of a date, counted here from 1 October 1949, a jia-zi day.
int sexagenaryDay(const QDate &date) {
    const qint64 days = QDate(1949, 10, 1).daysTo(date);
    return int(((days % 60) + 60) % 60) + 1;
}

// The stem (1 = jia .. 10 = gui) of the hour with branch `branch` (0 = zi) on a day of stem `stem`.
int hourStem(int stem, int branch) {
    return ((2 * ((stem - 1) % 5)) % 10 + branch) % 10 + 1;
}

const char *const kTrigramPoint[10] = {"",     "Bl 62", "Ki 6", "Tb 5",  "Gb 41",
                                       "Ki 6", "Sp 4",  "Sl 3", "Per 6", "Lu 7"};

// The sacred tortoise: the numbers of the day's stem and branch and the hour's stem and branch,
// summed and divided by 9 on yang days and 6 on yin days; the rest names the trigram.
QString tortoisePoint(int sexagenary, int branch) {
    static const int dayStem[10] = {10, 9, 7, 8, 7, 10, 9, 7, 8, 7};
    static const int dayBranch[12] = {7, 10, 8, 8, 10, 7, 7, 10, 9, 9, 10, 7};
    static const int hourStemValue[10] = {9, 8, 7, 6, 5, 9, 8, 7, 6, 5};
    static const int hourBranch[12] = {9, 8, 7, 6, 5, 4, 9, 8, 7, 6, 5, 4};
    const int stem = (sexagenary - 1) % 10 + 1;
    const int sum = dayStem[stem - 1] + dayBranch[(sexagenary - 1) % 12] +
                    hourStemValue[hourStem(stem, branch) - 1] + hourBranch[branch];
    const int divisor = stem % 2 == 1 ? 9 : 6;
    const int rest = sum % divisor == 0 ? divisor : sum % divisor;
    return QLatin1String(kTrigramPoint[rest]);
}

// The soaring method: the hour's stem alone names the point.
QString soaringPoint(int stem, int branch) {
    static const char *const byStem[11] = {"",     "Sp 4", "Bl 62", "Per 6", "Ki 6", "Gb 41",
                                           "Lu 7", "Tb 5", "Sl 3",  "Sp 4",  "Bl 62"};
    return QLatin1String(byStem[hourStem(stem, branch)]);
}

QString shippedData() {
    return TestEnvironment::installDir() + "/Q7/Data";
}

QStringList codes(const QList<OpenPoint> &points) {
    QStringList out;
    for (const OpenPoint &p : points)
        out << p.code + (p.qualifier == OpenPoint::ByDayStem      ? "/stem"
                         : p.qualifier == OpenPoint::ByHourBranch ? "/branch"
                                                                  : QString());
    return out;
}
} // namespace

class TestOpenPoints : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_env = new TestEnvironment; }
    void cleanupTestCase() { delete m_env; }

    void periodOfTime_data() {
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("column");
        QTest::newRow("23:00:00 starts 23-01") << "23:00:00" << 9 << 1;
        QTest::newRow("after midnight") << "00:59:59" << 9 << 1;
        QTest::newRow("01:00:00") << "01:00:00" << 10 << 2;
        QTest::newRow("04:59:59") << "04:59:59" << 11 << 3;
        QTest::newRow("05:00:00") << "05:00:00" << 0 << 4;
        QTest::newRow("noon") << "12:30:00" << 3 << 7;
        QTest::newRow("20:59:59") << "20:59:59" << 7 << 11;
        QTest::newRow("21:00:00") << "21:00:00" << 8 << 12;
        QTest::newRow("22:59:59") << "22:59:59" << 8 << 12;
    }
    void periodOfTime() {
        QFETCH(QString, time);
        QFETCH(int, period);
        QCOMPARE(C::periodOfTime(QTime::fromString(time, "HH:mm:ss")), period);
        QTEST(C::columnOfPeriod(period), "column");
    }

    void clickOnTheClock_data() {
        QTest::addColumn<QPointF>("pos");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("period");
        const auto at = [](double angle, double radius) {
            const double a = qDegreesToRadians(angle);
            return QPointF(120 + radius * std::sin(a), 100 - radius * std::cos(a));
        };
        QTest::newRow("top: 23-01") << QPointF(120, 20) << int(C::ClockHit::Sector) << 9;
        QTest::newRow("one o'clock: 01-03") << at(30, 60) << int(C::ClockHit::Sector) << 10;
        QTest::newRow("right: 05-07") << QPointF(200, 100) << int(C::ClockHit::Sector) << 0;
        QTest::newRow("bottom: 11-13") << QPointF(120, 180) << int(C::ClockHit::Sector) << 3;
        QTest::newRow("left: 17-19") << QPointF(40, 100) << int(C::ClockHit::Sector) << 6;
        QTest::newRow("eleven o'clock: 21-23") << at(330, 50) << int(C::ClockHit::Sector) << 8;
        QTest::newRow("just before a border") << at(14.5, 70) << int(C::ClockHit::Sector) << 9;
        QTest::newRow("just after a border") << at(15.5, 70) << int(C::ClockHit::Sector) << 10;
        QTest::newRow("on the rim is outside")
            << QPointF(210, 100) << int(C::ClockHit::Outside) << -1;
        QTest::newRow("beyond the rim") << QPointF(120, 9) << int(C::ClockHit::Outside) << -1;
        QTest::newRow("the corner of the picture")
            << QPointF(2, 2) << int(C::ClockHit::Outside) << -1;
        QTest::newRow("the centre clears") << QPointF(120, 100) << int(C::ClockHit::Centre) << -1;
    }
    void clickOnTheClock() {
        QFETCH(QPointF, pos);
        QFETCH(int, kind);
        QFETCH(int, period);
        const C::ClockHit hit = C::hitAt(pos);
        QCOMPARE(int(hit.kind), kind);
        QCOMPARE(hit.period, period);
        // The sector drawn for a period is the one a click picks.
        if (period >= 0)
            QCOMPARE(
                C::hitAt(QPointF(120 + 45 * std::sin(qDegreesToRadians(C::sectorMiddle(period))),
                                 100 - 45 * std::cos(qDegreesToRadians(C::sectorMiddle(period)))))
                    .period,
                period);
    }

    void cycleDayOfHandWorkedDates_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("sixty");
        QTest::addColumn<int>("ten");
        QTest::addColumn<int>("five");
        // With N0 = 48 (23 March 2006 is a xin-hai day) the sixty-day count is the sexagenary day.
        QTest::newRow("reference date") << QDate(2006, 3, 23) << 48 << 8 << 3;
        QTest::newRow("D = 50: day 10, not 0") << QDate(2006, 3, 25) << 50 << 10 << 5;
        QTest::newRow("D = 60: day 60") << QDate(2006, 4, 4) << 60 << 10 << 5;
        QTest::newRow("D = 61 starts again") << QDate(2006, 4, 5) << 1 << 1 << 1;
        QTest::newRow("the day before the reference") << QDate(2006, 3, 22) << 47 << 7 << 2;
        QTest::newRow("2000-01-01 wu-wu") << QDate(2000, 1, 1) << 55 << 5 << 5;
        QTest::newRow("1949-10-01 jia-zi") << QDate(1949, 10, 1) << 1 << 1 << 1;
        QTest::newRow("2024-02-10 jia-chen") << QDate(2024, 2, 10) << 41 << 1 << 1;
        QTest::newRow("leap day 2024-02-29") << QDate(2024, 2, 29) << 60 << 10 << 5;
    }
    void cycleDayOfHandWorkedDates() {
        QFETCH(QDate, date);
        QFETCH(int, sixty);
        QCOMPARE(C::cycleDay(date, 48, 60), sixty);
        QTEST(C::cycleDay(date, 48, 10), "ten");
        QTEST(C::cycleDay(date, 48, 5), "five");
        QCOMPARE(sixty, sexagenaryDay(date));
    }

    void dayReferenceFile_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("n0"); // -1: refused
        QTest::newRow("two digits") << QStringList{"23.03.2006 note", "48 note"} << 48;
        QTest::newRow("leading zero") << QStringList{"23.03.2006", "07"} << 7;
        QTest::newRow("one digit") << QStringList{"23.03.2006", "7"} << 7;
        QTest::newRow("one line only") << QStringList{"23.03.2006 48"} << -1;
        QTest::newRow("letters") << QStringList{"23.03.2006", "ab"} << -1;
        QTest::newRow("a sign") << QStringList{"23.03.2006", "-3"} << -1;
        QTest::newRow("empty second line") << QStringList{"23.03.2006", QString()} << -1;
    }
    void dayReferenceFile() {
        QFETCH(QStringList, lines);
        const std::optional<int> parsed = DayReference::parse(lines);
        QTEST(parsed.value_or(-1), "n0");
    }

    void tableFiles() {
        // The last line is day 10; a twelfth cell without its padding still reads.
        QString folder = writeTable("Table1.dat", 10, {{{10, 12}, "Sp 4"}, {{1, 1}, "Lu 7"}});
        QStringList titles;
        for (int h = 0; h < 12; ++h)
            titles << QStringLiteral("%1:00-%2:00")
                          .arg((23 + 2 * h) % 24, 2, 10, QLatin1Char('0'))
                          .arg((1 + 2 * h) % 24, 2, 10, QLatin1Char('0'));
        TextFile::writeLines(folder + "/timeint.DAT", {titles.join("  ")});
        QStringList lines = TextFile::readLines(folder + "/Table1.dat");
        lines[9] = lines[9].trimmed();
        TextFile::writeLines(folder + "/Table1.dat", lines);

        OpenPointTables tables;
        QString error;
        QVERIFY(tables.load(folder, OpenPointMethod::byIndex(OpenPointMethod::Soaring), &error));
        QCOMPARE(tables.columnTitles().first(), "23:00-01:00");
        QCOMPARE(tables.columnTitles().last(), "21:00-23:00");
        QCOMPARE(tables.grid(0).cell(12, 10), "Sp 4  ");
        QCOMPARE(tables.grid(0).cell(1, 1), "Lu 7  ");
        QCOMPARE(tables.grid(0).cell(1, 11), QString()); // no day 11
        QCOMPARE(OpenPointListing::list(OpenPointMethod::byIndex(OpenPointMethod::Soaring), tables,
                                        12, C::cycleDay(50, 10))
                     .size(),
                 2);

        // A table short of its cycle fails the load, names the file, and keeps what was loaded.
        lines.removeLast();
        TextFile::writeLines(folder + "/Table1.dat", lines);
        QVERIFY(!tables.load(folder, OpenPointMethod::byIndex(OpenPointMethod::Soaring), &error));
        QCOMPARE(error, "Table1.dat");
        QCOMPARE(tables.grid(0).cell(12, 10), "Sp 4  ");
        // A missing table of the four of the midday-midnight method fails it too.
        QVERIFY(!tables.load(folder, OpenPointMethod::byIndex(OpenPointMethod::MiddayMidnight),
                             &error));
        QCOMPARE(error, "Table30.dat");
    }

    void listing_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<QStringList>("cells"); // grids A..D at the tested cell
        QTest::addColumn<QStringList>("listed");
        const QString none = "nonono";
        QTest::newRow("a member opens its pair, in pair order")
            << 0 << QStringList{"Sp 4  "} << QStringList{"Pc 6", "Sp 4"};
        QTest::newRow("the other member too")
            << 1 << QStringList{"Per 6 "} << QStringList{"Pc 6", "Sp 4"};
        QTest::newRow("Lu 7") << 0 << QStringList{"Lu 7  "} << QStringList{"Ki 6", "Lu 7"};
        QTest::newRow("no point") << 0 << QStringList{none} << QStringList{};
        QTest::newRow("unknown code") << 0 << QStringList{"Xx 9  "} << QStringList{};
        QTest::newRow("a transport point under an eight method adds nothing")
            << 0 << QStringList{"Liv 2 "} << QStringList{};
        QTest::newRow("same point by stem and by branch")
            << 2 << QStringList{"Liv 2 ", none, "Liv 2 ", none}
            << QStringList{"Lv 2/stem", "Lv 2/branch"};
        QTest::newRow("grids B and D count as A and C")
            << 2 << QStringList{none, "Ki 1  ", none, "Ki 1  "}
            << QStringList{"Ki 1/stem", "Ki 1/branch"};
        QTest::newRow("listed in the order of the transport points")
            << 2 << QStringList{"Ki 1  ", "Liv 2 ", "St 45 ", none}
            << QStringList{"Lv 2/stem", "Ki 1/stem", "St 45/branch"};
        QTest::newRow("Gb 41 opened by the hour does not open Th 5")
            << 2 << QStringList{"Gb 41 ", none, none, none} << QStringList{"Gb 41/stem"};
        QTest::newRow("points added to the transport list")
            << 2 << QStringList{"Sl 2  ", "Per 5 ", "Liv 8 ", "Bl 65 "}
            << QStringList{"Si 2/stem", "Bl 65/branch", "Pc 5/stem", "Lv 8/branch"};
        QTest::newRow("the bladder's and triple burner's source points")
            << 2 << QStringList{"Bl 64 ", none, "Tb 4  ", none}
            << QStringList{"Bl 64/stem", "Th 4/branch"};
        QTest::newRow("a point the program does not know is said")
            << 2 << QStringList{"Xx 99 ", none, none, none} << QStringList{"unknown: Xx 99"};
    }
    void listing() {
        QFETCH(int, method);
        QFETCH(QStringList, cells);
        const OpenPointMethod &m = OpenPointMethod::byIndex(method);
        // The tested cell is day 3, column 5; the other cells hold a point that must not count.
        static const QStringList names = {"A.dat", "B.dat", "C.dat", "D.dat"};
        QString folder;
        OpenPointMethod probe = m;
        probe.tables.clear();
        for (int g = 0; g < m.tables.size(); ++g) {
            QMap<std::pair<int, int>, QString> map;
            for (int day = 1; day <= m.cycle; ++day)
                for (int h = 1; h <= 12; ++h)
                    map[{day, h}] = "Ki 6";
            map[{3, 5}] = cells.value(g, "nonono");
            folder = writeTable(names.at(g), m.cycle, map);
            probe.tables << names.at(g);
        }
        TextFile::writeLines(folder + "/TimeInt.dat", {QString(12 * 13, QLatin1Char(' '))});
        OpenPointTables tables;
        QVERIFY(tables.load(folder, probe));
        QStringList unknown;
        QStringList shown = codes(OpenPointListing::list(m, tables, 5, 3, &unknown));
        for (const QString &cell : std::as_const(unknown))
            shown.append(QStringLiteral("unknown: ") + cell);
        QTEST(shown, "listed");
    }

    void spelling_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("meridian");
        // clang-format off
        QTest::newRow("Liv") << "Liv 2 " << "Lv 2" << "Lv";
        QTest::newRow("Per") << "Per 6 " << "Pc 6" << "Pc";
        QTest::newRow("Tb") << "Tb 5  " << "Th 5" << "Th";
        QTest::newRow("Sl") << "Sl 3  " << "Si 3" << "Si";
        QTest::newRow("Ll") << "Ll 4  " << "Li 4" << "Li";
        QTest::newRow("Lj stays, counts as Li") << "Lj 3  " << "Lj 3" << "Li";
        QTest::newRow("Sj stays, counts as Si") << "Sj 1  " << "Sj 1" << "Si";
        QTest::newRow("Gb") << "Gb 41 " << "Gb 41" << "Gb";
        QTest::newRow("two-digit Lu") << "Lu 11 " << "Lu 11" << "Lu";
        // clang-format on
    }
    void spelling() {
        QFETCH(QString, cell);
        QFETCH(QString, listed);
        QCOMPARE(OpenPointCodes::listedCode(cell), listed);
        QTEST(OpenPointCodes::meridianOf(listed), "meridian");
    }

    void everyListedPointHasAPlaceOnItsPicture() {
        QList<OpenPoint> all;
        for (const auto &[first, second] : OpenPointCodes::confluentPairs())
            for (const QString &code : {first, second})
                all.append({OpenPoint::Confluent,
                            OpenPoint::NoQualifier,
                            code,
                            OpenPointCodes::listedCode(code),
                            {}});
        for (const QString &code : OpenPointCodes::transportPoints())
            all.append({OpenPoint::Transport,
                        OpenPoint::ByDayStem,
                        code,
                        OpenPointCodes::listedCode(code),
                        {}});
        QCOMPARE(all.size(), 8 + 67);
        for (const OpenPoint &point : all) {
            for (bool right : {false, true}) {
                const OpenPointMarkers::Place place = OpenPointMarkers::place(point, right);
                QVERIFY2(place.isValid(), qPrintable(point.code));
                const QSize size = OpenPointMarkers::referenceSize(place.picture);
                QVERIFY2(place.x >= 0 && place.x <= size.width() && place.y >= 0 &&
                             place.y <= size.height(),
                         qPrintable(point.code));
            }
        }
        // Si 3 is placed from the table of the list it came from.
        QCOMPARE(OpenPointMarkers::place(OpenPoint::Confluent, "Si 3", true).y, 288);
        QCOMPARE(OpenPointMarkers::place(OpenPoint::Transport, "Si 3", true).y, 284);
        // The left columns apply unless the right side is chosen.
        QCOMPARE(OpenPointMarkers::place(OpenPoint::Confluent, "Pc 6", false).x, 231);
        // A picture shown at twice its size, 10 pixels in.
        const OpenPointMarkers::Place place{3, 100, 200};
        QCOMPARE(OpenPointMarkers::position(QRect(10, 20, 558, 1108), place), QPoint(210, 420));
        QCOMPARE(OpenPointMarkers::widthForHeight(1, 489), 204);
        QCOMPARE(OpenPointMarkers::widthForHeight(4, 489), 211);
        QCOMPARE(OpenPointMarkers::widthForHeight(2, 978), 500);
    }

    void shippedTablesFollowTheClassicalReckoning() {
        const std::optional<int> n0 = DayReference::read(shippedData());
        QVERIFY(n0.has_value());
        QCOMPARE(C::cycleDay(QDate(2024, 2, 10), *n0, 60), sexagenaryDay(QDate(2024, 2, 10)));

        OpenPointTables tortoise;
        QVERIFY(tortoise.load(shippedData(),
                              OpenPointMethod::byIndex(OpenPointMethod::SacredTortoise)));
        for (int day = 1; day <= 60; ++day)
            for (int branch = 0; branch < 12; ++branch)
                QVERIFY2(OpenPointCodes::cellIs(tortoise.grid(0).cell(branch + 1, day),
                                                tortoisePoint(day, branch)),
                         qPrintable(
                             QStringLiteral("tortoise day %1 column %2").arg(day).arg(branch + 1)));
        // A jia-zi day at the zi hour opens Pc 6 with its partner Sp 4.
        const OpenPointMethod &m0 = OpenPointMethod::byIndex(OpenPointMethod::SacredTortoise);
        QCOMPARE(codes(OpenPointListing::list(m0, tortoise, 1,
                                              C::cycleDay(QDate(1949, 10, 1), *n0, 60))),
                 (QStringList{"Pc 6", "Sp 4"}));

        OpenPointTables soaring;
        QVERIFY(soaring.load(shippedData(), OpenPointMethod::byIndex(OpenPointMethod::Soaring)));
        for (int stem = 1; stem <= 10; ++stem)
            for (int branch = 0; branch < 12; ++branch)
                QVERIFY2(OpenPointCodes::cellIs(soaring.grid(0).cell(branch + 1, stem),
                                                soaringPoint(stem, branch)),
                         qPrintable(
                             QStringLiteral("soaring day %1 column %2").arg(stem).arg(branch + 1)));

        // Midday-midnight on a jia day (2024-02-10): at 19-21 the gall bladder's well point Gb 44
        // opens by the day's stem; by the hour the pericardium is drained at Pc 7 and the kidney,
        // whose hour has just passed, filled at Ki 7.
        OpenPointTables midday;
        const OpenPointMethod &m2 = OpenPointMethod::byIndex(OpenPointMethod::MiddayMidnight);
        QVERIFY(midday.load(shippedData(), m2));
        QCOMPARE(codes(OpenPointListing::list(m2, midday, C::columnOfPeriod(7),
                                              C::cycleDay(QDate(2024, 2, 10), *n0, 5))),
                 (QStringList{"Pc 7/branch", "Gb 44/stem", "Ki 7/branch"}));
        // At 03-05 the lung is drained at Lu 5 and the liver, whose hour has passed, filled at
        // Lv 8.
        const QStringList atDawn =
            codes(OpenPointListing::list(m2, midday, C::columnOfPeriod(11), 1));
        QVERIFY(atDawn.contains("Lu 5/branch"));
        QVERIFY(atDawn.contains("Lv 8/branch"));
        QCOMPARE(midday.columnTitles().at(0).trimmed(), "23:00-01:00");
    }

    void shippedTablesNameOnlyKnownPoints() {
        // Every filled cell must name a point its method lists, or a period would silently lose it.
        QStringList confluent;
        for (const auto &[first, second] : OpenPointCodes::confluentPairs())
            confluent << first << second;
        for (int index = 0; index < OpenPointMethod::Count; ++index) {
            const OpenPointMethod &method = OpenPointMethod::byIndex(index);
            const QStringList &known =
                method.listsTransportPoints() ? OpenPointCodes::transportPoints() : confluent;
            OpenPointTables tables;
            QVERIFY(tables.load(shippedData(), method));
            QCOMPARE(tables.gridCount(), method.tables.size());
            for (int g = 0; g < tables.gridCount(); ++g) {
                for (int day = 1; day <= method.cycle; ++day) {
                    for (int h = 1; h <= 12; ++h) {
                        const QString cell = tables.grid(g).cell(h, day);
                        QVERIFY2(cell.trimmed() == QLatin1String("nonono") ||
                                     known.contains(cell.trimmed()),
                                 qPrintable(QStringLiteral("%1 day %2 column %3: %4")
                                                .arg(method.tables.at(g))
                                                .arg(day)
                                                .arg(h)
                                                .arg(cell)));
                    }
                }
            }
        }
    }

private:
    // Writes a table of `days` lines into the scratch folder; `cells` fills given (day, H).

    QString writeTable(const QString &name, int days,
                       const QMap<std::pair<int, int>, QString> &cells) {
        const QString folder = m_env->scratch("tables");
        QStringList lines;
        for (int day = 1; day <= days; ++day) {
            QStringList row;
            for (int h = 1; h <= 12; ++h)
                row << cells.value({day, h}, "nonono");
            lines << OpenPointTables::lineOfCells(row);
        }
        TextFile::writeLines(folder + QLatin1Char('/') + name, lines);
        return folder;
    }
    TestEnvironment *m_env = nullptr;
};

QTEST_GUILESS_MAIN(TestOpenPoints)
#include "tst_open_points.moc"
