// The print page with a real base and the real browser: names that would break a script,
// recommendations of another language, refused names, templates kept and chosen again, and
// the composed report shown and written as PDF, in English and Russian.
#include "ChildWidget.h"
#include "ClientTests.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "records/Channels.h"
#include "reports/MethodNote.h"
#include "reports/MethodNoticeForm.h"
#include "reports/PrintCatalogue.h"
#include "reports/PrintPanel.h"
#include "reports/PrintStore.h"
#include "reports/ReportCharts.h"
#include "reports/ReportData.h"
#include "reports/ReportFiles.h"
#include "reports/ReportSections.h"
#include "reports/ReportTemplate.h"
#include "reports/TPrintForm.h"
#include "ryodoraku/ChannelCatalogue.h"
#include "ryodoraku/ChannelMarks.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "ryodoraku/CorridorPercent.h"
#include "ryodoraku/GraphOrders.h"
#include "ryodoraku/ProgressFigures.h"
#include "ryodoraku/SymptomMarksStore.h"
#include "StoredTest.h"
#include "WebEngineTestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

constexpr int LoadTimeout = 30000;

// A picture of our own in place of the colour and frequency programmes.
bool drawPicture(int picture, const QString &path)
{
    QImage image(640, 300, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(picture * 40 % 360, 120, 200));
    return image.save(path, "PNG");
}

// The text of a PDF file as pdftotext lays it out.
QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The channel tables under the charts as the PDF shows them: each line of 24 channel names
// with the line of 24 numbers that follows it, as (name, value) pairs.
QList<QList<std::pair<QString, int>>> channelTables(const QString &text)
{
    QList<QList<std::pair<QString, int>>> tables;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList names = lines.at(i).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (names.size() != Channels::Count || Channels::indexOf(names.first()) < 0)
            continue;
        int j = i + 1;
        while (j < lines.size() && lines.at(j).trimmed().isEmpty())
            ++j;
        const QStringList numbers = lines.value(j).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QList<std::pair<QString, int>> table;
        for (int k = 0; k < names.size() && k < numbers.size(); ++k)
            table.append({names.at(k), numbers.at(k).toInt()});
        tables.append(table);
    }
    return tables;
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
    void emptyNamesAreRefused();
    void storedTemplateComesBack();
    void composedReportInRussian();
    void emptySectionsAreLeftOut();
    void sectionTicksAgree();
    void chartsAreDrawnForThePage();
    void progressSection();
    void methodNoteUntilClosed();

private:
    void makePanel();
    QVariant evaluate(const QString &script);
    bool loadPreview();
    bool imagesLoaded();

    std::unique_ptr<ClientTests> m_f;
    std::unique_ptr<PrintCatalogue> m_catalogue;
    ReportTemplate m_template;
    std::unique_ptr<PrintPanel> m_panel;
};

void TestPrintPanel::init()
{
    m_f = std::make_unique<ClientTests>();
    QVERIFY(Localization::setCurrentLanguage(QStringLiteral("English")));
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
    m_catalogue = std::make_unique<PrintCatalogue>(&m_f->data);
    m_catalogue->setLanguage(QStringLiteral("English"));
    m_template = ReportTemplate::load();
}

void TestPrintPanel::cleanup()
{
    m_panel.reset();
    m_catalogue.reset();
    m_f.reset();
}

