// The print page with a real base and the real browser: names that would break a script,
// recommendations of another language, refused names, templates kept and chosen again, and
// the composed report shown and written as PDF, in English and Russian.
#include "ChildWidget.h"
#include "DialogRecorder.h"
#include <QTextCursor>
#include <QImage>
#include "Screenshot.h"
#include "SeedBase.h"
#include "TestEnvironment.h"
#include "WebEngineTestMain.h"
#include "app/DataFolderSetup.h"
#include "app/Session.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "reports/PrintCatalogue.h"
#include "reports/PrintStore.h"
#include "reports/ReportFiles.h"
#include "reports/ReportTemplate.h"
#include "reports/TPrintForm.h"
#include "reports/PrintPanel.h"
#include "ryodoraku/ChannelCatalogue.h"
#include "ryodoraku/ChannelMarks.h"
#include "ryodoraku/SymptomMarksStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

namespace {

constexpr int LoadTimeout = 30000;

// A chart of our own in place of the graph pages.
bool drawPicture(int picture, const QString &path)
{
    QImage image(640, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(0x2f, 0x6f, 0xae), QColor(0xc0, 0x39, 0x2b), QColor(0x27, 0xae, 0x60)};
    for (int i = 0; i < 24; ++i) {
        const int h = 60 + (i * 37 + picture * 53) % 200;
        p.fillRect(20 + i * 25, 280 - h, 18, h, colours[(i + picture) % 3]);
    }
    p.setPen(QPen(Qt::darkGray, 2, Qt::DashLine));
    p.drawLine(10, 150, 630, 150);
    p.end();
    return image.save(path, "PNG");
}

} // namespace

class TestPrintPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void scriptBreakingNamesReachThePage_data();
    void scriptBreakingNamesReachThePage();
    void emptyNamesAreRefused_data();
    void emptyNamesAreRefused();
    void storedTemplateComesBack();
    void composedReport_data();
    void composedReport();

private:
    void makePanel();
    QVariant evaluate(const QString &script);
    bool loadPreview();

    TestEnvironment *m_env = nullptr;
    DataModule *m_data = nullptr;
    Session *m_session = nullptr;
    PrintCatalogue *m_catalogue = nullptr;
    ReportTemplate m_template;
    PrintPanel *m_panel = nullptr;
};

void TestPrintPanel::init()
{
    m_env = new TestEnvironment;
    DataFolderSetup::run();
    QVERIFY(Localization::setCurrentLanguage(QStringLiteral("English")));
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
    m_data = new DataModule;
    openSeedBase(*m_env, *m_data);
    m_session = new Session;
    m_catalogue = new PrintCatalogue(m_data);
    m_catalogue->setLanguage(QStringLiteral("English"));
    m_template = ReportTemplate::load();
}

void TestPrintPanel::cleanup()
{
    delete m_panel;
    m_panel = nullptr;
    delete m_catalogue;
    delete m_session;
    delete m_data;
    delete m_env;
}

void TestPrintPanel::makePanel()
{
    delete m_panel;
    m_panel = new PrintPanel(m_data, m_session, m_catalogue, &m_template);
    m_panel->resize(1020, 560);
    m_panel->show();
    m_panel->enter();
}

QVariant TestPrintPanel::evaluate(const QString &script)
{
    QVariant result;
    bool done = false;
    m_panel->preview()->view()->page()->runJavaScript(script, [&](const QVariant &v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&done] { return done; }, LoadTimeout))
        qWarning("no answer from the page");
    return result;
}

bool TestPrintPanel::loadPreview()
{
    QSignalSpy loaded(m_panel->preview(), &TPrintForm::reportLoaded);
    QTest::mouseClick(child<QPushButton>(m_panel, "PrintData"), Qt::LeftButton);
    return loaded.wait(LoadTimeout) && loaded.first().first().toBool();
}

void TestPrintPanel::scriptBreakingNamesReachThePage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("recommendation"); // a description line
    QTest::newRow("quotes and backslash") << "\"quoted\" \\ back" << "O'Neil" << "Don't \"skip\" C:\\meals";
    QTest::newRow("script end tag") << "Ann</script><b>" << "Lee" << "</script><script>alert(1)</script>";
    QTest::newRow("Cyrillic") << "Анна" << "Иванова" << "Пейте воду";
}

