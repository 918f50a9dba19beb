// The meridian analysis window as the practitioner meets it in the Analysis tab: a date without
// a test, ratios that cannot be formed, the words of each language, bars drawn from the mean,
// and the anatomy display with and without its library.
#include "ChildWidget.h"
#include "ClientTests.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"
#include "ryodoraku/AnalBarChart.h"
#include "ryodoraku/AnalRatioStrip.h"
#include "ryodoraku/AnatomyController.h"
#include "ryodoraku/MeridianAnalysis.h"
#include "ryodoraku/RidorakuPanel.h"
#include "ryodoraku/TAnalForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QTabWidget>
#include <QtTest>

namespace {

using Values = std::array<int, Channels::Count>;

// Channels in canonical order: LU PC HT SI TH LI SP LV KI BL GB ST, left then right.
enum { LU, PC, HT, SI, TH, LI, SP, LV, KI, BL, GB, ST };
constexpr int R = Channels::MeridianCount; // offset of the right side

const QStringList kStrips{QStringLiteral("LeftRightRatio"), QStringLiteral("YinYangRatio"),
                          QStringLiteral("UpperLowerRatio"), QStringLiteral("AutonomicRatio")};

Values spread() {
    Values v{};
    for (int i = 0; i < Channels::Count; ++i)
        v[size_t(i)] = 70 + (i * 37) % 61;
    return v;
}

} // namespace

class TestAnalForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void dateWithoutTestShowsEmptyPages();
    void ratioWithoutDenominator();
    void wordsFollowTheLanguage_data();
    void wordsFollowTheLanguage();
    void barsStartAtTheMean();
    void anatomyWithoutLibrary();
    void anatomyOpensAndCloses();

private:
    int addTest(const QDateTime &when, const Values &values,
                const QString &client = QStringLiteral("Q71")) {
        return m_f->add(when, values, client);
    }
    void openPage(const QString &client = QStringLiteral("Q71"));
    void everyPagePaints();
    TAnalForm *form() const { return qobject_cast<TAnalForm *>(m_page->analysisView()); }
    template <typename T> T *get(const QString &name) const { return child<T>(m_page.get(), name); }

    std::unique_ptr<ClientTests> m_f;
    std::unique_ptr<RidorakuPanel> m_page;
};

void TestAnalForm::init() {
    m_f = std::make_unique<ClientTests>();
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
    m_page = std::make_unique<RidorakuPanel>(&m_f->data, &m_f->session, &m_f->tests);
    m_page->setPercentSource([] { return QStringLiteral("10"); });
    m_page->resize(1020, 560);
}

void TestAnalForm::cleanup() {
    m_page.reset();
    m_f.reset();
}

void TestAnalForm::openPage(const QString &client) {
    m_f->choose(client);
    m_page->show();
    m_page->enter();
    m_page->AnalLabelClick();
}

void TestAnalForm::everyPagePaints() {
    for (int i = 0; i < form()->pages()->count(); ++i) {
        form()->pages()->setCurrentIndex(i);
        QVERIFY(!form()->grab().isNull());
    }
}

void TestAnalForm::dateWithoutTestShowsEmptyPages() {
    // A client without tests: the Analysis tab opens on nothing.
    openPage();
    QVERIFY(form());
    QCOMPARE(form()->analysis().hasTest, false);
    QVERIFY(!get<QLabel>("AnalDate")->text().isEmpty());

    // A date that no test carries, after a test was shown: nothing of that test remains.
    const QDateTime when(QDate(2024, 5, 1), QTime(9, 0));
    addTest(when, spread());
    m_page->enter();
    QVERIFY(form()->analysis().hasTest);
    QVERIFY(!get<AnalRatioStrip>("LeftRightRatio")->valueText().isEmpty());
    form()->FormShow(MeridianAnalysis::analyseTestAt(m_f->tests.tests(), when.addSecs(1)),
                     RidorakuPanel::dateText(when.addSecs(1)));
    for (const QString &strip : kStrips) {
        QVERIFY(get<AnalRatioStrip>(strip)->valueText().isEmpty());
        QVERIFY(get<AnalRatioStrip>(strip)->verdictText().isEmpty());
    }
    for (AnalBarChart *chart : form()->findChildren<AnalBarChart *>())
        QCOMPARE(chart->barCount(), 0);
    // The value cells are empty; the headings stay.
    struct Cells {
        const char *grid;
        int firstRow;
        QList<int> columns;
    };
    const Cells valueCells[] = {{"ElementGrid", 1, {1, 2, 3, 4}},
                                {"RatiosGrid", 0, {1, 4}},
                                {"ValuesGrid", 0, {1, 2}},
                                {"SumsGrid", 0, {1, 3}}};
    for (const Cells &cells : valueCells) {
        auto *table = get<QTableWidget>(QLatin1String(cells.grid));
        for (int r = cells.firstRow; r < table->rowCount(); ++r) {
            for (int c : cells.columns)
                QVERIFY2(table->item(r, c)->text().isEmpty(), cells.grid);
        }
        QVERIFY2(!table->item(0, 0)->text().isEmpty(), cells.grid);
    }
    // The bands are fixed and stay readable.
    auto *ratios = get<QTableWidget>("RatiosGrid");
    QCOMPARE(ratios->item(2, 2)->text(), QStringLiteral("0.90")); // two decimals, as every ratio
    QCOMPARE(ratios->item(4, 3)->text(), QStringLiteral("118"));
    everyPagePaints();
}