void TestPrintPanel::makePanel()
{
    m_panel.reset();
    m_panel =
        std::make_unique<PrintPanel>(&m_f->data, &m_f->session, m_catalogue.get(), &m_template);
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

// The report composed and shown in the preview, its script run to the end.
bool TestPrintPanel::loadPreview()
{
    QSignalSpy loaded(m_panel->preview(), &TPrintForm::reportLoaded);
    QTest::mouseClick(child<QPushButton>(m_panel.get(), "PrintData"), Qt::LeftButton);
    return loaded.wait(LoadTimeout) && loaded.first().first().toBool()
           && QTest::qWaitFor([this] { return evaluate("window.reportReady === true").toBool(); },
                              LoadTimeout);
}

bool TestPrintPanel::imagesLoaded()
{
    return QTest::qWaitFor(
        [this] {
            return evaluate("Array.from(document.images).every(function(i){"
                            "return i.complete && i.naturalWidth>0;})")
                .toBool();
        },
        LoadTimeout);
}

void TestPrintPanel::scriptBreakingNamesReachThePage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("recommendation"); // a description line
    QTest::newRow("quotes and backslash") << QStringLiteral("\"quoted\" \\ back") << "O'Neil"
                                          << QStringLiteral("Don't \"skip\" C:\\meals");
    QTest::newRow("script end tag") << QStringLiteral("Ann</script><b>") << "Lee"
                                    << QStringLiteral("</script><script>alert(1)</script>");
}

void TestPrintPanel::scriptBreakingNamesReachThePage()
{
    QFETCH(QString, name);
    QFETCH(QString, surname);
    QFETCH(QString, recommendation);
    m_f->session.setCurrentClient(addClient(m_f->data, name, surname));
    QVERIFY(PrintStore(&m_f->data)
                .storeRecommendation({"Diet", recommendation + "\nsecond line", "English"}));
    makePanel();
    auto *model =
        qobject_cast<QStandardItemModel *>(child<QTableView>(m_panel.get(), "DBGrid1")->model());
    QCOMPARE(model->rowCount(), 1);
    model->item(0, 0)->setCheckState(Qt::Checked);

    QVERIFY(loadPreview());
    QCOMPARE(evaluate("name").toString(), QString(surname + ' ' + name));
    QCOMPARE(evaluate("recom_desc0_0").toString(), recommendation);
    QCOMPARE(evaluate("recom_desc0_count").toString(), QStringLiteral("2"));
    // The values are text on the page, never markup.
    QCOMPARE(evaluate("document.querySelectorAll('script').length").toInt(), 2);
    QVERIFY(evaluate("document.body.innerText").toString().contains(QString(surname + ' ' + name)));
}

// A blank name, empty or spaces only, is refused for a template and for a recommendation.
void TestPrintPanel::emptyNamesAreRefused()
{
    makePanel();
    DialogRecorder dialogs;
    child<QPlainTextEdit>(m_panel.get(), "NewRecomDescription")->setPlainText("Walk");
    const std::tuple<const char *, const char *, QString, QString> forms[] = {
        {"NewStencilName", "sButton11", "Please enter the name of the template.", "STENCILS"},
        {"NewRecomName", "sButton15", "Please enter the name of the recommendation.",
         "RECOMENDATION"}};
    for (const auto &[field, button, message, table] : forms) {
        dialogs.clear();
        for (const QString &blank : {QString(), QStringLiteral("   ")}) {
            child<QLineEdit>(m_panel.get(), field)->setText(blank);
            QTest::mouseClick(child<QPushButton>(m_panel.get(), button), Qt::LeftButton);
        }
        QCOMPARE(dialogs.requests().size(), 2);
        QCOMPARE(dialogs.requests().at(0).text, message);
        QSqlQuery count(m_f->data.database());
        QVERIFY(count.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) && count.next());
        QCOMPARE(count.value(0).toInt(), 0);
    }
}