void TestPrintPanel::scriptBreakingNamesReachThePage()
{
    QFETCH(QString, name);
    QFETCH(QString, surname);
    QFETCH(QString, recommendation);
    m_session->setCurrentClient(addClient(*m_data, name, surname));
    QVERIFY(PrintStore(m_data).storeRecommendation({"Diet", recommendation + "\nsecond line", "English"}));
    makePanel();
    auto *model = qobject_cast<QStandardItemModel *>(child<QTableView>(m_panel, "DBGrid1")->model());
    QCOMPARE(model->rowCount(), 1);
    model->item(0, 0)->setCheckState(Qt::Checked);

    QVERIFY(loadPreview());
    QVERIFY(QTest::qWaitFor([this] { return evaluate("window.reportReady === true").toBool(); }, LoadTimeout));
    QCOMPARE(evaluate("name").toString(), QString(surname + ' ' + name));
    QCOMPARE(evaluate("recom_desc0_0").toString(), recommendation);
    QCOMPARE(evaluate("recom_desc0_count").toString(), QStringLiteral("2"));
    // The values are text on the page, never markup.
    QCOMPARE(evaluate("document.querySelectorAll('script').length").toInt(), 2);
    QVERIFY(evaluate("document.body.innerText").toString().contains(QString(surname + ' ' + name)));
}

void TestPrintPanel::emptyNamesAreRefused_data()
{
    QTest::addColumn<QString>("nameField");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("table");
    QTest::newRow("template") << "NewStencilName" << "sButton11" << "Please enter the name of the template." << "STENCILS";
    QTest::newRow("recommendation") << "NewRecomName" << "sButton15" << "Please enter the name of the recommendation."
                                    << "RECOMENDATION";
}

void TestPrintPanel::emptyNamesAreRefused()
{
    QFETCH(QString, nameField);
    QFETCH(QString, button);
    QFETCH(QString, message);
    QFETCH(QString, table);
    makePanel();
    DialogRecorder dialogs;
    child<QPlainTextEdit>(m_panel, "NewRecomDescription")->setPlainText("Walk");
    for (const QString &blank : {QString(), QStringLiteral("   ")}) {
        child<QLineEdit>(m_panel, nameField)->setText(blank);
        QTest::mouseClick(child<QPushButton>(m_panel, button), Qt::LeftButton);
    }
    QCOMPARE(dialogs.requests().size(), 2);
    QCOMPARE(dialogs.requests().at(0).text, message);
    QSqlQuery count(m_data->database());
    QVERIFY(count.exec("SELECT COUNT(*) FROM " + table) && count.next());
    QCOMPARE(count.value(0).toInt(), 0);
}

