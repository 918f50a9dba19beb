// The settings page's rules: the measuring order check and the mapping between points and grid
// cells, what a save writes when the order is refused, and the "item&item&#" list format.
#include "app/MeasuringOrder.h"
#include "app/SettingsValues.h"
#include "common/IniFile.h"
#include "common/SeparatedList.h"
#include "TestEnvironment.h"

#include <QtTest>

using Problem = MeasuringOrder::Problem;
using Cell = MeasuringOrder::Cell;
Q_DECLARE_METATYPE(MeasuringOrder::Problem)

namespace {

// The options the program ships with; the order of keys 1-24 is left rows 1-12, then right.
IniFile shippedOptions() {
    const QStringList order = QStringLiteral("1 3 5 15 13 17 11 9 7 23 21 19 "
                                             "2 4 6 16 14 18 12 10 8 24 22 20")
                                  .split(QLatin1Char(' '));
    QString text = QStringLiteral("[language]\nvalue=English\n[meridian]\n1=Lung\n[Order]\n");
    for (int i = 0; i < order.size(); ++i)
        text += QStringLiteral("%1=%2\n").arg(i + 1).arg(order.at(i));
    return IniFile::fromText(
        text +
        QStringLiteral("[medium]\nval=10\n[password]\nval=\ndo=0\n[test]\ninfo=\nsound=1\n"));
}

Cell cellOfKey(int key) {
    return {(key - 1) % 12 + 1, key <= 12 ? MeasuringOrder::Left : MeasuringOrder::Right};
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orderCheck_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<Problem>("problem");
        QTest::newRow("shipped order") << 0 << QString() << Problem::None;
        QTest::newRow("blanks around a number") << 4 << " 15 " << Problem::None;
        // Key 15 held 6; 5 is key 3's number already, on the same row.
        QTest::newRow("5 twice") << 15 << "5" << Problem::Duplicate;
        QTest::newRow("25") << 22 << "25" << Problem::OutOfRange;
        QTest::newRow("0") << 1 << "0" << Problem::OutOfRange;
        QTest::newRow("empty cell") << 7 << QString() << Problem::Empty;
        QTest::newRow("abc") << 20 << "abc" << Problem::NotANumber;
        QTest::newRow("decimal") << 20 << "10.0" << Problem::NotANumber;
        QTest::newRow("sign") << 20 << "+10" << Problem::NotANumber;
        QTest::newRow("huge") << 20 << "99999999999" << Problem::OutOfRange;
    }
    void orderCheck() {
        QFETCH(int, key);
        QFETCH(QString, value);
        QFETCH(Problem, problem);
        MeasuringOrder order = MeasuringOrder::load(shippedOptions());
        if (key > 0)
            order.setText(cellOfKey(key), value);
        const MeasuringOrder::Check check = order.check();
        QCOMPARE(check.problem, problem);
        if (problem != Problem::None)
            QCOMPARE(check.cell, cellOfKey(key));
        QCOMPARE(order.isValid(), problem == Problem::None);
    }

    void pointsMapToTheirCells() {
        MeasuringOrder order = MeasuringOrder::load(shippedOptions());
        // The shipped order starts with the lung on both sides and ends on the stomach, right.
        QCOMPARE(order.cellOf(1), std::optional(Cell{1, MeasuringOrder::Left}));
        QCOMPARE(order.cellOf(2), std::optional(Cell{1, MeasuringOrder::Right}));
        QCOMPARE(order.cellOf(24), std::optional(Cell{10, MeasuringOrder::Right}));
        QCOMPARE(MeasuringOrder::channelOf(*order.cellOf(24)), "RST");
        QCOMPARE(MeasuringOrder::channelOf(*order.cellOf(3)), "LPC");
        QCOMPARE(order.orderOf(12, MeasuringOrder::Right), 20);
        for (int point = 1; point <= 24; ++point) {
            const auto cell = order.cellOf(point);
            QVERIFY(cell);
            QCOMPARE(order.orderOf(cell->row, cell->side), point);
        }
        QVERIFY(!order.cellOf(0));
        QVERIFY(!order.cellOf(25));
        // A number held twice names no cell rather than the first of the two.
        order.setText({2, MeasuringOrder::Left}, "1");
        QVERIFY(!order.cellOf(1));
    }