void TestPrintPanel::storedTemplateComesBack()
{
    makePanel();
    DialogRecorder dialogs;
    auto *order = child<QListWidget>(m_panel.get(), "OrderBox");
    const QString symptoms = order->item(ReportSections::Symptom)->text();
    // Symptoms first, the birth date left out, a header line.
    order->setCurrentRow(ReportSections::Symptom);
    for (int i = 0; i < ReportSections::Symptom; ++i)
        QTest::mouseClick(child<QToolButton>(m_panel.get(), "UpOrder"), Qt::LeftButton);
    order->item(2)->setCheckState(Qt::Unchecked); // birth date, moved down by one
    child<QTextEdit>(m_panel.get(), "HeaderRich")->setPlainText("Dr. Smith, Riverside Clinic");
    child<QLineEdit>(m_panel.get(), "NewStencilName")->setText("  Short  ");
    QTest::mouseClick(child<QPushButton>(m_panel.get(), "sButton11"), Qt::LeftButton);
    QVERIFY(dialogs.requests().isEmpty());

    // A second template of the same name is refused.
    child<QLineEdit>(m_panel.get(), "NewStencilName")->setText("Short");
    QTest::mouseClick(child<QPushButton>(m_panel.get(), "sButton11"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), 1);

    auto *box = child<QComboBox>(m_panel.get(), "StencilsBox");
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
    order = child<QListWidget>(m_panel.get(), "OrderBox");
    QCOMPARE(child<QComboBox>(m_panel.get(), "StencilsBox")->currentText(),
             QStringLiteral("Short"));
    QCOMPARE(order->item(0)->text(), symptoms);
    QCOMPARE(order->item(2)->checkState(), Qt::Unchecked);
    QCOMPARE(child<QTextEdit>(m_panel.get(), "HeaderRich")->toPlainText(),
             QStringLiteral("Dr. Smith, Riverside Clinic"));

    // Deleted after the question.
    QTest::mouseClick(child<QPushButton>(m_panel.get(), "sButton9"), Qt::LeftButton);
    QVERIFY(m_catalogue->stencils().isEmpty());
    QCOMPARE(child<QComboBox>(m_panel.get(), "StencilsBox")->count(), 1);
}