void TestAnalForm::ratioWithoutDenominator() {
    // Which ratios go unformed is the analysis' rule; here: their strips and review rows are
    // blank and the others shown. The right side all 0 leaves left/right and autonomic unformed.
    Values v = spread();
    for (int m = 0; m < Channels::MeridianCount; ++m)
        v[size_t(m + R)] = 0;
    addTest(QDateTime(QDate(2024, 5, 1), QTime(9, 0)), v);
    openPage();
    QVERIFY(form()->analysis().hasTest);

    const QStringList blank{QStringLiteral("LeftRightRatio"), QStringLiteral("AutonomicRatio")};
    for (const QString &name : kStrips) {
        const auto *s = get<AnalRatioStrip>(name);
        // Only the ratios that cannot be formed are blank; no "inf" or "nan" anywhere.
        QCOMPARE(s->valueText().isEmpty(), blank.contains(name));
        QCOMPARE(s->verdictText().isEmpty(), blank.contains(name));
        QVERIFY(!s->valueText().contains(QLatin1String("inf")) &&
                !s->valueText().contains(QLatin1String("nan")));
    }
    auto *review = get<QTableWidget>("RatiosGrid");
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(review->item(row, 1)->text().isEmpty(), row == 0 || row == 3);
        QCOMPARE(review->item(row, 4)->text().isEmpty(), row == 0 || row == 3);
    }
    QVERIFY(!review->item(4, 1)->text().isEmpty()); // the total body energy is always there
    everyPagePaints();
}

void TestAnalForm::wordsFollowTheLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("elementHeading"); // lang260
    QTest::addColumn<QString>("waterRow");       // lang270
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("tolerable");
    QTest::addColumn<QString>("autonomicBar"); // side first
    QTest::addColumn<QString>("excessBar");    // code first
    QTest::newRow("English") << QStringLiteral("English") << QStringLiteral("Element")
                             << QStringLiteral("Water (KI - BL)") << QStringLiteral("HIGH")
                             << QStringLiteral("Tolerable") << QStringLiteral("left LU")
                             << QStringLiteral("GB left");
    QTest::newRow("Russian") << QStringLiteral("Russian") << QStringLiteral("Элемент")
                             << QStringLiteral("Вода (KI - BL)") << QStringLiteral("ВЫСОКО")
                             << QStringLiteral("Допустимо") << QStringLiteral("лев. LU")
                             << QStringLiteral("GB лев.");
}