void TestPrintPanel::storedTemplateComesBack()
{
    makePanel();
    DialogRecorder dialogs;
    auto *order = child<QListWidget>(m_panel, "OrderBox");
    const QString symptoms = order->item(ReportSections::Symptom)->text();
    // Symptoms first, the birth date left out, a header line.
    order->setCurrentRow(ReportSections::Symptom);
    for (int i = 0; i < ReportSections::Symptom; ++i)
        QTest::mouseClick(child<QToolButton>(m_panel, "UpOrder"), Qt::LeftButton);
    order->item(2)->setCheckState(Qt::Unchecked); // birth date, moved down by one
    child<QTextEdit>(m_panel, "HeaderRich")->setPlainText("Dr. Smith, Riverside Clinic");
    child<QLineEdit>(m_panel, "NewStencilName")->setText("  Short  ");
    QTest::mouseClick(child<QPushButton>(m_panel, "sButton11"), Qt::LeftButton);
    QVERIFY(dialogs.requests().isEmpty());

    // A second template of the same name is refused.
    child<QLineEdit>(m_panel, "NewStencilName")->setText("Short");
    QTest::mouseClick(child<QPushButton>(m_panel, "sButton11"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), 1);

    auto *box = child<QComboBox>(m_panel, "StencilsBox");
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->currentText(), QStringLiteral("Short"));
    const QString kept = PrintQueue::build({{order->item(0)->text(), true}});
    QVERIFY(m_catalogue->stencils().value(0).queue.startsWith(kept.chopped(1)));
    QCOMPARE(m_catalogue->stencils().value(0).priority, 1);

    // The default template puts the natural order back and takes the mark away.
    box->setCurrentIndex(1);
    Q_EMIT box->activated(1);
    QCOMPARE(order->item(0)->text(), m_panel->captions().at(0));
    QCOMPARE(m_catalogue->stencils().value(0).priority, 0);

    // Chosen again, and on a new page (the one chosen last is preselected), it comes back whole.
    box->setCurrentIndex(0);
    Q_EMIT box->activated(0);
    makePanel();
    order = child<QListWidget>(m_panel, "OrderBox");
    QCOMPARE(child<QComboBox>(m_panel, "StencilsBox")->currentText(), QStringLiteral("Short"));
    QCOMPARE(order->item(0)->text(), symptoms);
    QCOMPARE(order->item(2)->checkState(), Qt::Unchecked);
    QCOMPARE(child<QTextEdit>(m_panel, "HeaderRich")->toPlainText(), QStringLiteral("Dr. Smith, Riverside Clinic"));

    // Deleted after the question.
    QTest::mouseClick(child<QPushButton>(m_panel, "sButton9"), Qt::LeftButton);
    QVERIFY(m_catalogue->stencils().isEmpty());
    QCOMPARE(child<QComboBox>(m_panel, "StencilsBox")->count(), 1);
}

void TestPrintPanel::composedReport_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("foreign"); // the other language's recommendation
    QTest::newRow("English") << "English" << "Russian";
    QTest::newRow("Russian") << "Russian" << "English";
}