// The whole report of a practitioner who works in Russian: the English pages and names are
// the other tests' language, and a Russian page must keep no English word.
void TestPrintPanel::composedReportInRussian()
{
    const QString language = QStringLiteral("Russian");
    QVERIFY(Localization::setCurrentLanguage(language));
    LanguageApplier::instance().apply(LanguageTexts::load(language));
    m_catalogue->setLanguage(language);

    // A client with a test and ticked symptoms, two recommendations in each language.
    const QString client = addClient(m_f->data, "Анна", "Петрова");
    const auto value = [](int i) { return 60 + (i * 29) % 70; };
    const int test =
        storeTest(m_f->data, client, QDateTime(QDate(2026, 3, 14), QTime(10, 30)), value);
    QVERIFY(test);
    ChannelMarks marks;
    loadCatalogueNames(marks, ChannelCatalogue::load());
    resetMarks(marks);
    for (int c = 0; c < 24; c += 5)
        marks[c].first = QStringLiteral("110&");
    QVERIFY(SymptomMarksStore::saveMarks(m_f->data, client, test, marks));
    m_f->session.setCurrentClient(client);
    m_f->session.setCurrentTest(test);
    PrintStore store(&m_f->data);
    const QString own = QStringLiteral("Питание");
    QVERIFY(store.storeRecommendation(
        {own, "Тёплая пища три раза в день.\nМеньше соли и сахара.\nПейте тёплую воду.",
         language}));
    QVERIFY(store.storeRecommendation({"Сон", "Ложитесь до 23:00.", language}));
    QVERIFY(store.storeRecommendation({"Foreign", "not for this language", "English"}));

    makePanel();
    const RecipeLines recipe{{"Рецепт акупрессуры", RecipeLine::Kind::Heading, true},
                             {"Надавливать на", RecipeLine::Kind::Plain, false},
                             {"LI4", RecipeLine::Kind::Point, false},
                             {"и", RecipeLine::Kind::Plain, false},
                             {"ST36", RecipeLine::Kind::Point, true},
                             {"Не при беременности.", RecipeLine::Kind::Attention, true}};
    m_panel->setSources({drawPicture, [recipe] { return recipe; }, {}});
    auto *model =
        qobject_cast<QStandardItemModel *>(child<QTableView>(m_panel.get(), "DBGrid1")->model());
    QCOMPARE(model->rowCount(), 2); // the foreign one is not listed
    model->item(0, 0)->setCheckState(Qt::Checked);
    auto *header = child<QTextEdit>(m_panel.get(), "HeaderRich");
    header->setHtml("<p align=center><b>Клиника «Ясень»</b><br>Приём врача-рефлексотерапевта</p>");
    // The clinic's logo goes in front of the header text and prints with it.
    const QString logo = m_f->env.scratch(QStringLiteral("logo")) + QStringLiteral("/logo.png");
    QImage mark(240, 240, QImage::Format_ARGB32);
    mark.fill(QColor(47, 93, 138));
    QVERIFY(mark.save(logo));
    header->moveCursor(QTextCursor::Start);
    {
        DialogRecorder picked(logo);
        child<QToolButton>(m_panel.get(), "ImageRich")->click();
    }
    child<QTextEdit>(m_panel.get(), "FooterRich")->setPlainText("Тел. +7 495 000-00-00");
    child<QCheckBox>(m_panel.get(), "MonitoringBox")->setChecked(false);

    QVERIFY(loadPreview());
    QCOMPARE(evaluate("recom_count").toString(), QStringLiteral("2"));
    const QString text = evaluate("document.body.innerText").toString();
    QVERIFY(text.contains(own));
    QVERIFY(text.contains(QStringLiteral("Тёплая пища три раза в день.")));
    QVERIFY(!text.contains(QStringLiteral("Foreign")));
    QVERIFY(text.contains(QStringLiteral("ST36")));
    // The logo, three charts, colour and frequency.
    QCOMPARE(evaluate("document.querySelectorAll('img').length").toInt(), 6);
    QCOMPARE(evaluate("header_pict_0").toString(), QStringLiteral("header_0.png"));
    QVERIFY(evaluate("header_style")
                .toString()
                .contains(QStringLiteral("bolder"))); // the text's, not the logo's
    QCOMPARE(QImage(ReportFiles::pictureFolder() + QStringLiteral("header_0.png")).height(), 80);
    QVERIFY(imagesLoaded());
    // Symptoms ticked on the cards of the test come out by meridian.
    QVERIFY(evaluate("parseInt(sympt_count)").toInt() > 0);

    TPrintForm *form = m_panel->preview();
    const QString pdf = m_f->env.scratch(QStringLiteral("pdf")) + QStringLiteral("/report.pdf");
    QSignalSpy saved(form, &TPrintForm::pdfSaved);
    form->savePdf(pdf);
    QVERIFY(saved.wait(LoadTimeout));
    QCOMPARE(saved.first().at(1).toBool(), true);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.size() > 1000);
    QVERIFY(file.read(5) == "%PDF-");

    // The printed text: the client, the test's date, and under the histogram (left and right
    // of each meridian side by side) and the general graph (all left, then all right) every
    // channel beside its own value.
    const QString printed = pdfText(pdf);
    QVERIFY2(printed.contains(QStringLiteral("Петрова Анна")), qPrintable(printed));
    QVERIFY(printed.contains(QStringLiteral("14.03.2026 10:30")));
    const auto tables = channelTables(printed);
    QCOMPARE(tables.size(), 2);
    const QList<int> orders[] = {GraphOrders::sideBySide(), GraphOrders::sideAfterSide()};
    for (int t = 0; t < 2; ++t) {
        QCOMPARE(tables.at(t).size(), Channels::Count);
        for (int slot = 0; slot < Channels::Count; ++slot) {
            const auto &[name, shown] = tables.at(t).at(slot);
            QCOMPARE(name, Channels::name(orders[t].at(slot)));
            QCOMPARE(shown, value(Channels::indexOf(name)));
        }
    }
    // No English word left on a Russian page. Channel codes and the points' international
    // names (code and pinyin, as the catalogue gives them) are not English.
    QStringList international;
    const ChannelCatalogue catalogue = ChannelCatalogue::load();
    for (int c = 0; c < Channels::Count; ++c)
        international += catalogue.entry(c).name.split(QLatin1Char(' '));
    static const QRegularExpression word(QStringLiteral("\\b[A-Za-z]{2,}[0-9]*\\b"));
    QStringList english;
    for (auto it = word.globalMatch(printed); it.hasNext();) {
        const QString w = it.next().captured();
        static const QRegularExpression pointCode(QStringLiteral("^[A-Z]{2,3}[0-9]+$"));
        if (Channels::indexOf(w) < 0 && !international.contains(w)
            && !pointCode.match(w).hasMatch())
            english.append(w);
    }
    QVERIFY2(english.isEmpty(), qPrintable(english.join(QLatin1Char(' '))));
}