    void refusedOrderKeepsStoredOrderRestIsWritten() {
        TestEnvironment env;
        const QString path = env.scratch("options") + "/Options.ini";
        for (const bool validOrder : {false, true}) {
            QVERIFY(shippedOptions().saveAs(path));
            IniFile ini(path);
            SettingsValues values = SettingsValues::load(ini);
            QCOMPARE(values.meridianNames[0], "Lung");
            QCOMPARE(values.middlePercent, 10);
            QVERIFY(values.soundSignal);

            values.meridianNames[0] = validOrder ? "Lungs" : "Lu";
            values.meridianNames[11] = QStringLiteral("Bladder");
            values.middlePercent = validOrder ? 30 : 15;
            values.askPassword = true;
            values.soundSignal = false;
            values.testInfo = QStringLiteral("probe B");
            values.treatmentInfo = QStringLiteral("note");
            // Swapping two numbers keeps the order valid; writing 5 twice does not.
            values.order.setText(cellOfKey(1), "3");
            values.order.setText(cellOfKey(2), validOrder ? "1" : "5");
            QCOMPARE(values.save(ini).orderWritten, validOrder);
            QVERIFY(ini.save());

            const IniFile saved(path);
            const SettingsValues reread = SettingsValues::load(saved);
            QCOMPARE(reread.meridianNames, values.meridianNames);
            QCOMPARE(reread.middlePercent, values.middlePercent);
            QVERIFY(reread.askPassword && !reread.soundSignal);
            QCOMPARE(reread.testInfo, "probe B");
            QCOMPARE(reread.treatmentInfo, "note");
            QCOMPARE(saved.readString("Order", "1"), validOrder ? "3" : "1");
            QCOMPARE(saved.readString("Order", "2"), validOrder ? "1" : "3");
            QVERIFY(reread.order.isValid());
            // No password value given: the stored one stays.
            QVERIFY(saved.hasKey("password", "val"));
        }
    }

    void memoTextCannotBreakTheFile() {
        IniFile ini = shippedOptions();
        SettingsValues values = SettingsValues::load(ini);
        values.treatmentInfo = QStringLiteral("first line\r\n[password]\nval=x\ndo=1");
        values.save(ini);
        QCOMPARE(ini.readString("password", "val"), QString());
        QCOMPARE(ini.readString("password", "do"), "0");
        QCOMPARE(ini.readString("treatment", "info"), "first line [password] val=x do=1");

        // A corridor the evaluation cannot use is neither loaded nor written.
        ini.writeString("medium", "val", "150");
        QCOMPARE(SettingsValues::load(ini).middlePercent, SettingsValues::DefaultPercent);
        values.middlePercent = 0;
        QVERIFY(!values.save(ini).percentWritten);
        QCOMPARE(ini.readString("medium", "val"), "150");
    }

    void separatedList_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<bool>("written"); // join() gives the text back
        QTest::newRow("empty list") << "#" << QStringList() << true;
        QTest::newRow("answers") << "2&0&1&#" << QStringList{"2", "0", "1"} << true;
        QTest::newRow("decimals") << "12.5&0.01&#" << QStringList{"12.5", "0.01"} << true;
        QTest::newRow("empty item keeps its place") << "&3&#" << QStringList{"", "3"} << true;
        QTest::newRow("empty text") << "" << QStringList() << false;
        QTest::newRow("no # at the end") << "2&0&1" << QStringList{"2", "0", "1"} << false;
        QTest::newRow("text after #") << "7&#8&" << QStringList{"7"} << false;
        QTest::newRow("single item, no separator") << "10" << QStringList{"10"} << false;
    }
    void separatedList() {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QFETCH(bool, written);
        QCOMPARE(SeparatedList::split(text), items);
        if (written)
            QCOMPARE(SeparatedList::join(items), text);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
