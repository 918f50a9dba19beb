#pragma once

#include "ryodoraku/MeridianAnalysis.h"

#include <QString>
#include <QWidget>

class AnalBarChart;
class AnalRatioStrip;
class CircadianChart;
class QLabel;
class QTabWidget;
class QTableWidget;

// The meridian analysis of one test (`TAnalForm`), shown in the Analysis tab of the Ryodoraku
// view: the four system charts with their ratios, the coupled yin/yang comparison per element,
// the channels from most in excess to most deficient, a review of every ratio and sum, and the
// organ clock. It only shows: the arithmetic is MeridianAnalysis's. Every word is looked up in
// the current language each time something is shown.
class TAnalForm : public QWidget {
    Q_OBJECT
public:
    // The pages, in order, by objectName.
    enum Page {
        MusculoskeletalPage,
        MetabolismPage,
        MentalPage,
        AutonomicPage,
        ExternalInternalPage,
        ExcessDeficientPage,
        RatiosReviewPage,
        CircadianPage,
        PageCount
    };

    explicit TAnalForm(QWidget *parent = nullptr);

    // Translates the words and shows `analysis` on every page, grid headers included;
    // `dateText` names the test in the caption. An analysis without a test (no test carries
    // the date) empties every page.
    void FormShow(const MeridianAnalysis &analysis, const QString &dateText = QString());
    const MeridianAnalysis &analysis() const { return m_analysis; }

    QTabWidget *pages() const { return m_pages; }
    static QString pageName(Page page);

private:
    void buildPages();
    QWidget *systemPage(Page page, AnalRatioStrip *&strip, const QString &stripName,
                        const QList<AnalBarChart **> &charts, const QStringList &chartNames);
    QWidget *externalInternalPage();
    QWidget *excessPage();
    QWidget *ratiosReviewPage();
    QWidget *circadianPage();

    // Everything shown, from m_analysis and the current language.
    void refresh();
    void fillTabs();
    void fillSystemCharts();
    void fillElements();
    void fillExcess();
    void fillReview();
    void fillCircadian();

    MeridianAnalysis m_analysis;
    QString m_dateText;

    QLabel *m_caption = nullptr;
    QLabel *m_date = nullptr;
    QTabWidget *m_pages = nullptr;

    AnalRatioStrip *m_leftRight = nullptr;
    AnalRatioStrip *m_yinYang = nullptr;
    AnalRatioStrip *m_upperLower = nullptr;
    AnalRatioStrip *m_autonomic = nullptr;
    AnalBarChart *m_musculoskeletal = nullptr;
    AnalBarChart *m_metabolism = nullptr;
    AnalBarChart *m_mental = nullptr;
    AnalBarChart *m_autonomicLeft = nullptr;
    AnalBarChart *m_autonomicRight = nullptr;

    QTableWidget *m_elementGrid = nullptr;
    AnalBarChart *m_elementChart = nullptr;
    AnalBarChart *m_excess = nullptr;

    QTableWidget *m_ratioGrid = nullptr;
    QTableWidget *m_valueGrid = nullptr;
    QTableWidget *m_sumGrid = nullptr;

    CircadianChart *m_circadian = nullptr;
    QLabel *m_circadianInfo = nullptr;
};