void TestPrintPanel::emptySectionsAreLeftOut()
{
    const QString client = addClient(m_f->data, "Anna", "Lee");
    const int test = storeTest(m_f->data, client, QDateTime(QDate(2026, 5, 2), QTime(9, 15)),
                               [](int i) { return 50 + i; });
    QVERIFY(test);
    m_f->session.setCurrentClient(client);
    m_f->session.setCurrentTest(test);
    makePanel();
    // No programme to draw, a recipe of separators only, no recommendation ticked.
    m_panel->setSources({[](int, const QString &) { return false; },
                         [] {
                             return RecipeLines{{"------------", RecipeLine::Kind::Plain, true}};
                         },
                         {}});
    QVERIFY(loadPreview());
    const QStringList headings =
        evaluate(
            "Array.from(document.querySelectorAll('h2')).map(function(h){return h.textContent;})")
            .toStringList();
    QCOMPARE(headings, (QStringList{evaluate("diag_circle_cap").toString(),
                                    evaluate("diag_hist_cap").toString(),
                                    evaluate("diag_general_cap").toString()}));
    // Each chart is there, and nothing was printed for a missing picture.
    QVERIFY(imagesLoaded());
    QCOMPARE(evaluate("document.images.length").toInt(), 3);
    QVERIFY(!evaluate("document.body.innerText").toString().contains(QStringLiteral("---")));

    // The preview fits the screen and sits over the window it came from.
    TPrintForm *form = m_panel->preview();
    QVERIFY(form->screen()->availableGeometry().contains(form->frameGeometry()));
    QVERIFY(form->frameGeometry().contains(m_panel->window()->frameGeometry().center()));

    // Save as PDF suggests the client and the test's date in the documents folder, says where
    // it wrote the file, and offers that folder the next time.
    const QString target = m_f->env.scratch(QStringLiteral("letters"));
    {
        DialogRecorder dialogs(target + QStringLiteral("/Lee Anna.pdf"));
        QSignalSpy saved(form, &TPrintForm::pdfSaved);
        child<QPushButton>(form, "SavePdfButton")->click();
        QVERIFY(saved.wait(LoadTimeout));
        QCOMPARE(dialogs.requests().size(), 2);
        QCOMPARE(QFileInfo(dialogs.requests().first().folder).fileName(),
                 QStringLiteral("Lee Anna 02.05.2026.pdf"));
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(QFileInfo(dialogs.requests().first().folder).absolutePath(),
                 QFileInfo(documents).isDir() ? documents : QDir::homePath());
        QVERIFY2(dialogs.requests().last().text.contains(target + QStringLiteral("/Lee Anna.pdf")),
                 qPrintable(dialogs.requests().last().text));
        QVERIFY(QFileInfo(target + QStringLiteral("/Lee Anna.pdf")).size() > 1000);
    }
    QCOMPARE(TPrintForm::pdfFolder(), target);

    // Without a test there is no chart, and no heading of one.
    m_f->session.setCurrentTest(0);
    QVERIFY(loadPreview());
    QCOMPARE(evaluate("document.querySelectorAll('h2').length").toInt(), 0);
    QVERIFY(evaluate("document.body.innerText").toString().contains(QStringLiteral("Lee Anna")));
}

