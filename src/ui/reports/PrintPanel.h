#pragma once

#include "app/WorkPage.h"
#include "reports/PrintCatalogue.h"
#include "reports/PrintStore.h"
#include "reports/ReportData.h"
#include "ReportSources.h"
#include "ryodoraku/ChannelCatalogue.h"

#include <QList>
#include <QPointer>

#include <array>

class DataModule;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QTextEdit;
class QToolButton;
class ReportTemplate;
class Session;
class TPrintForm;

// The print work page (`PrintPanel`): which sections a report shows and in which order, its
// header and footer, the treatment recommendations to hand over, named print templates that
// keep such a choice, and the button that composes the report and opens the preview.
class PrintPanel : public WorkPage
{
    Q_OBJECT
public:
    PrintPanel(DataModule *data, Session *session, PrintCatalogue *catalogue,
               const ReportTemplate *page, QWidget *parent = nullptr);

    void setSources(ReportSources sources) { m_sources = std::move(sources); }

    void enter() override;

    // Fills the template and recommendation lists of the current language and takes the
    // template chosen last.
    void fillLists();
    // Writes the page, the pictures and the data of a report about the current client and
    // test; false with the reason when a file cannot be written.
    bool composeReport(QString *error = nullptr);
    // Composes the report and shows it in the preview.
    void printData();
    TPrintForm *preview();
    // "<surname> <name> <test date>" of the last report, for the PDF file it may become.
    QString reportName() const { return m_reportName; }

    // The captions of the section check boxes, by section.
    QStringList captions() const;

private:
    void buildPage();
    QWidget *buildTemplates();
    QWidget *buildOrder();
    QWidget *buildSections();
    QWidget *buildBands();
    QWidget *buildRecommendations();
    void bindTexts();
    void retitleOrder();

    // Templates.
    void chooseStencil(int index);
    void applyStencil(const PrintCatalogue::Stencil &stencil);
    void resetOrder();
    PrintCatalogue::Stencil currentChoice() const;
    void storeStencil();
    void changeStencil();
    void deleteStencil();
    QString chosenStencil() const; // empty for the default template
    void selectStencil(const QString &name);
    void updateStencilButtons();

    // Order list.
    QList<QueueEntry> orderEntries() const;
    void setOrderEntries(const QList<std::pair<int, bool>> &entries);
    // The ticked sections of the order list, in list order.
    QList<int> printOrder() const;
    void moveOrder(int step);

    // Recommendations.
    void fillRecommendations(const QStringList &ticked);
    QStringList tickedRecommendations() const;
    void chooseRecommendation(int index);
    void newRecommendation();
    void storeRecommendation();
    void deleteRecommendation();

    // The progress section of the client's report.
    ReportInput::Progress progress(const QString &client, int percent) const;

    // Header and footer.
    QTextEdit *activeRich() const;
    void alignRich(Qt::Alignment alignment);
    void insertImage();
    void chooseFont();
    ReportBand band(QTextEdit *edit, bool header) const;
    QStringList saveBandPictures(QTextEdit *edit, const QString &band) const;
    // Pictures print at most 80 CSS pixels high; twice that keeps them sharp on paper.
    static constexpr int MaxBandPictureHeight = 160;

    bool eventFilter(QObject *watched, QEvent *event) override;

    DataModule *m_data;
    Session *m_session;
    PrintCatalogue *m_catalogue;
    const ReportTemplate *m_page;
    ReportSources m_sources;
    PrintStore m_store;
    ChannelCatalogue m_channels;
    QList<PrintCatalogue::Stencil> m_stencilRows;
    QList<PrintCatalogue::Recommendation> m_recomRows;
    bool m_filled = false;
    bool m_filling = false;

    QLabel *m_stencilLabel = nullptr;
    QComboBox *m_stencils = nullptr;
    QLabel *m_newStencilLabel = nullptr;
    QLineEdit *m_newStencil = nullptr;
    QPushButton *m_storeStencil = nullptr;
    QPushButton *m_changeStencil = nullptr;
    QPushButton *m_deleteStencil = nullptr;

    QLabel *m_orderLabel = nullptr;
    QListWidget *m_order = nullptr;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;

    QLabel *m_sectionsLabel = nullptr;
    std::array<QCheckBox *, ReportSections::Count> m_boxes{};
    QPushButton *m_printData = nullptr;

    QLabel *m_headerLabel = nullptr;
    QLabel *m_footerLabel = nullptr;
    QTextEdit *m_header = nullptr;
    QTextEdit *m_footer = nullptr;
    QString m_footerNote; // the note the footer holds while nobody has written another
    QPointer<QTextEdit> m_lastRich;

    QLabel *m_recomLabel = nullptr;
    QComboBox *m_recomCombo = nullptr;
    QToolButton *m_newRecom = nullptr;
    QLineEdit *m_recomName = nullptr;
    QPlainTextEdit *m_recomDescription = nullptr;
    QPushButton *m_storeRecom = nullptr;
    QPushButton *m_deleteRecom = nullptr;
    QTableView *m_grid = nullptr;
    QStandardItemModel *m_recomModel = nullptr;

    TPrintForm *m_preview = nullptr;
    QString m_reportName;
};
