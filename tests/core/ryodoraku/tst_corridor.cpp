// The corridor rule with its rounding, the channel filters and their order, the card texts,
// and the shipped channel catalogue.
#include "common/IniFile.h"
#include "records/TestRecord.h"
#include "ryodoraku/ChannelCard.h"
#include "ryodoraku/ChannelCatalogue.h"
#include "ryodoraku/ChannelResultsBuilder.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "ryodoraku/GraphOrders.h"
#include "TestEnvironment.h"

#include <QtTest>

#include <limits>

namespace {

TestRecord testOf(std::initializer_list<int> first, int rest) {
    TestRecord test;
    test.values.fill(rest);
    int i = 0;
    for (const int v : first)
        test.values[size_t(i++)] = v;
    return test;
}

// Channels in slot order of the filled cells.
QStringList shown(const ChannelResults &cells) {
    QStringList names;
    for (const ChannelResult &slot : cells) {
        if (slot.filled())
            names.append(Channels::name(slot.channel) + QLatin1Char(':') +
                         QString::number(slot.deviation));
    }
    return names;
}

} // namespace

Q_DECLARE_METATYPE(ChannelFilter::Toggles)

class TestCorridor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void halfWidth_data() {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("mean");
        QTest::addColumn<int>("expected");
        QTest::newRow("10% of 100 comes out one lower") << 10 << 100 << 9;
        QTest::newRow("10% of 55") << 10 << 55 << 5;
        QTest::newRow("mean 0") << 10 << 0 << 0;
    }
    void halfWidth() {
        QFETCH(int, percent);
        QFETCH(int, mean);
        QFETCH(int, expected);
        QCOMPARE(CorridorEvaluation::halfWidthOf(percent, mean), expected);
        // The same through a whole test whose 24 values average to the mean.
        const CorridorEvaluation corridor = evaluate(testOf({}, mean), percent);
        QCOMPARE(corridor.mean, mean);
        QCOMPARE(corridor.halfWidth, expected);
    }

    void halfWidthTheSameOnEveryMachine() {
        // Today's corridors were computed in the x87 extended format. Where this machine's long
        // double is that format, every percentage against every usual mean must agree with it;
        // elsewhere the fixed figures above and the sums below still hold.
        long long sum = 0;
        for (int percent = 1; percent <= 99; ++percent) {
            for (int mean = 0; mean <= 400; ++mean) {
                const int width = CorridorEvaluation::halfWidthOf(percent, mean);
                sum += width;
                if constexpr (std::numeric_limits<long double>::digits == 64) {
                    volatile long double factor = 0.01L;
                    const long double perPercent = factor * static_cast<long double>(percent);
                    const int extended =
                        static_cast<int>(perPercent * static_cast<long double>(mean));
                    if (width != extended)
                        QFAIL(qPrintable(QStringLiteral("%1% of %2: %3, not %4")
                                             .arg(percent)
                                             .arg(mean)
                                             .arg(width)
                                             .arg(extended)));
                }
            }
        }
        // A checksum of the whole grid as this x87 machine computes it.
        QCOMPARE(sum, 3950383LL);
        QCOMPARE(CorridorEvaluation::halfWidthOf(1, 100), 1);
        // 0.01 x 50 rounds to exactly one half.
        QCOMPARE(CorridorEvaluation::halfWidthOf(50, 400), 200);
    }

    void classes_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        // P = 10, mean 100: the corridor is 91..109, both bounds inside.
        QTest::newRow("110 high") << 110 << int(ConductionClass::High);
        QTest::newRow("109 on the upper bound") << 109 << int(ConductionClass::Normal);
        QTest::newRow("91 on the lower bound") << 91 << int(ConductionClass::Normal);
        QTest::newRow("90 low") << 90 << int(ConductionClass::Low);
    }
    void classes() {
        QFETCH(int, value);
        QFETCH(int, expected);
        // Four channels at 110, 109, 91, 90 and twenty at 100 keep the mean at 100.
        const CorridorEvaluation corridor = evaluate(testOf({110, 109, 91, 90}, 100), 10);
        QCOMPARE(corridor.mean, 100);
        QCOMPARE(int(classify(value, corridor)), expected);
        // The graphs paint the same rule.
        const QColor expectedColor = expected == int(ConductionClass::High) ? QColor(Qt::red)
                                     : expected == int(ConductionClass::Low)
                                         ? QColor(Qt::blue)
                                         : QColor(0x00, 0x80, 0x00);
        QCOMPARE(GraphOrders::barColor(value, corridor), expectedColor);
        // The client page's count of channels outside: the two beyond the bounds only.
        QCOMPARE(corridor.outsideCount(), 2);
    }

    void deviations() {
        const ChannelCatalogue catalogue = ChannelCatalogue::load(ChannelCatalogue::defaultPath());
        // Mean 55: 60 is 9 % above, 50 is 9 % below (truncated toward zero).
        TestRecord test = testOf({60, 50}, 55);
        QCOMPARE(evaluate(test, 10).mean, 55);
        const auto cells = buildChannelResults(catalogue, test, 10, ChannelFilter());
        QVERIFY(cells);
        const auto card = [&](int channel) {
            for (const ChannelResult &slot : *cells) {
                if (slot.channel == channel)
                    return cardFor(slot, catalogue, TextLookup());
            }
            return ChannelCard();
        };
        QCOMPARE(card(0).valueText, "60/55");
        QCOMPARE(card(0).percentText, "9%");
        QCOMPARE(card(1).percentText, "-9%");

        // All channels at 0: nothing deviates and nothing fails.
        const auto zero = buildChannelResults(catalogue, testOf({}, 0), 10, ChannelFilter());
        QVERIFY(zero);
        QCOMPARE(shown(*zero).size(), 24);
        for (const ChannelResult &slot : *zero) {
            QCOMPARE(slot.deviation, 0);
            QCOMPARE(slot.conductionClass, int(ConductionClass::Normal));
        }
    }

    void filtersAndOrder_data() {
        QTest::addColumn<ChannelFilter::Toggles>("toggles");
        QTest::addColumn<QStringList>("expected");
        // LLU +20 (high), LPC -20 (low), LHT -5 (normal), LSP -2, LLV +5; the rest balance at 100.
        using T = ChannelFilter::Toggles;
        const auto off = [](std::initializer_list<bool T::*> flags) {
            T toggles;
            for (bool T::*flag : flags)
                toggles.*flag = false;
            return toggles;
        };
        QTest::newRow("only HightCond off: low channels, most negative first")
            << off({&T::hightCond}) << QStringList{"LPC:-20"};
        QTest::newRow("only LawCond off: high channels")
            << off({&T::lawCond}) << QStringList{"LLU:20"};
        QTest::newRow("both sides off: nothing")
            << off({&T::leftOrgan, &T::rightOrgan}) << QStringList();
        QTest::newRow("both classes off: nothing")
            << off({&T::hightCond, &T::lawCond}) << QStringList();
        T allCond = off({&T::hightCond, &T::lawCond, &T::rightOrgan, &T::yanOrgan});
        allCond.allCond = true;
        // Yin channels of the left side, scattered among empty cells, still in order.
        QTest::newRow("AllCond, left yin, ascending")
            << allCond << QStringList{"LPC:-20", "LHT:-5", "LSP:-2", "LKI:0", "LLV:5", "LLU:20"};
        QTest::newRow("left yin, descending")
            << off({&T::rightOrgan, &T::yanOrgan})
            << QStringList{"LLU:20", "LLV:5", "LKI:0", "LSP:-2", "LHT:-5", "LPC:-20"};
    }
    void filtersAndOrder() {
        QFETCH(ChannelFilter::Toggles, toggles);
        const ChannelCatalogue catalogue = ChannelCatalogue::load(ChannelCatalogue::defaultPath());
        // Order: LLU LPC LHT LSI LTH LLI LSP LLV ...; the last channel balances the sum.
        TestRecord test = testOf({120, 80, 95, 100, 100, 100, 98, 105}, 100);
        test.values[23] = 100 * 24 - (120 + 80 + 95 + 100 * 3 + 98 + 105) - 100 * 15;
        QCOMPARE(evaluate(test, 10).mean, 100);
        const auto cells =
            buildChannelResults(catalogue, test, "10", ChannelFilter::fromToggles(toggles));
        QVERIFY(cells);
        QTEST(shown(*cells), "expected");
    }

    void badInputChangesNothing() {
        const TestRecord test = testOf({}, 50);
        const ChannelCatalogue shipped = ChannelCatalogue::load(ChannelCatalogue::defaultPath());
        QString error;
        QVERIFY(!buildChannelResults(shipped, test, "ten", ChannelFilter(), &error));
        QVERIFY2(error.contains("ten"), qPrintable(error));
        for (const char *text : {"", "0", "100", "1.5"})
            QVERIFY(!CorridorEvaluation::parsePercent(text));
        QCOMPARE(CorridorEvaluation::parsePercent(" 12 "), std::optional<int>(12));

        // A section without id stops the build with a message naming the section; one that the
        // side filter leaves out does not matter.
        const ChannelCatalogue broken = ChannelCatalogue::fromIni(IniFile::fromText(
            "[1]\nid=LLU\nleft=1\nIn=1\n[2]\nleft=1\nIn=1\n[13]\nid=RXX\nleft=0\nIn=1\n"));
        error.clear();
        QVERIFY(!buildChannelResults(broken, test, 10, ChannelFilter(), &error));
        QVERIFY2(error.contains("[2]"), qPrintable(error));
        ChannelFilter rightOnly;
        rightOnly.side = 0;
        QVERIFY(!buildChannelResults(broken, test, 10, rightOnly, &error));
        QVERIFY2(error.contains("RXX"), qPrintable(error));
        // Sections 3-12, 14-24 have no side (3): only the "both" filter shows them.
        ChannelFilter leftOnly;
        leftOnly.side = 1;
        leftOnly.group = 1;
        ChannelCatalogue firstOnly = broken;
        firstOnly.entry(1).id = "LPC";
        const auto cells = buildChannelResults(firstOnly, test, 10, leftOnly);
        QVERIFY(cells);
        QCOMPARE(shown(*cells), (QStringList{"LLU:0", "LPC:0"}));
    }

    void cardTexts() {
        ChannelCatalogue catalogue;
        ChannelEntry &e = catalogue.entry(0);
        e.name = "LU9";
        e.meridian = "MerLU";
        e.organ = "OrganLU";
        e.activ = "3-5";
        e.color = "300;20;30;";
        e.firstL = "WeakA&WeakB&#";
        e.seccondL = "WeakC&Unknown"; // no closing "#": what is there is used
        e.firstH = "StrongA&#";
        e.seccondH = QString();
        const QHash<QString, QString> language = {
            {"MerLU", "Lung meridian"}, {"WeakA", "Short of breath"}, {"WeakB", "Weak voice"},
            {"WeakC", "Dry skin"},      {"StrongA", "Cough"},         {"LowConduction", "Weak"},
        };
        const TextLookup texts = [&](const QString &key) { return language.value(key); };

        ChannelResult slot;
        slot.channel = 0;
        slot.text = "99/100";
        slot.deviation = -1; // below the mean but inside the corridor
        slot.conductionClass = int(ConductionClass::Normal);
        ChannelCard card = cardFor(slot, catalogue, texts);
        QCOMPARE(card.percentText, "-1%");
        QCOMPARE(card.firstItems, (QStringList{"Short of breath", "Weak voice"}));
        QCOMPARE(card.secondItems, (QStringList{"Dry skin", "Delete"}));
        QCOMPARE(card.conductionText, "Normal Conduction");
        QCOMPARE(card.conductionColor, QColor(0x67, 0xBB, 0x24));
        QCOMPARE(card.meridianName, "Lung meridian");
        QVERIFY(card.pointName.endsWith(QLatin1String(", left"))); // both sides have a card
        QCOMPARE(card.activityText, "Activ 3-5 hour");
        QCOMPARE(card.cardColor, QColor(44, 20, 30)); // each number modulo 256

        slot.deviation = 0;
        slot.conductionClass = int(ConductionClass::Low);
        card = cardFor(slot, catalogue, texts);
        QCOMPARE(card.percentText, "0%");
        QCOMPARE(card.firstItems, QStringList{"Cough"});
        QVERIFY(card.secondItems.isEmpty());
        QCOMPARE(card.conductionText, "Weak");
        QCOMPARE(card.conductionColor, QColor(0x42, 0x9A, 0xE5));
        slot.conductionClass = int(ConductionClass::High);
        QCOMPARE(cardFor(slot, catalogue, texts).conductionColor, QColor(0xFF, 0x4C, 0x4C));

        QVERIFY(!catalogueColor(QString()).isValid()); // the card keeps its design colours
        QCOMPARE(catalogueColor("200;100"), QColor(200, 100, 0));
    }

    void shippedCatalogue() {
        const ChannelCatalogue catalogue = ChannelCatalogue::load(ChannelCatalogue::defaultPath());
        QVERIFY(catalogue.existed());
        int yin = 0;
        for (int c = 0; c < Channels::Count; ++c) {
            const ChannelEntry &e = catalogue.entry(c);
            QCOMPARE(catalogue.columnOf(c), c);
            QCOMPARE(e.left, c < 12 ? 1 : 0);
            yin += e.in == 1;
            QVERIFY(!e.name.isEmpty() && !e.meridian.isEmpty() && !e.organ.isEmpty());
            QVERIFY(catalogueColor(e.color).isValid());
            for (const QString *list : {&e.firstL, &e.seccondL, &e.firstH, &e.seccondH})
                QVERIFY2(list->endsWith(QLatin1Char('#')) && list->count(QLatin1Char('&')) >= 2,
                         qPrintable(e.name));
            // The two sides of one meridian share their texts.
            if (c >= 12)
                QCOMPARE(e.firstL, catalogue.entry(c - 12).firstL);
        }
        QCOMPARE(yin, 12);
    }

private:
    TestEnvironment m_env; // the install folder with the shipped catalogue
};

QTEST_GUILESS_MAIN(TestCorridor)
#include "tst_corridor.moc"