void TestPrintPanel::sectionTicksAgree()
{
    makePanel();
    auto *order = child<QListWidget>(m_panel.get(), "OrderBox");
    auto tickOf = [order](int section) {
        for (int row = 0; row < order->count(); ++row) {
            if (order->item(row)->data(Qt::UserRole + 1).toInt() == section)
                return order->item(row)->checkState() == Qt::Checked;
        }
        return false;
    };
    // Monitoring is not printed: unticked in both places from the start.
    QVERIFY(!child<QCheckBox>(m_panel.get(), "MonitoringBox")->isChecked());
    QVERIFY(!tickOf(ReportSections::Monitoring));
    for (int id = 0; id < ReportSections::Count; ++id)
        QCOMPARE(tickOf(id),
                 m_panel->findChild<QCheckBox *>(QLatin1String(ReportSections::info(id).box))
                     ->isChecked());

    auto *histogram = m_panel->findChild<QCheckBox *>(
        QLatin1String(ReportSections::info(ReportSections::Histogram).box));
    histogram->setChecked(false);
    QVERIFY(!tickOf(ReportSections::Histogram));
    for (int row = 0; row < order->count(); ++row) {
        if (order->item(row)->data(Qt::UserRole + 1).toInt() == ReportSections::Histogram)
            order->item(row)->setCheckState(Qt::Checked);
    }
    QVERIFY(histogram->isChecked());
}

void TestPrintPanel::chartsAreDrawnForThePage()
{
    TestRecord test;
    test.testDate = QDateTime(QDate(2026, 3, 14), QTime(10, 30));
    for (int i = 0; i < 24; ++i)
        test.values[size_t(i)] = 60 + (i * 29) % 70;
    const std::pair<int, QList<int>> kinds[] = {{1, GraphOrders::sideAfterSide()},
                                                {2, GraphOrders::sideBySide()}};
    for (const auto &[kind, order] : kinds) {
        QStringList drawn;
        const QImage image = ReportCharts::render(kind, test, 10, &drawn);
        QCOMPARE(image.size(), ReportCharts::LayoutSize * ReportCharts::Scale);
        // The channel names along the axis, left to right, in the graph's own order, and none cut.
        QStringList names;
        for (const QString &text : drawn) {
            QVERIFY2(!text.contains(QChar(0x2026)) && !text.contains(QLatin1String("...")),
                     qPrintable(text));
            if (Channels::indexOf(text) >= 0)
                names.append(text);
        }
        QStringList expected;
        for (const int channel : order)
            expected.append(Channels::name(channel));
        QCOMPARE(names, expected);
        QVERIFY(drawn.contains(QStringLiteral("14.03.2026 10:30"))); // its own title
    }
}

