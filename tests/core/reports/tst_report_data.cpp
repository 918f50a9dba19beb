// The report data: the template texts kept in STENCILS, which sections print in which order,
// recommendation and acupressure lines, header styles, and the symptom lines of a test.
#include "records/TestRecord.h"
#include "reports/ReportData.h"
#include "reports/ReportSections.h"
#include "reports/SymptomLines.h"
#include "ryodoraku/ChannelCatalogue.h"
#include "ryodoraku/ChannelMarks.h"
#include "ryodoraku/GraphOrders.h"
#include "TestEnvironment.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

// The values of a composed report by variable name (the tests use plain values only).
QHash<QString, QString> values(const ReportScript &script)
{
    static const QRegularExpression line("^var (\\w+)='(.*)';$");
    QHash<QString, QString> vars;
    for (const QString &l : script.lines()) {
        const QRegularExpressionMatch m = line.match(l);
        if (m.hasMatch())
            vars.insert(m.captured(1), m.captured(2));
    }
    return vars;
}

ReportInput allSections()
{
    ReportInput in;
    in.enabled.fill(true);
    in.order = ReportSections::naturalOrder();
    return in;
}

} // namespace

class TestReportData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void queueBothWays_data()
    {
        QTest::addColumn<QList<QueueEntry>>("entries");
        QTest::addColumn<QString>("text");
        QTest::newRow("ticked and not")
            << QList<QueueEntry>{{"A", true}, {"B", false}} << "A#1#B#0#&";
        QTest::newRow("empty list") << QList<QueueEntry>{} << "&";
    }
    void queueBothWays()
    {
        QFETCH(QList<QueueEntry>, entries);
        QFETCH(QString, text);
        QCOMPARE(PrintQueue::build(entries), text);
        QCOMPARE(PrintQueue::parse(text), entries);

        // The recommendation names use the same separators.
        QStringList names;
        for (const QueueEntry &e : entries)
            names.append(e.caption);
        QCOMPARE(PrintQueue::parseNames(PrintQueue::buildNames(names)), names);
    }

    void printOrder_data()
    {
        QTest::addColumn<QString>("queue");
        QTest::addColumn<QList<int>>("order");
        // Captions of the sections 0..3 below: Name, Birth, Registered, Tested.
        QTest::newRow("list order, not natural") << "Tested#1#Name#1#&" << QList<int>{3, 0};
        QTest::newRow("unticked entry left out") << "Name#1#Birth#0#Tested#1#&" << QList<int>{0, 3};
        QTest::newRow("caption of another language") << "ФИО#1#Birth#1#&" << QList<int>{1};
        QTest::newRow("entry twice") << "Name#1#Name#1#&" << QList<int>{0};
        QTest::newRow("damaged tail") << "Birth#1#Name#&" << QList<int>{1};
    }
    void printOrder()
    {
        QFETCH(QString, queue);
        QFETCH(QList<int>, order);
        const QStringList captions{"Name", "Birth", "Registered", "Tested"};
        QCOMPARE(PrintQueue::order(PrintQueue::parse(queue), captions), order);

        // A section ticked but missing from the order, or in the order but not ticked, is not
        // printed: the page prints exactly the sections listed whose flag is on.
        ReportInput in;
        in.order = order;
        in.enabled.at(0) = true;
        in.enabled.at(2) = true;
        const QHash<QString, QString> v = values(ReportData::compose(in));
        QCOMPARE(v.value("stencil_count"), QString::number(order.size()));
        for (int k = 0; k < order.size(); ++k)
            QCOMPARE(v.value(QStringLiteral("stencil_val_%1").arg(k)),
                     QString::number(order.at(k)));
        QCOMPARE(v.value("enable2"), "1");
        QCOMPARE(v.value("enable3"), "0");
    }

    void recommendationLines_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QStringList>("lines"); // empty and unticked: recom_desc0_0 = "0"
        // clang-format off
        QTest::newRow("three lines, CRLF and blanks")
            << " Walk daily \r\nDrink water\n\tSleep early\r\n\r\n" << true
            << QStringList{"Walk daily", "Drink water", "Sleep early"};
        QTest::newRow("not ticked") << "Walk\nSwim" << false << QStringList{};
        // clang-format on
    }
    void recommendationLines()
    {
        QFETCH(QString, description);
        QFETCH(bool, ticked);
        QFETCH(QStringList, lines);
        ReportInput in = allSections();
        in.recommendations = {{"First", description, ticked}, {"Second", "x", false}};
        QHash<QString, QString> v = values(ReportData::compose(in));
        QCOMPARE(v.value("recom_count"), "2");
        QCOMPARE(v.value("recom_name0"), "First");
        QCOMPARE(v.value("recom_desc1_0"), "0");
        if (ticked) {
            QCOMPARE(v.value("recom_desc0_count"), QString::number(lines.size()));
            for (int j = 0; j < lines.size(); ++j)
                QCOMPARE(v.value(QStringLiteral("recom_desc0_%1").arg(j)), lines.at(j));
            QVERIFY(!v.contains(QStringLiteral("recom_desc0_%1").arg(lines.size())));
        } else {
            QCOMPARE(v.value("recom_desc0_0"), "0");
            QVERIFY(!v.contains("recom_desc0_count"));
        }

        // Without the recommendation section nothing of the catalogue goes into the report.
        in.enabled.at(ReportSections::Recomendation) = false;
        v = values(ReportData::compose(in));
        QCOMPARE(v.value("recom_count"), "0");
        QVERIFY(!v.contains("recom_name0"));
    }

    void acupressureLines()
    {
        ReportInput in = allSections();
        in.acupressure = {{"Recipe", RecipeLine::Kind::Heading, true},
                          {"LU7", RecipeLine::Kind::Point, false},
                          {"not during pregnancy", RecipeLine::Kind::Attention, true}};
        QHash<QString, QString> v = values(ReportData::compose(in));
        QCOMPARE(v.value("acupress_count_seans"), "3");
        QCOMPARE(QStringList({v.value("acupress_type_0"), v.value("acupress_type_1"),
                              v.value("acupress_type_2")}),
                 QStringList({"1", "3", "2"}));
        QCOMPARE(QStringList({v.value("acupress_srt_0"), v.value("acupress_srt_1"),
                              v.value("acupress_srt_2")}),
                 QStringList({"1", "0", "1"}));
        QCOMPARE(v.value("acupress_val_1"), "LU7");

        in.enabled.at(ReportSections::Acupress) = false;
        v = values(ReportData::compose(in));
        QCOMPARE(v.value("acupress_count_seans"), "0");

        // The separator lines the screen draws between parts of a recipe are not printed.
        in.enabled.at(ReportSections::Acupress) = true;
        in.acupressure = {{"------------------------------------", RecipeLine::Kind::Plain, true},
                          {"Recipe", RecipeLine::Kind::Heading, true},
                          {" ---- ", RecipeLine::Kind::Plain, true},
                          {"LU7 - press 2-3 min", RecipeLine::Kind::Point, true}};
        v = values(ReportData::compose(in));
        QCOMPARE(v.value("acupress_count_seans"), "2");
        QCOMPARE(v.value("acupress_val_0"), "Recipe");
        QCOMPARE(v.value("acupress_val_1"), "LU7 - press 2-3 min");
    }

    void chartCellsPairNamesWithValues()
    {
        // Every value different, so a name beside another channel's value cannot pass.
        TestRecord test;
        for (int i = 0; i < Channels::Count; ++i)
            test.values[size_t(i)] = 40 + i * 7;
        const CorridorEvaluation corridor = evaluate(test, 10);
        for (const QList<int> &order : {GraphOrders::sideBySide(), GraphOrders::sideAfterSide()}) {
            const QList<ReportInput::ChartCell> cells =
                ReportData::chartCells(test, corridor, order);
            QCOMPARE(cells.size(), Channels::Count);
            for (int slot = 0; slot < cells.size(); ++slot) {
                const int channel = Channels::indexOf(cells.at(slot).name);
                QCOMPARE(channel, order.at(slot));
                QCOMPARE(cells.at(slot).value, test.values[size_t(channel)]);
                // The class is the one the screen gives the value.
                const ConductionClass shown = classify(cells.at(slot).value, corridor);
                QCOMPARE(cells.at(slot).conduction, shown == ConductionClass::Low    ? -1
                                                    : shown == ConductionClass::High ? 1
                                                                                     : 0);
            }
        }

        // Only a chart that was drawn hands its cells to the page.
        ReportInput in = allSections();
        in.histogram.cells = ReportData::chartCells(test, corridor, GraphOrders::sideBySide());
        in.general.cells = in.histogram.cells;
        in.histogram.drawn = true;
        const QHash<QString, QString> v = values(ReportData::compose(in));
        QCOMPARE(v.value("chart_hist"), "1");
        QCOMPARE(v.value("chart_general"), "0");
        QCOMPARE(v.value("hist_cells"), "24");
        QCOMPARE(v.value("general_cells"), "0");
        QCOMPARE(v.value("hist_name_1"), Channels::name(GraphOrders::sideBySide().at(1)));
        QCOMPARE(v.value("hist_value_1"),
                 QString::number(test.values[size_t(GraphOrders::sideBySide().at(1))]));
        QCOMPARE(v.value("hist_class_0"), "low");
        QCOMPARE(v.value("hist_class_23"), "high");
    }

    void reportFileName_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("file");
        // clang-format off
        QTest::newRow("plain")
            << "Petrova" << "Anna" << QDate(2026, 3, 14) << "Petrova Anna 14.03.2026";
        QTest::newRow("Cyrillic")
            << "Петрова" << "Анна" << QDate(2026, 12, 7) << "Петрова Анна 07.12.2026";
        QTest::newRow("no test") << "O'Neil" << "Mary" << QDate() << "O'Neil Mary";
        QTest::newRow("separators") << "A/B\\C" << "x:y*?\"<>|" << QDate() << "A_B_C x_y______";
        QTest::newRow("leading dots") << "..hidden" << "" << QDate() << "hidden";
        QTest::newRow("nothing") << "  " << "" << QDate() << "report";
        // clang-format on
    }
    void reportFileName()
    {
        QFETCH(QString, surname);
        QFETCH(QString, name);
        QFETCH(QDate, date);
        QTEST(ReportData::fileName(surname, name, date), "file");
    }

    void bandStyle_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("header");
        QTest::addColumn<QString>("style");
        // The editor writes Sans 10.
        // clang-format off
        QTest::newRow("header 12 pt") << "Sans" << 12 << false << true << "font-size:12pt;";
        QTest::newRow("header 11 pt") << "Sans" << 11 << false << true << "";
        QTest::newRow("footer 9 pt") << "Sans" << 9 << false << false << "font-size:9pt;";
        QTest::newRow("footer as editor") << "Sans" << 10 << false << false << "";
        QTest::newRow("other family, bold")
            << "Serif" << 10 << true << true << "font-family:Serif;font-weight: bolder;";
        QTest::newRow("quote in family")
            << "Evil\"Font;" << 10 << false << true << "font-family:EvilFont;";
        // clang-format on
    }
    void bandStyle()
    {
        QFETCH(QString, family);
        QFETCH(int, size);
        QFETCH(bool, bold);
        QFETCH(bool, header);
        QTEST(
            ReportData::bandStyle({family, size, bold, false}, {"Sans", 10, false, false}, header),
            "style");
    }

    // A print order stored before the progress section existed lists twelve sections. It must
    // still compose exactly the data it composed then: the page of an old order is unchanged.
    void orderStoredEarlierComposesAsBefore()
    {
        const QStringList captions{"Name",       "Born",      "Registered", "Tested",
                                   "Circle",     "Histogram", "General",    "Advice",
                                   "Monitoring", "Treatment", "Press",      "Symptoms"};
        ReportInput in;
        in.captions = captions;
        in.order = PrintQueue::order(
            PrintQueue::parse("Name#1#Tested#1#Histogram#1#Advice#1#Press#1#Symptoms#1#Born#0#&"),
            captions);
        for (const int id : in.order)
            in.enabled.at(size_t(id)) = true;
        in.surname = "Lee";
        in.name = "Ann";
        in.testDate = QDateTime(QDate(2026, 5, 2), QTime(9, 15));
        in.picturesTaken = true;
        in.histogram = {true, {{"LU", 80, 1}, {"RLU", 40, -1}}};
        in.recommendations = {{"Walk", "Daily\nslowly", true}, {"Diet", "Less salt", false}};
        in.acupressure = {{"Press", RecipeLine::Kind::Heading, true}};
        in.symptoms = {{"Lung", "LU9", {"cough"}}};
        in.accept = true;
        in.footer.lines = {"Clinic"};
        const QString composed = ReportData::compose(in).text();
        // Composed by the version before the progress section.
        QFile golden(QStringLiteral(VANDREL_TEST_SOURCE_DIR)
                     + QStringLiteral("/tests/core/reports/golden/order_stored_earlier.js"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(composed, QString::fromUtf8(golden.readAll()));
    }

    void symptomLines()
    {
        TestEnvironment env;
        const ChannelCatalogue catalogue = ChannelCatalogue::load();
        QVERIFY(catalogue.existed());
        TestRecord test;
        test.codeTest = 1;
        test.values.fill(100);
        test.values[3] = 160; // LSI far above the corridor: its card comes first
        test.values[7] = 40;  // LLV far below

        ChannelMarks marks;
        loadCatalogueNames(marks, catalogue);
        resetMarks(marks);
        marks[3].first = "101&";
        marks[7].second = "01&";
        const QList<SymptomGroup> groups =
            symptomGroups(catalogue, test, "10", marks, [](const QString &) { return QString(); });
        // Channels without a ticked symptom stay out; the order is the cards' order.
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups.at(0).point, catalogue.entry(3).name + ", left"); // with its side
        QCOMPARE(groups.at(0).entries.size(), 2);
        QVERIFY(groups.at(1).point.startsWith(catalogue.entry(7).name));
        QCOMPARE(groups.at(1).entries.size(), 1);

        QString error;
        QVERIFY(symptomGroups(catalogue, test, "ten", marks, {}, &error).isEmpty());
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReportData)
#include "tst_report_data.moc"