void TestAnalForm::wordsFollowTheLanguage() {
    QFETCH(QString, language);
    QFETCH(QString, elementHeading);
    QFETCH(QString, waterRow);
    QFETCH(QString, high);
    QFETCH(QString, tolerable);
    QFETCH(QString, autonomicBar);
    QFETCH(QString, excessBar);

    // Left 110 against right 100 on every meridian: left/right is exactly 1.1, HIGH, and every
    // element balanced (d = 0) but two: LI left 5 makes Metal d = 52.5 (Tolerable), and GB left
    // 215 keeps the left total while Wood turns to d = -52.5 (a bar of height 0).
    Values v{};
    for (int m = 0; m < Channels::MeridianCount; ++m) {
        v[size_t(m)] = 110;
        v[size_t(m + R)] = 100;
    }
    v[size_t(LI)] = 5;
    v[size_t(GB)] = 215;
    addTest(QDateTime(QDate(2024, 5, 1), QTime(9, 0)), v);
    openPage();
    LanguageApplier::instance().apply(LanguageTexts::load(language));

    auto *grid = get<QTableWidget>("ElementGrid");
    QCOMPARE(grid->item(0, 0)->text(), elementHeading);
    QCOMPARE(grid->item(6, 0)->text(), waterRow);
    QCOMPARE(grid->item(1, 3)->text(), QStringLiteral("52.5"));
    QCOMPARE(grid->item(1, 4)->text(), tolerable);
    // Earth (SP against ST) is balanced: no verdict and no bar of its own.
    QCOMPARE(grid->item(4, 3)->text(), QStringLiteral("0"));
    QVERIFY(grid->item(4, 4)->text().isEmpty());
    auto *elements = get<AnalBarChart>("ElementChart");
    QCOMPARE(elements->barCount(), 2);
    for (const AnalBarChart::Bar &bar : elements->groups().first().bars)
        QVERIFY(bar.code != grid->item(4, 0)->text().section(QLatin1Char(' '), 0, 0));

    // Bars are named in the language, the side word where each chart puts it.
    QCOMPARE(get<AnalBarChart>("AutonomicLeftChart")->groups().first().bars.first().name,
             autonomicBar);
    QCOMPARE(get<AnalBarChart>("ExcessChart")->groups().first().bars.first().name, excessBar);

    // The ratio is translated too, and the stale English words are gone.
    QVERIFY(form()->analysis().leftRight.value);
    QCOMPARE(get<AnalRatioStrip>("LeftRightRatio")->verdictText(), high);

    // Every caption from the language (that none is cut is the readable walk's check).
    QTabWidget *pages = form()->pages();
    for (int i = 0; i < pages->count(); ++i)
        QVERIFY(!pages->tabText(i).isEmpty());
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
}

void TestAnalForm::barsStartAtTheMean() {
    const Values v = spread();
    addTest(QDateTime(QDate(2024, 5, 1), QTime(9, 0)), v);
    openPage();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    const MeridianAnalysis &a = form()->analysis();

    struct ChartOf {
        const char *name;
        int bars;
    };
    const ChartOf charts[] = {{"MusculoskeletalChart", 24}, {"MetabolismChart", 24},
                              {"MentalChart", 24},          {"AutonomicLeftChart", 12},
                              {"AutonomicRightChart", 12},  {"ExcessChart", 24}};
    for (int page = 0; page < form()->pages()->count(); ++page) {
        form()->pages()->setCurrentIndex(page);
        for (const ChartOf &c : charts) {
            auto *chart = get<AnalBarChart>(QLatin1String(c.name));
            if (!chart->isVisible())
                continue;
            QCOMPARE(chart->barCount(), c.bars);
            QCOMPARE(chart->origin(), a.mean);
            // Bars above the mean end at the same line bars below it start from.
            std::optional<double> above, below;
            for (int g = 0; g < chart->groups().size(); ++g) {
                for (int i = 0; i < chart->groups().at(g).bars.size(); ++i) {
                    const AnalBarChart::Bar &bar = chart->groups().at(g).bars.at(i);
                    const QRectF r = chart->barRect(g, i);
                    QVERIFY(chart->rect().contains(r.toAlignedRect()));
                    QCOMPARE(bar.color, bar.value > a.mean ? QColor(255, 0, 0) : QColor(0, 128, 0));
                    if (bar.value > a.mean)
                        above = r.bottom();
                    else
                        below = r.top();
                }
            }
            QVERIFY(above && below);
            QVERIFY(qAbs(*above - *below) < 0.01);
        }
    }
    // Largest first on the excess page.
    const auto &excess = get<AnalBarChart>("ExcessChart")->groups();
    QCOMPARE(excess.first().bars.first().value, double(*std::max_element(v.begin(), v.end())));
    QCOMPARE(excess.last().bars.last().value, double(*std::min_element(v.begin(), v.end())));
}

void TestAnalForm::anatomyWithoutLibrary() {
    DialogRecorder dialogs;
    const QDateTime a(QDate(2024, 5, 1), QTime(9, 0)), b(QDate(2024, 5, 2), QTime(9, 0));
    addTest(a, spread());
    addTest(b, spread());
    openPage();
    m_page->anatomy()->setLibraryPath(m_f->env.scratch(QStringLiteral("nowhere")) +
                                      QStringLiteral("/anatomy"));
    auto *box = get<QCheckBox>("cb3D");

    for (int attempt = 0; attempt < 2; ++attempt) {
        dialogs.clear();
        box->click();
        QCOMPARE(dialogs.requests().size(), 1);
        QCOMPARE(dialogs.requests().first().text, QStringLiteral("File not found: anatomy.so"));
        QVERIFY(!box->isChecked());
        QVERIFY(!m_page->anatomy()->isOpen());
    }
    // The view goes on: another date, the other tab, leaving and coming back ask nothing more.
    dialogs.clear();
    m_page->dateList()->setCurrentIndex(1);
    QVERIFY(form()->analysis().hasTest);
    m_page->sLabel8Click();
    QCOMPARE(m_page->cards().size(), 24);
    m_page->leave();
    m_page->enter();
    QVERIFY(dialogs.requests().isEmpty());
}

