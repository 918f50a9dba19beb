// The meridian analysis: ratio verdicts on their bounds, the element differences, the
// organ-clock scale, the excess order on ties, and the anatomy display's grades.
#include "records/TestRecord.h"
#include "ryodoraku/AnatomyGrading.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "ryodoraku/MeridianAnalysis.h"
#include "TestEnvironment.h"

#include <QtTest>

using Values = std::array<int, Channels::Count>;
Q_DECLARE_METATYPE(Values)

namespace {

Values filled(int left, int right) {
    Values v{};
    for (int c = 0; c < Channels::Count; ++c)
        v[size_t(c)] = Channels::isLeft(c) ? left : right;
    return v;
}

Values with(Values v, std::initializer_list<std::pair<const char *, int>> set) {
    for (const auto &[name, value] : set)
        v[size_t(Channels::indexOf(QLatin1String(name)))] = value;
    return v;
}

} // namespace

class TestAnalysis : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_env = std::make_unique<TestEnvironment>(); }

    void leftRightRatio_data() {
        QTest::addColumn<Values>("values");
        QTest::addColumn<QString>("value"); // empty: no value shown
        QTest::addColumn<QString>("verdict");
        // clang-format off
        QTest::newRow("exactly 1.1") << filled(110, 100) << "1.1" << "HIGH";
        QTest::newRow("exactly 0.8") << filled(80, 100) << "0.8" << "LOW";
        QTest::newRow("just inside high") << filled(109, 100) << "1.09" << "Normal";
        QTest::newRow("just inside low") << filled(81, 100) << "0.81" << "Normal";
        QTest::newRow("rounded to 1.1") << filled(1099, 1000) << "1.1" << "HIGH";
        QTest::newRow("right side all zero") << filled(10, 0) << "" << "";
        // clang-format on
    }
    void leftRightRatio() {
        QFETCH(Values, values);
        QFETCH(QString, value);
        const auto a = MeridianAnalysis::analyse(values);
        QCOMPARE(a.leftRight.value ? MeridianAnalysis::numberText(*a.leftRight.value) : QString(),
                 value);
        QTEST(a.leftRight.verdictKey, "verdict");
    }

    void otherRatios() {
        // Hand yin 120 each, everything else 100: upper 1320 / lower 1200.
        const auto a = MeridianAnalysis::analyse(with(
            filled(100, 100),
            {{"LLU", 120}, {"LPC", 120}, {"LHT", 120}, {"RLU", 120}, {"RPC", 120}, {"RHT", 120}}));
        QCOMPARE(*a.upperLower.value, 1.1);
        QCOMPARE(a.upperLower.verdictKey, "Normal");
        QCOMPARE(*a.yinYang.value, 1.1);
        QCOMPARE(a.yinYang.verdictKey, "HIGH");
        QCOMPARE(*a.autonomic.value, 1.2); // 360 / 300
        QCOMPARE(a.autonomic.verdictKey, "HIGH");
        QCOMPARE(a.mean, 105.0);
        QCOMPARE(a.bodyEnergy.verdictKey, "Normal");

        // A group side summing to 0: no autonomic ratio, the rest still formed.
        const auto z =
            MeridianAnalysis::analyse(with(filled(100, 100), {{"LSP", 0}, {"LLV", 0}, {"LKI", 0}}));
        QVERIFY(!z.autonomic.value);
        QVERIFY(z.autonomic.verdictKey.isEmpty());
        QVERIFY(z.leftRight.value);

        const auto none = MeridianAnalysis::analyse(filled(0, 0));
        QVERIFY(!none.leftRight.value && !none.yinYang.value && !none.upperLower.value);
        QCOMPARE(none.bodyEnergy.verdictKey, "LOW");
    }

    void meanIsTwoDecimals_data() {
        QTest::addColumn<Values>("values");
        QTest::addColumn<double>("mean");
        QTest::addColumn<int>("scale");
        QTest::newRow("4.5") << with(filled(4, 5), {}) << 4.5 << 12;
        QTest::newRow("30") << filled(30, 30) << 30.0 << 2;
        QTest::newRow("100/24") << with(filled(4, 4), {{"LLU", 8}}) << 4.17 << 12;
        QTest::newRow("9.5") << filled(9, 10) << 9.5 << 6;
        QTest::newRow("19") << filled(19, 19) << 19.0 << 2;
        QTest::newRow("50") << filled(50, 50) << 50.0 << 1;
    }
    void meanIsTwoDecimals() {
        QFETCH(Values, values);
        QFETCH(double, mean);
        QFETCH(int, scale);
        const auto a = MeridianAnalysis::analyse(values);
        QCOMPARE(a.mean, mean);
        QCOMPARE(a.circadianScale, scale);
        QCOMPARE(a.circadianCircles.size(), 3);
        QCOMPARE(a.circadianCircles.first().x1, int(200 - scale * mean));
        QCOMPARE(a.circadianSectors.first().code, "LV");
        QCOMPARE(a.circadianSectors.first().radius, scale * ((values[7] + values[19]) / 2));
    }

    void elementDifference_data() {
        QTest::addColumn<int>("luLeft");
        QTest::addColumn<int>("luRight");
        QTest::addColumn<double>("d");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<bool>("hasBar");
        QTest::addColumn<double>("bar");
        QTest::addColumn<QColor>("color");
        // LI is 100/100, so the difference is (LU sum - 200) / 2.
        QTest::newRow("d = 0") << 100 << 100 << 0.0 << "" << false << 0.0 << QColor();
        QTest::newRow("d = 0.5") << 100 << 101 << 0.5 << "Normal" << true << 0.5
                                 << QColor(0, 0, 255);
        QTest::newRow("d = 52.5") << 200 << 105 << 52.5 << "Tolerable" << true << 52.5
                                  << QColor(0, 128, 0);
        QTest::newRow("d = 97.5") << 200 << 195 << 97.5 << "Imbalanced" << true << 97.5
                                  << QColor(255, 0, 0);
        QTest::newRow("d = -0.5") << 100 << 99 << -0.5 << "LowOrImbalanced" << true << -0.5
                                  << QColor(255, 0, 0);
        QTest::newRow("d = -22.5, the bar as the table says")
            << 80 << 75 << -22.5 << "LowOrImbalanced" << true << -22.5 << QColor(255, 0, 0);
    }
    void elementDifference() {
        QFETCH(int, luLeft);
        QFETCH(int, luRight);
        QFETCH(double, d);
        QFETCH(bool, hasBar);
        const auto a =
            MeridianAnalysis::analyse(with(filled(100, 100), {{"LLU", luLeft}, {"RLU", luRight}}));
        const auto &metal = a.elements[0];
        QCOMPARE(metal.elementKey, "Metal");
        QCOMPARE(metal.internalSum, luLeft + luRight);
        QCOMPARE(metal.externalSum, 200);
        QCOMPARE(metal.d, d);
        QTEST(metal.verdictKey, "verdict");
        QCOMPARE(metal.hasBar, hasBar);
        QTEST(metal.barValue, "bar");
        if (hasBar)
            QTEST(metal.barColor, "color");
        QCOMPARE(a.elements[5].elementKey, "Water");
        QCOMPARE(a.elements[5].internalCode, "KI");
        QCOMPARE(a.elements[5].externalCode, "BL");
    }

    void excessKeepsChannelOrderOnTies() {
        const auto a = MeridianAnalysis::analyse(
            with(filled(50, 50), {{"RLU", 90}, {"LPC", 90}, {"LST", 10}}));
        QCOMPARE(a.excessDeficient.size(), 24);
        QStringList labels;
        for (const auto &b : a.excessDeficient)
            labels.append(b.label);
        QCOMPARE(labels.mid(0, 5),
                 (QStringList{"LU right", "PC left", "LU left", "PC right", "HT left"}));
        QCOMPARE(labels.last(), "ST left");
        QCOMPARE(a.excessDeficient.first().color, QColor(255, 0, 0));
        QCOMPARE(a.excessDeficient.at(2).color, QColor(0, 128, 0)); // 50 is below the mean
    }

    void systemSeries() {
        const auto a = MeridianAnalysis::analyse(with(filled(50, 60), {{"LSI", 70}}));
        QCOMPARE(a.musculoskeletal.first.size(), 12);
        QCOMPARE(a.musculoskeletal.first.at(1).number, 3);
        QCOMPARE(a.musculoskeletal.first.at(1).label, "PC");
        QCOMPARE(a.musculoskeletal.second.last().number, 24);
        QCOMPARE(a.metabolism.first.at(6).number, 13);
        QCOMPARE(a.metabolism.second.first().label, "left SI");
        QCOMPARE(a.metabolism.second.first().color, QColor(255, 0, 0));
        QCOMPARE(a.mental.second.first().number, 13);
        QCOMPARE(a.autonomicRight.second.last().label, "right ST");
        QCOMPARE(a.autonomicLeft.first.size(), 6);
    }

    void corruptReadingsDoNotOverflow() {
        // A damaged base may hold any 32-bit value; the sums must still come out right.
        constexpr int big = std::numeric_limits<int>::max();
        const auto a = MeridianAnalysis::analyse(filled(big, big));
        QCOMPARE(a.elements[0].internalSum, 2 * qint64(big));
        QCOMPARE(a.elements[0].d, 0.0);
        QCOMPARE(a.autonomic.value.value_or(0), 1.0);
        QCOMPARE(a.leftRight.verdictKey, "Normal");
        for (const auto &sector : a.circadianSectors)
            QCOMPARE(sector.value, qint64(big));
    }

    void dateNoTestCarriesGivesEmptyAnalysis() {
        TestRecord t;
        t.testDate = QDateTime(QDate(2026, 3, 1), QTime(10, 0));
        t.values = filled(100, 100);
        const auto a = MeridianAnalysis::analyseTestAt({t}, t.testDate.addSecs(1));
        QVERIFY(!a.hasTest);
        QVERIFY(a.excessDeficient.isEmpty() && a.musculoskeletal.first.isEmpty());
        QVERIFY(!a.leftRight.value);
        QVERIFY(MeridianAnalysis::analyseTestAt({t}, t.testDate).hasTest);
    }

    void anatomyGrade_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("mean");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("grade");
        QTest::newRow("on the mean") << 100 << 100 << "0%" << 3;
        QTest::newRow("band edge above") << 111 << 100 << "11%" << 3;
        QTest::newRow("just above band") << 112 << 100 << "12%" << 2;
        QTest::newRow("band edge below") << 89 << 100 << "11%" << 3;
        QTest::newRow("just below band") << 88 << 100 << "12%" << 4;
        QTest::newRow("high") << 141 << 100 << "41%" << 1;
        QTest::newRow("very high, limited") << 300 << 100 << "100%" << 0;
        QTest::newRow("very low") << 29 << 100 << "71%" << 6;
        QTest::newRow("rounded up") << 31 << 30 << "4%" << 3;
        QTest::newRow("zero mean") << 0 << 0 << "0%" << 3;
    }
    void anatomyGrade() {
        QFETCH(int, value);
        QFETCH(int, mean);
        QTEST(QStringLiteral("%1%").arg(AnatomyGrading::percentOf(value, mean)), "text");
        QTEST(AnatomyGrading::gradeOf(value, mean), "grade");
    }

    void anatomyRegions() {
        // Mean 100. PC equally far on both sides: the right side colours it.
        const auto g = AnatomyGrading::grade(with(filled(100, 100), {{"LPC", 125},
                                                                     {"RPC", 75},
                                                                     {"LHT", 150},
                                                                     {"RHT", 90},
                                                                     {"LLU", 10},
                                                                     {"RLU", 190},
                                                                     {"LGB", 60}}));
        QCOMPARE(g.mean, 100);
        QCOMPARE(g.regions.size(), 14);
        auto region = [&g](int number) {
            for (const auto &r : g.regions)
                if (r.region == number)
                    return r;
            return AnatomyGrading::Region{};
        };
        QCOMPARE(region(2).channel, Channels::indexOf("RPC"));
        QCOMPARE(region(2).colorValue, AnatomyGrading::colorValue(AnatomyGrading::gradeColor(4)));
        QCOMPARE(region(1).channel, Channels::indexOf("LHT"));
        QCOMPARE(region(4).colorValue, 151 << 16); // LU left 90 % low: dark blue
        QCOMPARE(region(18).colorValue, 106);      // LU right 90 % high: dark red
        QCOMPARE(g.lines[0].text, "-90%");
        QCOMPARE(g.lines[0].color, QColor(0, 0, 151));

        // The 3D window's numbers are the cards' numbers, also where rounding up and
        // truncating part (mean 99: 146 is 47.47 % above it; the grade still counts 48).
        TestRecord test;
        test.values = filled(99, 99);
        test.values[size_t(Channels::indexOf("LLV"))] = 146;
        test.values[size_t(Channels::indexOf("RLV"))] = 52;
        const auto uneven = AnatomyGrading::grade(test.values);
        const CorridorEvaluation corridor = evaluate(test, 10);
        QCOMPARE(uneven.mean, corridor.mean);
        for (int c = 0; c < Channels::Count; ++c)
            QCOMPARE(uneven.lines[size_t(c)].text,
                     QString::number(corridor.deviation(test.values[size_t(c)])) +
                         QLatin1Char('%'));

        QCOMPARE(AnatomyGrading::bodyModelOf("1"), 1);
        QCOMPARE(AnatomyGrading::bodyModelOf("0"), 0);
        QCOMPARE(AnatomyGrading::bodyModelOf("2"), 0);
        QCOMPARE(AnatomyGrading::bodyModelOf(QString()), 0);
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
