#include "TPrintForm.h"

#include "app/AppPaths.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "common/WindowPlacement.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"

#include <QDir>
#include <QLocale>
#include <QScreen>
#include <QStandardPaths>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

QString shown(const QString &key, const QString &fallback)
{
    const QString text = Localization::Translate(key);
    return text.isEmpty() ? fallback : text;
}

// The report's margins on any paper.
QPageLayout pageOf(const QPageSize &size)
{
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(14, 14, 14, 16), QPageLayout::Millimeter);
}

// Letter where the customary system of measures is the American one, A4 everywhere else.
QPageSize localPaper()
{
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                 : QPageSize::A4);
}

// The folder of the last PDF is remembered with the program's other small memories.
QString rememberFile()
{
    return AppPaths::dataFile(QStringLiteral("Remember.ini"));
}

} // namespace

TPrintForm::~TPrintForm() = default;

TPrintForm::TPrintForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TPrintForm"));
    resize(900, 760);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("PrintBar"));
    bar->setStyleSheet(QStringLiteral(
        "#PrintBar { background: #eef2f6; border-bottom: 1px solid #c5d0db; }"
        "#PrintBar QPushButton { padding: 5px 16px; }"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 6, 8, 6);
    m_print = new QPushButton(bar);
    m_print->setObjectName(QStringLiteral("PrintButton1"));
    m_print->setDefault(true);
    m_print->setShortcut(QKeySequence::Print);
    m_pdf = new QPushButton(bar);
    m_pdf->setObjectName(QStringLiteral("SavePdfButton"));
    m_close = new QPushButton(bar);
    m_close->setObjectName(QStringLiteral("ClosePreview"));
    m_close->setShortcut(QKeySequence(Qt::Key_Escape));
    row->addWidget(m_print);
    row->addWidget(m_pdf);
    row->addStretch(1);
    row->addWidget(m_close);
    column->addWidget(bar);

    m_view = new QWebEngineView(this);
    m_view->setObjectName(QStringLiteral("WebBrowser1"));
    column->addWidget(m_view, 1);

    connect(m_print, &QPushButton::clicked, this, &TPrintForm::printReport);
    connect(m_pdf, &QPushButton::clicked, this, &TPrintForm::askPdfPath);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_view, &QWebEngineView::loadFinished, this, &TPrintForm::reportLoaded);
    connect(m_view->page(), &QWebEnginePage::pdfPrintingFinished, this, &TPrintForm::pdfSaved);
    connect(m_view, &QWebEngineView::printFinished, this, [this](bool ok) {
        m_printing = false;
        m_print->setEnabled(true);
        if (!ok)
            Dialogs::message(this, shown(QStringLiteral("PrintFailed"),
                                         QStringLiteral("The report could not be printed.")));
    });
    connect(this, &TPrintForm::pdfSaved, this, [this](const QString &path, bool ok) {
        if (!ok) {
            Dialogs::message(this, shown(QStringLiteral("PdfFailed"),
                                         QStringLiteral("The PDF file could not be written:"))
                                       + QLatin1Char(' ') + QDir::toNativeSeparators(path));
            return;
        }
        if (path != m_chosenPath)
            return; // not a file the user chose at the button
        QString said = shown(QStringLiteral("PdfSaved"), QStringLiteral("The report was saved as %1."));
        if (!said.contains(QLatin1String("%1")))
            said += QStringLiteral(" %1");
        Dialogs::message(this, said.arg(QDir::toNativeSeparators(path)));
    });
    bindTexts();
}

void TPrintForm::bindTexts()
{
    auto &applier = LanguageApplier::instance();
    applier.bindWithFallback(this, QStringLiteral("PrintPreview"), QStringLiteral("Print preview"),
                             [this](const QString &t) { setWindowTitle(t); });
    applier.bindWithFallback(m_print, QStringLiteral("Print"), QStringLiteral("Print"),
                             [this](const QString &t) { m_print->setText(t); });
    applier.bindWithFallback(m_pdf, QStringLiteral("SavePdf"), QStringLiteral("Save as PDF..."),
                             [this](const QString &t) { m_pdf->setText(t); });
    applier.bindWithFallback(m_close, QStringLiteral("ClosePreview"), QStringLiteral("Close"),
                             [this](const QString &t) { m_close->setText(t); });
}

void TPrintForm::showReport(const QUrl &page)
{
    // The page keeps its name between reports; a reload must not serve the old pictures.
    if (m_view->url() == page)
        m_view->triggerPageAction(QWebEnginePage::ReloadAndBypassCache);
    else
        m_view->load(page);
}

void TPrintForm::printReport()
{
    if (m_printing)
        return;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        Dialogs::message(this, shown(QStringLiteral("NoPrinter"),
                                     QStringLiteral("No printer is set up on this computer. "
                                                    "Save the report as PDF instead.")));
        return;
    }
    // The view prints asynchronously and needs the printer until printFinished.
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // The paper the printer holds, A4 or Letter alike.
    m_printer->setPageLayout(pageOf(m_printer->pageLayout().pageSize()));
    m_printing = true;
    m_print->setEnabled(false);
    m_view->print(m_printer.get());
}

void TPrintForm::savePdf(const QString &path)
{
    m_view->page()->printToPdf(path, pageOf(localPaper()));
}

QString TPrintForm::pdfFolder()
{
    const QString last = IniFile(rememberFile()).readString(QStringLiteral("Print"), QStringLiteral("PdfFolder"));
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void TPrintForm::placeOver(const QWidget *window)
{
    const QScreen *screen = window ? window->screen() : this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // Room for the window frame (its size is known only once shown) inside the free area.
    const QSize decoration(16, 40);
    resize(qMin(900, area.width() - decoration.width()), qMin(1000, area.height() - decoration.height()));
    WindowPlacement::centreOver(this, window);
}

void TPrintForm::askPdfPath()
{
    const QString name = m_suggestedName.isEmpty() ? QStringLiteral("report") : m_suggestedName;
    QString path = Dialogs::saveFile(this, shown(QStringLiteral("SavePdf"), QStringLiteral("Save as PDF...")),
                                     QDir(pdfFolder()).filePath(name + QStringLiteral(".pdf")),
                                     QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    // A folder the file cannot hold (a name outside its character set) is simply not
    // remembered; the documents folder is offered again.
    IniFile remember(rememberFile());
    remember.writeString(QStringLiteral("Print"), QStringLiteral("PdfFolder"), QFileInfo(path).absolutePath());
    remember.save();
    m_chosenPath = path;
    savePdf(path);
}
