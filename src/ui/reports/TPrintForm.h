#pragma once

#include <QUrl>
#include <QWidget>

#include <memory>

class QPrinter;
class QPushButton;
class QWebEngineView;

// The report preview (`TPrintForm`): the composed page in a browser, printed on the default
// printer without a dialog, or saved as a PDF file to mail to the client.
class TPrintForm : public QWidget
{
    Q_OBJECT
public:
    explicit TPrintForm(QWidget *parent = nullptr);
    ~TPrintForm() override;

    void showReport(const QUrl &page);
    QWebEngineView *view() const { return m_view; }

    // Prints on the default printer; a clear message when there is none.
    void printReport();
    // Writes the page as a PDF on the paper of the place (A4, or Letter where that is the
    // custom); pdfSaved tells when it is done.
    void savePdf(const QString &path);

    // The file name "Save as PDF" suggests, without its folder and extension.
    void setSuggestedName(const QString &name) { m_suggestedName = name; }
    // The folder "Save as PDF" offers: the one used last, the documents folder the first time.
    static QString pdfFolder();
    // Sized to fit the screen and centred on `window`.
    void placeOver(const QWidget *window);

Q_SIGNALS:
    void reportLoaded(bool ok);
    void pdfSaved(const QString &path, bool ok);

private:
    void askPdfPath();
    void bindTexts();

    QWebEngineView *m_view = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_pdf = nullptr;
    QPushButton *m_close = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    bool m_printing = false;
    QString m_suggestedName;
    QString m_chosenPath; // the file the user chose last, told where it went once written
};