// An order stored before the progress section loads with it off and prints no trace of it.
// Ticked, the report lists the client's tests with the progress graph's own figures, oldest
// first, under the graph; one test prints its row without a graph, no test leaves it out.
void TestPrintPanel::progressSection()
{
    makePanel();
    QList<QueueEntry> earlier;
    for (int id = 0; id < ReportSections::Progress; ++id)
        earlier.append({m_panel->captions().at(id), true});
    PrintStore store(&m_f->data);
    QVERIFY(store.addStencil({"Earlier", {}, {}, PrintQueue::build(earlier), 0, "English", "&"}));
    QVERIFY(store.markStencil("Earlier"));

    const QString client = addClient(m_f->data, "Ann", "Lee");
    const QDateTime days[] = {QDateTime(QDate(2026, 4, 9), QTime(9, 0)),
                              QDateTime(QDate(2026, 2, 1), QTime(17, 45)),
                              QDateTime(QDate(2026, 3, 3), QTime(8, 5))};
    for (int t = 0; t < 3; ++t)
        QVERIFY(storeTest(m_f->data, client, days[t], [t](int i) {
            return t == 2 ? 0 : 40 + (i * (7 + 11 * t)) % (50 + 30 * t);
        }));
    m_f->session.setCurrentClient(client);
    makePanel();
    auto *box = child<QCheckBox>(m_panel.get(), "ProgressBox");
    QVERIFY(!box->isChecked());
    QVERIFY(loadPreview());
    QCOMPARE(evaluate("typeof progress_count + typeof enable12").toString(),
             QStringLiteral("undefinedundefined"));
    QCOMPARE(evaluate("document.querySelectorAll('table.progress').length").toInt(), 0);
    QCOMPARE(evaluate("accept").toString(), QStringLiteral("0")); // its empty footer stays so

    const QString rows = "Array.from(document.querySelectorAll('table.progress tr')).map("
                         "function(r){return Array.from(r.cells).map(function(c){"
                         "return c.textContent;}).join('|');})";
    const QString graphs = "document.querySelectorAll('img[src^=\"print_pict/progress\"]').length";
    box->setChecked(true);
    QVERIFY(loadPreview());
    const int percent = *CorridorEvaluation::parsePercent(CorridorPercent::stored());
    const QList<ProgressFigures> figures = progressOf(m_f->data.testsOfClient(client), percent);
    QCOMPARE(figures.size(), 3);
    QStringList expected{QStringList{"Testing date", "Channels outside the corridor",
                                     "Mean deviation from the mean, %", "Left-right difference, %",
                                     "Mean"}
                             .join('|')};
    for (const ProgressFigures &f : figures)
        expected.append(QStringList{ReportData::momentText(f.when), QString::number(f.outside),
                                    ReportData::figureText(f.meanDeviation),
                                    ReportData::figureText(f.sideDifference),
                                    QString::number(f.mean)}
                            .join('|'));
    QCOMPARE(evaluate(rows).toStringList(), expected);
    QCOMPARE(expected.at(1).section('|', 0, 0), QStringLiteral("01.02.2026 17:45"));
    QCOMPARE(evaluate(graphs).toInt(), 1);
    QVERIFY(imagesLoaded());

    const QString single = addClient(m_f->data, "Bo", "Single");
    QVERIFY(storeTest(m_f->data, single, days[0], [](int) { return 70; }));
    m_f->session.setCurrentClient(single);
    QVERIFY(loadPreview());
    QCOMPARE(evaluate(rows).toStringList().size(), 2);
    QCOMPARE(evaluate(graphs).toInt(), 0);

    m_f->session.setCurrentClient(addClient(m_f->data, "No", "Tests"));
    QVERIFY(loadPreview());
    QCOMPARE(evaluate("document.querySelectorAll('h2').length").toInt(), 0);
}

// The note on what is measured is the default template's footer, and at start it shows over
// the window until it has been closed once.
void TestPrintPanel::methodNoteUntilClosed()
{
    makePanel();
    QVERIFY(loadPreview());
    QCOMPARE(evaluate("footer_val_0").toString(), MethodNote::text());
    QVERIFY(MethodNote::text().contains(QStringLiteral("not medical diagnoses")));

    QWidget window;
    QPointer<MethodNoticeForm> form = MethodNoticeForm::showOnce(&window);
    QVERIFY(form && form->isVisible());
    QVERIFY(MethodNoticeForm::showOnce(&window) != nullptr); // not closed yet: still due
    QWidget *second = window.findChildren<MethodNoticeForm *>().last();
    second->close();
    QTest::mouseClick(child<QPushButton>(form, "MethodNoteOk"), Qt::LeftButton);
    QTRY_VERIFY(form.isNull());
    QVERIFY(MethodNoticeForm::showOnce(&window) == nullptr);
}

VANDREL_WEBENGINE_TEST_MAIN(TestPrintPanel)

#include "tst_print_panel.moc"
