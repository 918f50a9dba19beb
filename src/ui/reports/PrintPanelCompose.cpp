// Composing the report of the print page: what the page shows, gathered into the report data.
#include "PrintPanel.h"

#include "app/AppPaths.h"
#include "app/Session.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"
#include "records/ClientRepository.h"
#include "records/DataModule.h"
#include "ReportCharts.h"
#include "reports/ReportFiles.h"
#include "reports/ReportTemplate.h"
#include "ryodoraku/ChannelMarks.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "ryodoraku/CorridorPercent.h"
#include "ryodoraku/GraphOrders.h"
#include "ryodoraku/ProgressChart.h"
#include "ryodoraku/ProgressFigures.h"
#include "ryodoraku/SymptomMarksStore.h"
#include "TPrintForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPolygonF>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "PrintPanelSupport.h"

using namespace PrintPanelSupport;

// --- composing --------------------------------------------------------------------------

bool PrintPanel::composeReport(QString *error)
{
    using namespace ReportSections;
    ReportTemplate page = m_page ? *m_page : ReportTemplate::load();
    if (!ReportFiles::writePage(page, error))
        return false;
    ReportFiles::removePictures();

    ReportInput in;
    in.captions = captions();
    for (int id = 0; id < Count; ++id)
        in.enabled.at(size_t(id)) = m_boxes.at(size_t(id))->isChecked();
    in.order = printOrder();
    auto printed = [&in](int id) { return in.enabled.at(size_t(id)) && in.order.contains(id); };

    const QString client = m_session ? m_session->currentClient() : QString();
    std::optional<TestRecord> test;
    if (m_data && m_data->isOpen() && !client.isEmpty()) {
        if (const std::optional<ClientCard> card = ClientRepository(m_data).card(client)) {
            in.surname = card->surname;
            in.name = card->name;
            in.birthDay = card->birthday;
            in.registered = card->dateCreate;
        }
        if (m_session->currentTest() > 0) {
            test = m_data->test(m_session->currentTest());
            if (test && test->codeClient.compare(client, Qt::CaseInsensitive) != 0)
                test.reset();
        }
    }
    if (test)
        in.testDate = test->testDate;
    m_reportName = ReportData::fileName(in.surname, in.name, in.testDate.date());

    // The charts are drawn for the page from the test itself, whatever the graphs page shows.
    const QString percentText = m_sources.percent ? m_sources.percent() : CorridorPercent::stored();
    const std::optional<int> percent = CorridorEvaluation::parsePercent(percentText);
    if (test && percent) {
        const CorridorEvaluation corridor = evaluate(*test, *percent);
        struct Wanted
        {
            int section;
            Picture picture;
            int kind;
            ReportInput::Chart *chart;
            QList<int> order;
        };
        const Wanted charts[] = {
            {CircleDiag, CirclePicture, 5, &in.circle, {}},
            {Histogram, HistogramPicture, 2, &in.histogram, GraphOrders::sideBySide()},
            {GeneralGraph, GeneralPicture, 1, &in.general, GraphOrders::sideAfterSide()},
        };
        for (const Wanted &w : charts) {
            if (!printed(w.section))
                continue;
            w.chart->drawn =
                ReportCharts::save(w.kind, *test, *percent, ReportFiles::picturePath(w.picture));
            w.chart->cells = ReportData::chartCells(*test, corridor, w.order);
        }
    }
    const bool pictures = test.has_value() && bool(m_sources.savePicture);
    in.picturesTaken = test.has_value();

    for (int row = 0; row < m_recomRows.size(); ++row) {
        const QStandardItem *item = m_recomModel->item(row, 0);
        in.recommendations.append({m_recomRows.at(row).name, m_recomRows.at(row).description,
                                   item && item->checkState() == Qt::Checked});
    }

    in.colourCaption = applied(QStringLiteral("ColorLabel"), QStringLiteral("Colour therapy"));
    in.frequencyCaption =
        applied(QStringLiteral("FrequencyTreatment"), QStringLiteral("Frequency treatment"));
    if (pictures && printed(Treatment)) {
        in.colourPicture =
            m_sources.savePicture(ColourPicture, ReportFiles::picturePath(ColourPicture));
        in.frequencyPicture =
            m_sources.savePicture(FrequencyPicture, ReportFiles::picturePath(FrequencyPicture));
    }
    if (printed(Acupress) && m_sources.acupressure)
        in.acupressure = m_sources.acupressure();
    if (printed(Symptom) && test && m_data) {
        ChannelMarks marks;
        loadCatalogueNames(marks, m_channels);
        resetMarks(marks);
        QString problem;
        if (SymptomMarksStore::loadMarks(*m_data, client, test->codeTest, marks, &problem)) {
            in.symptoms =
                symptomGroups(m_channels, *test, percentText, marks, [](const QString &key) {
                    return LanguageApplier::instance().text(key);
                });
        }
    }

    if (printed(Progress) && percent && m_data && !client.isEmpty())
        in.progress = progress(client, *percent);

    // Header and footer print whenever either has text.
    in.accept = !m_header->toPlainText().trimmed().isEmpty()
                || !m_footer->toPlainText().trimmed().isEmpty();
    if (in.accept) {
        in.header = band(m_header, true);
        in.footer = band(m_footer, false);
    }
    return ReportFiles::writeData(ReportData::compose(in), error);
}

ReportInput::Progress PrintPanel::progress(const QString &client, int percent) const
{
    // All of the client's tests, whatever period the graphs page shows; a line over one test
    // tells nothing, so the graph comes from two tests on.
    ReportInput::Progress p;
    p.figures = progressOf(m_data->testsOfClient(client), percent);
    if (p.figures.size() >= 2)
        p.drawn = ReportCharts::saveProgress(
            p.figures, ReportFiles::picturePath(ReportSections::ProgressPicture));
    const ProgressChart::Words words = ProgressChart::appliedWords();
    p.headings = {applied(QStringLiteral("TestingDate"), QStringLiteral("Testing date")),
                  words.outside, words.spread, words.sides, words.mean};
    return p;
}

TPrintForm *PrintPanel::preview()
{
    if (!m_preview)
        m_preview = new TPrintForm(this);
    return m_preview;
}

void PrintPanel::printData()
{
    QString error;
    if (!composeReport(&error)) {
        Dialogs::message(this, shown(QStringLiteral("ReportFailed"),
                                     QStringLiteral("The report could not be written:"))
                                   + QLatin1Char(' ') + error);
        return;
    }
    TPrintForm *form = preview();
    form->setSuggestedName(m_reportName);
    form->showReport(QUrl::fromLocalFile(ReportFiles::pagePath()));
    if (!form->isVisible())
        form->placeOver(window());
    form->show();
    form->raise();
    form->activateWindow();
}