void TestPrintPanel::composedReport()
{
    QFETCH(QString, language);
    QFETCH(QString, foreign);
    const bool russian = language == QLatin1String("Russian");
    QVERIFY(Localization::setCurrentLanguage(language));
    LanguageApplier::instance().apply(LanguageTexts::load(language));
    m_catalogue->setLanguage(language);

    // A client with a test and ticked symptoms, two recommendations in each language.
    const QString client = russian ? addClient(*m_data, "Анна", "Петрова") : addClient(*m_data, "Mary", "O'Neil");
    TestRecord test;
    test.codeClient = client;
    test.testDate = QDateTime(QDate(2026, 3, 14), QTime(10, 30));
    for (int i = 0; i < 24; ++i)
        test.values[size_t(i)] = 60 + (i * 29) % 70;
    QVERIFY(m_data->saveTest(test));
    ChannelMarks marks;
    loadCatalogueNames(marks, ChannelCatalogue::load());
    resetMarks(marks);
    for (int c = 0; c < 24; c += 5)
        marks[c].first = QStringLiteral("110&");
    QVERIFY(SymptomMarksStore::saveMarks(*m_data, client, test.codeTest, marks));
    m_session->setCurrentClient(client);
    m_session->setCurrentTest(test.codeTest);
    PrintStore store(m_data);
    const QString own = russian ? QStringLiteral("Питание") : QStringLiteral("Diet");
    QVERIFY(store.storeRecommendation({own, russian ? "Тёплая пища три раза в день.\nМеньше соли и сахара.\nПейте тёплую воду."
                                                    : "Warm meals three times a day.\nLess salt and sugar.\nDrink warm water.",
                                       language}));
    QVERIFY(store.storeRecommendation({russian ? "Сон" : "Sleep", russian ? "Ложитесь до 23:00." : "Go to bed before 11 pm.", language}));
    QVERIFY(store.storeRecommendation({"Foreign", "not for this language", foreign}));

    makePanel();
    m_panel->setSources({drawPicture,
                         [] {
                             return RecipeLines{{"Acupressure recipe", RecipeLine::Kind::Heading, true},
                                                {"Press", RecipeLine::Kind::Plain, false},
                                                {"LI4", RecipeLine::Kind::Point, false},
                                                {"and", RecipeLine::Kind::Plain, false},
                                                {"ST36", RecipeLine::Kind::Point, true},
                                                {"Not during pregnancy.", RecipeLine::Kind::Attention, true}};
                         },
                         {}});
    auto *model = qobject_cast<QStandardItemModel *>(child<QTableView>(m_panel, "DBGrid1")->model());
    QCOMPARE(model->rowCount(), 2); // the foreign one is not listed
    model->item(0, 0)->setCheckState(Qt::Checked);
    auto *header = child<QTextEdit>(m_panel, "HeaderRich");
    header->setHtml(russian ? "<p align=center><b>Клиника «Ясень»</b><br>Приём врача-рефлексотерапевта</p>"
                            : "<p align=center><b>Riverside Acupuncture Clinic</b><br>Dr. J. Smith, reflexologist</p>");
    // The clinic's logo goes in front of the header text and prints with it.
    const QString logo = m_env->scratch(QStringLiteral("logo")) + QStringLiteral("/logo.png");
    QImage mark(240, 240, QImage::Format_ARGB32);
    mark.fill(QColor(47, 93, 138));
    QVERIFY(mark.save(logo));
    header->moveCursor(QTextCursor::Start);
    {
        DialogRecorder picked(logo);
        child<QToolButton>(m_panel, "ImageRich")->click();
    }
    child<QTextEdit>(m_panel, "FooterRich")->setPlainText(russian ? "Тел. +7 495 000-00-00" : "Phone +44 20 0000 0000");
    child<QCheckBox>(m_panel, "MonitoringBox")->setChecked(false);
    QTest::qWait(100);
    saveScreenshot(m_panel, QStringLiteral("print-panel-") + language.toLower());

    QVERIFY(loadPreview());
    QVERIFY(QTest::qWaitFor([this] { return evaluate("window.reportReady === true").toBool(); }, LoadTimeout));
    QCOMPARE(evaluate("recom_count").toString(), QStringLiteral("2"));
    const QString text = evaluate("document.body.innerText").toString();
    QVERIFY(text.contains(own));
    QVERIFY(!text.contains(QStringLiteral("Foreign")));
    QVERIFY(text.contains(QStringLiteral("ST36")));
    // The logo, three charts, colour and frequency.
    QCOMPARE(evaluate("document.querySelectorAll('img').length").toInt(), 6);
    QCOMPARE(evaluate("header_pict_0").toString(), QStringLiteral("header_0.png"));
    QVERIFY(evaluate("header_style").toString().contains(QStringLiteral("bolder"))); // the text's, not the logo's
    QCOMPARE(QImage(ReportFiles::pictureFolder() + QStringLiteral("header_0.png")).height(), 80);
    QVERIFY(QTest::qWaitFor([this] {
        return evaluate("Array.from(document.images).every(function(i){return i.complete && i.naturalWidth>0;})").toBool();
    }, LoadTimeout));
    // Symptoms ticked on the cards of the test come out by meridian.
    QVERIFY(evaluate("parseInt(sympt_count)").toInt() > 0);

    TPrintForm *form = m_panel->preview();
    form->resize(900, 1100);
    QTest::qWait(400);
    saveScreenshot(form, QStringLiteral("print-preview-") + language.toLower());

    const QString pdf = m_env->scratch(QStringLiteral("pdf")) + QStringLiteral("/report.pdf");
    QSignalSpy saved(form, &TPrintForm::pdfSaved);
    form->savePdf(pdf);
    QVERIFY(saved.wait(LoadTimeout));
    QCOMPARE(saved.first().at(1).toBool(), true);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.size() > 1000);
    QVERIFY(file.read(5) == "%PDF-");
    const QString folder = qEnvironmentVariable("VANDREL_SCREENSHOTS");
    if (!folder.isEmpty()) {
        const QString copy = folder + QStringLiteral("/print-report-") + language.toLower() + QStringLiteral(".pdf");
        QFile::remove(copy); // a copy never replaces a file
        QFile::copy(pdf, copy);
    }
}

VANDREL_WEBENGINE_TEST_MAIN(TestPrintPanel)

#include "tst_print_panel.moc"