void TestAnalForm::anatomyOpensAndCloses() {
    DialogRecorder dialogs;
    const QString client = addClient(m_f->data, QStringLiteral("Anna"), QStringLiteral("Berg"));
    Values low = spread();
    low[size_t(LU)] = 200; // far above the mean: the darkest red
    const QDateTime a(QDate(2024, 5, 1), QTime(9, 0)), b(QDate(2024, 5, 2), QTime(9, 0));
    addTest(a, spread(), client);
    addTest(b, low, client);
    openPage(client);
    m_page->anatomy()->setLibraryPath(TestEnvironment::installDir() + QStringLiteral("/anatomy"));

    auto *box = get<QCheckBox>("cb3D");
    box->click();
    QVERIFY(dialogs.requests().isEmpty());
    QVERIFY(m_page->anatomy()->isOpen());
    QPointer<QObject> first = m_page->anatomy()->display();
    QCOMPARE(first->property("bodyModel").toInt(), 1);
    QCOMPARE(qobject_cast<QWidget *>(first.data())->windowTitle(), QStringLiteral("3D"));

    // Another date shows the other test in a new display; the old one is gone.
    QCOMPARE(m_page->dateList()->currentText(), RidorakuPanel::dateText(b)); // newest first
    QCOMPARE(first->property("regionColors").toMap().value(QStringLiteral("4")).toString(),
             QColor(106, 0, 0).name());
    m_page->dateList()->setCurrentIndex(m_page->dateList()->findText(RidorakuPanel::dateText(a)));
    QVERIFY(first.isNull());
    QObject *second = m_page->anatomy()->display();
    QVERIFY(second);
    QVERIFY(second->property("regionColors").toMap().value(QStringLiteral("4")).toString() !=
            QColor(106, 0, 0).name());
    if (auto *display = qobject_cast<QWidget *>(second)) {
        QVERIFY(QTest::qWaitForWindowExposed(display));
        // However little the screen, the box that closes it stays in sight.
        m_page->anatomy()->place();
        const QRect boxOnScreen(box->mapToGlobal(QPoint(0, 0)), box->size());
        QVERIFY(!display->frameGeometry().intersects(boxOnScreen));
    }

    // Unticking closes it; leaving the view closes it and coming back with the box ticked
    // opens it again.
    box->click();
    QVERIFY(!m_page->anatomy()->isOpen());
    box->click();
    QVERIFY(m_page->anatomy()->isOpen());
    m_page->leave();
    QVERIFY(!m_page->anatomy()->isOpen());
    QVERIFY(box->isChecked());
    m_page->enter();
    QVERIFY(m_page->anatomy()->isOpen());

    // Closed from its own frame, the display unticks the box: another date does not reopen it.
    qobject_cast<QWidget *>(m_page->anatomy()->display())->close();
    QTRY_VERIFY(!box->isChecked());
    QVERIFY(!m_page->anatomy()->isOpen());
    m_page->dateList()->setCurrentIndex(m_page->dateList()->findText(RidorakuPanel::dateText(b)));
    QVERIFY(!m_page->anatomy()->isOpen());
    box->click();
    QVERIFY(m_page->anatomy()->isOpen());

    // The display speaks the interface language.
    box->click();
    QVERIFY(Localization::setCurrentLanguage(QStringLiteral("Russian")));
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("Russian")));
    box->click();
    QObject *russian = m_page->anatomy()->display();
    QVERIFY(russian);
    QCOMPARE(russian->property("windowTitle").toString(), QStringLiteral("3D"));
    const QVariantMap words = russian->property("captions").toMap();
    QCOMPARE(words.value(QStringLiteral("head")).toString(), QStringLiteral("Голова"));
    QCOMPARE(words.value(QStringLiteral("female")).toString(), QStringLiteral("Женский"));
    QVERIFY(Localization::setCurrentLanguage(QStringLiteral("English")));
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
    box->click();
    QVERIFY(!m_page->anatomy()->isOpen());
    QVERIFY(dialogs.requests().isEmpty());
}

QTEST_MAIN(TestAnalForm)
#include "tst_anal_form.moc"
