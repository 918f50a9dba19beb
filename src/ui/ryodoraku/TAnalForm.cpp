#include "TAnalForm.h"
#include "common/TableFit.h"

#include "AnalBarChart.h"
#include "AnalRatioStrip.h"
#include "CircadianChart.h"
#include "localization/LanguageApplier.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTabBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstdlib>
#include <utility>

namespace {

QString word(const char *key, const char *fallback) {
    return LanguageApplier::instance().text(QLatin1String(key), QString::fromUtf8(fallback));
}

QString word(const QString &key) {
    return LanguageApplier::instance().text(key, key);
}

QString number(double x) {
    return MeridianAnalysis::numberText(x);
}

// Long captions go on two lines, broken at the blank nearest the middle, so that all eight
// tabs stay readable side by side.
QString tabCaption(const QString &text) {
    if (text.size() <= 12)
        return text;
    int best = -1;
    for (int i = 0; i < text.size(); ++i) {
        // A line never starts with a dash.
        if (text.at(i) == QLatin1Char(' ') && text.mid(i + 1, 1) != QLatin1String("-") &&
            (best < 0 || std::abs(i - text.size() / 2) < std::abs(best - text.size() / 2)))
            best = i;
    }
    if (best < 0)
        return text;
    QString wrapped = text;
    wrapped[best] = QLatin1Char('\n');
    return wrapped;
}

QTableWidget *makeGrid(QWidget *parent, const QString &name, int rows, int columns) {
    auto *grid = new QTableWidget(rows, columns, parent);
    grid->setObjectName(name);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(24);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setWordWrap(false);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            grid->setItem(r, c, new QTableWidgetItem);
    return grid;
}

// A grid tall enough for all its rows.
void fitHeight(QTableWidget *grid) {
    int h = 2 * grid->frameWidth();
    if (!grid->horizontalHeader()->isHidden())
        h += grid->horizontalHeader()->sizeHint().height();
    h += grid->rowCount() * grid->verticalHeader()->defaultSectionSize();
    grid->setFixedHeight(h);
}

void setCell(QTableWidget *grid, int row, int column, const QString &text,
             const QColor &color = QColor(), bool bold = false,
             Qt::Alignment alignment = Qt::AlignCenter) {
    QTableWidgetItem *item = grid->item(row, column);
    item->setText(text);
    item->setTextAlignment(alignment);
    item->setForeground(color.isValid() ? QBrush(color) : QBrush());
    QFont font = grid->font();
    font.setBold(bold);
    item->setFont(font);
}

// A heading cell of a grid that carries its own headings.
void setHeadingCell(QTableWidget *grid, int row, int column, const QString &text,
                    Qt::Alignment alignment = Qt::AlignCenter) {
    setCell(grid, row, column, text, QColor(0x24, 0x31, 0x3d), true, alignment);
    grid->item(row, column)->setBackground(QColor(0xe6, 0xec, 0xf2));
}

QString sideWord(bool left) {
    return left ? word("AnalSideLeft", "left") : word("AnalSideRight", "right");
}

// A bar's label in the interface language: the analysis words it "left LU" or "LU right".
QString labelText(const QString &label) {
    QStringList words = label.split(QLatin1Char(' '));
    for (QString &w : words) {
        if (w == QLatin1String("left"))
            w = sideWord(true);
        else if (w == QLatin1String("right"))
            w = sideWord(false);
    }
    return words.join(QLatin1Char(' '));
}

// The chart's bars from the analysis's: the code, and the side word unless `withSide` is off.
AnalBarChart::Group group(const QString &title, const MeridianAnalysis::Series &series,
                          const MeridianAnalysis &a, bool withSide) {
    AnalBarChart::Group g;
    g.title = title;
    for (const MeridianAnalysis::Bar &b : series) {
        AnalBarChart::Bar bar;
        bar.code = a.meridians[size_t((b.number - 1) / 2)].code;
        bar.side = withSide ? sideWord(b.number % 2 == 1) : QString();
        bar.name = labelText(b.label);
        bar.value = b.value;
        bar.color = b.color;
        g.bars.append(bar);
    }
    return g;
}

QString meanLabel(const MeridianAnalysis &a) {
    return word("AnalMean", "Mean") + QLatin1Char(' ') + number(a.mean);
}

QString noTestText() {
    return word("AnalNoTest", "No test carries the selected date.");
}

} // namespace

TAnalForm::TAnalForm(QWidget *parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("TAnalForm"));
    buildPages();
    connect(&LanguageApplier::instance(), &LanguageApplier::applied, this, &TAnalForm::refresh);
    refresh();
}

QString TAnalForm::pageName(Page page) {
    static const char *const names[PageCount] = {
        "MusculoskeletalPage",  "MetabolismPage",      "MentalPage",       "AutonomicPage",
        "ExternalInternalPage", "ExcessDeficientPage", "RatiosReviewPage", "CircadianPage"};
    return page >= 0 && page < PageCount ? QLatin1String(names[page]) : QString();
}

void TAnalForm::buildPages() {
    setStyleSheet(QStringLiteral(
        "QLabel#AnalCaption { color: #1f2d3a; font-weight: bold; font-size: 11pt; }"
        "QLabel#AnalDate { color: #50606f; }"
        "QTabWidget#AnalPages::pane { border: 1px solid #c5d0db; background: white; top: -1px; }"
        "QTableWidget { gridline-color: #dfe5eb; border: 1px solid #c5d0db; }"
        "QHeaderView::section { background: #e6ecf2; color: #24313d; font-weight: bold;"
        " border: none; border-right: 1px solid #d0d8e0; border-bottom: 1px solid #d0d8e0;"
        " padding: 3px; }"
        "QLabel#CircadianScale { color: #24313d; }"));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    auto *head = new QHBoxLayout;
    head->setContentsMargins(4, 0, 4, 0);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("AnalCaption"));
    m_date = new QLabel(this);
    m_date->setObjectName(QStringLiteral("AnalDate"));
    head->addWidget(m_caption);
    head->addSpacing(10);
    head->addWidget(m_date, 1);
    column->addLayout(head);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("AnalPages"));
    m_pages->setDocumentMode(false);
    m_pages->setUsesScrollButtons(true);
    m_pages->setElideMode(Qt::ElideNone);
    column->addWidget(m_pages, 1);

    m_pages->addTab(systemPage(MusculoskeletalPage, m_leftRight, QStringLiteral("LeftRightRatio"),
                               {&m_musculoskeletal}, {QStringLiteral("MusculoskeletalChart")}),
                    QString());
    m_pages->addTab(systemPage(MetabolismPage, m_yinYang, QStringLiteral("YinYangRatio"),
                               {&m_metabolism}, {QStringLiteral("MetabolismChart")}),
                    QString());
    m_pages->addTab(systemPage(MentalPage, m_upperLower, QStringLiteral("UpperLowerRatio"),
                               {&m_mental}, {QStringLiteral("MentalChart")}),
                    QString());
    m_pages->addTab(
        systemPage(AutonomicPage, m_autonomic, QStringLiteral("AutonomicRatio"),
                   {&m_autonomicLeft, &m_autonomicRight},
                   {QStringLiteral("AutonomicLeftChart"), QStringLiteral("AutonomicRightChart")}),
        QString());
    m_pages->addTab(externalInternalPage(), QString());
    m_pages->addTab(excessPage(), QString());
    m_pages->addTab(ratiosReviewPage(), QString());
    m_pages->addTab(circadianPage(), QString());

    // The grids show all their rows without scrolling, once the style has set their headers.
    for (QTableWidget *grid : {m_elementGrid, m_ratioGrid, m_sumGrid, m_valueGrid}) {
        grid->ensurePolished();
        grid->horizontalHeader()->ensurePolished();
        fitHeight(grid);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
}

QWidget *TAnalForm::systemPage(Page page, AnalRatioStrip *&strip, const QString &stripName,
                               const QList<AnalBarChart **> &charts,
                               const QStringList &chartNames) {
    auto *widget = new QWidget;
    widget->setObjectName(pageName(page));
    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(8, 8, 8, 6);
    column->setSpacing(6);
    strip = new AnalRatioStrip(widget);
    strip->setObjectName(stripName);
    column->addWidget(strip);
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    for (int i = 0; i < charts.size(); ++i) {
        auto *chart = new AnalBarChart(widget);
        chart->setObjectName(chartNames.at(i));
        *charts.at(i) = chart;
        row->addWidget(chart, 1);
    }
    column->addLayout(row, 1);
    return widget;
}

QWidget *TAnalForm::externalInternalPage() {
    auto *widget = new QWidget;
    widget->setObjectName(pageName(ExternalInternalPage));
    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(8, 8, 8, 6);
    column->setSpacing(8);
    m_elementGrid = makeGrid(widget, QStringLiteral("ElementGrid"), 7, 5);
    m_elementGrid->horizontalHeader()->hide();
    m_elementGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_elementGrid->setShowGrid(true);
    fitHeight(m_elementGrid);
    column->addWidget(m_elementGrid);
    m_elementChart = new AnalBarChart(widget);
    m_elementChart->setObjectName(QStringLiteral("ElementChart"));
    column->addWidget(m_elementChart, 1);
    return widget;
}

QWidget *TAnalForm::excessPage() {
    auto *widget = new QWidget;
    widget->setObjectName(pageName(ExcessDeficientPage));
    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(8, 8, 8, 6);
    m_excess = new AnalBarChart(widget);
    m_excess->setObjectName(QStringLiteral("ExcessChart"));
    column->addWidget(m_excess, 1);
    return widget;
}

QWidget *TAnalForm::ratiosReviewPage() {
    auto *widget = new QWidget;
    widget->setObjectName(pageName(RatiosReviewPage));
    auto *row = new QHBoxLayout(widget);
    row->setContentsMargins(8, 8, 8, 6);
    row->setSpacing(10);

    auto *left = new QVBoxLayout;
    left->setSpacing(8);
    m_ratioGrid = makeGrid(widget, QStringLiteral("RatiosGrid"), 5, 5);
    m_ratioGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < 5; ++c)
        m_ratioGrid->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    fitHeight(m_ratioGrid);
    left->addWidget(m_ratioGrid);
    m_sumGrid = makeGrid(widget, QStringLiteral("SumsGrid"), 6, 4);
    m_sumGrid->horizontalHeader()->hide();
    m_sumGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_sumGrid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    fitHeight(m_sumGrid);
    left->addWidget(m_sumGrid);
    left->addStretch();
    row->addLayout(left, 5);

    m_valueGrid = makeGrid(widget, QStringLiteral("ValuesGrid"), Channels::MeridianCount, 3);
    m_valueGrid->verticalHeader()->setDefaultSectionSize(23);
    fitHeight(m_valueGrid);
    auto *right = new QVBoxLayout;
    right->addWidget(m_valueGrid);
    right->addStretch();
    row->addLayout(right, 2);
    return widget;
}

QWidget *TAnalForm::circadianPage() {
    auto *widget = new QWidget;
    widget->setObjectName(pageName(CircadianPage));
    auto *row = new QHBoxLayout(widget);
    row->setContentsMargins(8, 8, 8, 6);
    m_circadian = new CircadianChart(widget);
    m_circadian->setObjectName(QStringLiteral("CircadianChart"));
    row->addWidget(m_circadian, 3);
    m_circadianInfo = new QLabel(widget);
    m_circadianInfo->setObjectName(QStringLiteral("CircadianScale"));
    m_circadianInfo->setTextFormat(Qt::RichText);
    m_circadianInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_circadianInfo->setWordWrap(true);
    m_circadianInfo->setMinimumWidth(180);
    row->addWidget(m_circadianInfo, 1);
    return widget;
}

void TAnalForm::FormShow(const MeridianAnalysis &analysis, const QString &dateText) {
    m_analysis = analysis;
    m_dateText = dateText;
    refresh();
}

void TAnalForm::refresh() {
    setUpdatesEnabled(false);
    m_caption->setText(word("AnalysisFormCaption", "Meridian analysis"));
    m_date->setText(m_analysis.hasTest ? m_dateText : noTestText());
    fillTabs();
    fillSystemCharts();
    fillElements();
    fillExcess();
    fillReview();
    fillCircadian();
    setUpdatesEnabled(true);
}

void TAnalForm::fillTabs() {
    // Room for two lines in every tab: the captions of the language decide which need them.
    const int lines = 2 * m_pages->tabBar()->fontMetrics().lineSpacing();
    m_pages->tabBar()->setStyleSheet(
        QStringLiteral(
            "QTabBar::tab { background: #dde5ed; color: #50606f; border: 1px solid #c5d0db;"
            " padding: 2px 7px; margin-right: 1px; min-height: %1px;"
            " border-top-left-radius: 5px; border-top-right-radius: 5px; }"
            "QTabBar::tab:selected { background: white; color: #1f2d3a;"
            " border-bottom-color: white; }")
            .arg(lines));
    const QString captions[PageCount] = {
        word("AnalMusculoskeletal", "Musculoskeletal System"),
        word("AnalMetabolism", "Metabolism"),
        word("AnalMental", "Mental"),
        word("AnalAutonomic", "Autonomic Nervous System"),
        word("AnalExternalInternal", "External - Internal Analysis"),
        word("AnalExcessDeficient", "Excess vs deficient Channels"),
        word("AnalRatiosReview", "Ratios Review"),
        word("AnalCircadian", "CIRCADIAN chart")};
    for (int i = 0; i < PageCount; ++i) {
        m_pages->setTabText(i, tabCaption(captions[i]));
        m_pages->setTabToolTip(i, captions[i]);
    }
    // Every tab in sight: a window too narrow for them scrolls the page instead of hiding tabs
    // behind arrows.
    m_pages->setMinimumWidth(m_pages->tabBar()->sizeHint().width() + 4);
}

void TAnalForm::fillSystemCharts() {
    const MeridianAnalysis &a = m_analysis;
    const QString band = word("AnalNormalRange", "Normal range");
    struct StripOf {
        AnalRatioStrip *strip;
        QString name;
        const MeridianAnalysis::Ratio &ratio;
    };
    const StripOf strips[] = {
        {m_leftRight, word("AnalLeftRight", "Left / right"), a.leftRight},
        {m_yinYang, word("AnalYinYang", "Yin / yang"), a.yinYang},
        {m_upperLower, word("AnalUpperLower", "Upper / lower"), a.upperLower},
        {m_autonomic, word("AnalAutonomicRatio", "Largest / smallest side sum"), a.autonomic}};
    for (const StripOf &s : strips) {
        if (a.hasTest)
            s.strip->setRatio(s.name, s.ratio, band, word(s.ratio.verdictKey));
        else
            s.strip->clear(s.name);
    }

    m_autonomicLeft->setTitle(word("AnalLeftGroup", "LEFT"));
    m_autonomicRight->setTitle(word("AnalRightGroup", "RIGHT"));
    if (!a.hasTest) {
        for (AnalBarChart *chart :
             {m_musculoskeletal, m_metabolism, m_mental, m_autonomicLeft, m_autonomicRight})
            chart->clear(noTestText());
        return;
    }
    const QString mean = meanLabel(a);
    m_musculoskeletal->setData(
        {group(word("AnalLeftSide", "Left side"), a.musculoskeletal.first, a, false),
         group(word("AnalRightSide", "Right side"), a.musculoskeletal.second, a, false)},
        a.mean, mean);
    m_metabolism->setData(
        {group(word("AnalYinMeridians", "Yin meridians"), a.metabolism.first, a, true),
         group(word("AnalYangMeridians", "Yang meridians"), a.metabolism.second, a, true)},
        a.mean, mean);
    m_mental->setData(
        {group(word("AnalHandMeridians", "Hand meridians"), a.mental.first, a, true),
         group(word("AnalFootMeridians", "Foot meridians"), a.mental.second, a, true)},
        a.mean, mean);
    const QString hand = word("AnalHand", "Hand"), foot = word("AnalFoot", "Foot");
    m_autonomicLeft->setData(
        {group(hand, a.autonomicLeft.first, a, true), group(foot, a.autonomicLeft.second, a, true)},
        a.mean, mean);
    m_autonomicRight->setData({group(hand, a.autonomicRight.first, a, true),
                               group(foot, a.autonomicRight.second, a, true)},
                              a.mean, mean);
}

void TAnalForm::fillElements() {
    const MeridianAnalysis &a = m_analysis;
    for (int c = 0; c < 5; ++c)
        setHeadingCell(m_elementGrid, 0, c, word(QStringLiteral("lang%1").arg(260 + c)));
    AnalBarChart::Group bars;
    for (int row = 1; row <= 6; ++row) {
        const MeridianAnalysis::ElementRow &e = a.elements[size_t(row - 1)];
        setHeadingCell(m_elementGrid, row, 0, word(QStringLiteral("lang%1").arg(264 + row)),
                       Qt::AlignLeft | Qt::AlignVCenter);
        if (!a.hasTest) {
            for (int c = 1; c < 5; ++c)
                setCell(m_elementGrid, row, c, QString());
            continue;
        }
        setCell(m_elementGrid, row, 1, QString::number(e.internalSum));
        setCell(m_elementGrid, row, 2, QString::number(e.externalSum));
        setCell(m_elementGrid, row, 3, number(e.d));
        setCell(m_elementGrid, row, 4, e.verdictKey.isEmpty() ? QString() : word(e.verdictKey),
                e.barColor, true);
        if (e.hasBar) {
            AnalBarChart::Bar bar;
            bar.code = word(e.elementKey);
            bar.side = e.internalCode + QStringLiteral(" – ") + e.externalCode;
            bar.value = e.barValue;
            bar.color = e.barColor;
            bars.bars.append(bar);
        }
    }
    m_elementGrid->resizeColumnToContents(0);
    m_elementGrid->setColumnWidth(0, m_elementGrid->columnWidth(0) + 16);
    TableFit::keepColumnReadable(m_elementGrid, 4); // the verdicts
    if (!a.hasTest) {
        m_elementChart->clear(noTestText());
        m_elementChart->setReferenceLines({});
        return;
    }
    m_elementChart->setData({bars}, 0, QString());
    // The bounds between the verdicts.
    const QString normal = word("Normal", "Normal"), tolerable = word("Tolerable", "Tolerable");
    m_elementChart->setReferenceLines(
        {{52.3, normal + QStringLiteral(" / ") + tolerable, QColor(0, 128, 0)},
         {97.46, tolerable + QStringLiteral(" / ") + word("Imbalanced", "Imbalanced"),
          QColor(255, 0, 0)}});
}

void TAnalForm::fillExcess() {
    const MeridianAnalysis &a = m_analysis;
    if (!a.hasTest) {
        m_excess->clear(noTestText());
        return;
    }
    // Split where the bars cross the mean: the order stays the analysis's.
    AnalBarChart::Group above{word("AnalExcess", "Excess: above the mean"), {}};
    AnalBarChart::Group below{word("AnalDeficient", "Deficient: at or below the mean"), {}};
    for (const MeridianAnalysis::Bar &b : a.excessDeficient) {
        AnalBarChart::Bar bar;
        bar.code = a.meridians[size_t((b.number - 1) / 2)].code;
        bar.side = sideWord(b.number % 2 == 1);
        bar.name = labelText(b.label);
        bar.value = b.value;
        bar.color = b.color;
        (b.value > a.mean ? above : below).bars.append(bar);
    }
    QList<AnalBarChart::Group> groups;
    for (const auto &g : {above, below})
        if (!g.bars.isEmpty())
            groups.append(g);
    m_excess->setData(groups, a.mean, meanLabel(a));
}

void TAnalForm::fillReview() {
    const MeridianAnalysis &a = m_analysis;
    m_ratioGrid->setHorizontalHeaderLabels(
        {word("AnalRatio", "Ratio"), word("AnalValue", "Value"), word("AnalLowBound", "Low bound"),
         word("AnalHighBound", "High bound"), word("AnalVerdict", "Verdict")});
    // Each row is named by its system; the tooltip tells which ratio it is.
    struct RowOf {
        QString name;
        QString ratioName;
        const MeridianAnalysis::Ratio &ratio;
    };
    const RowOf rows[] = {
        {word("AnalMusculoskeletal", "Musculoskeletal System"),
         word("AnalLeftRight", "Left / right"), a.leftRight},
        {word("AnalMetabolism", "Metabolism"), word("AnalYinYang", "Yin / yang"), a.yinYang},
        {word("AnalMental", "Mental"), word("AnalUpperLower", "Upper / lower"), a.upperLower},
        {word("AnalAutonomic", "Autonomic Nervous System"),
         word("AnalAutonomicRatio", "Largest / smallest side sum"), a.autonomic},
        {word("AnalTotalBodyEnergy", "Total Body Energy"), word("AnalMean", "Mean"), a.bodyEnergy}};
    for (int r = 0; r < 5; ++r) {
        const MeridianAnalysis::Ratio &ratio = rows[r].ratio;
        const bool shown = a.hasTest && ratio.value.has_value();
        setCell(m_ratioGrid, r, 0, rows[r].name, QColor(), false, Qt::AlignLeft | Qt::AlignVCenter);
        setCell(m_ratioGrid, r, 1, shown ? MeridianAnalysis::ratioText(*ratio.value) : QString(),
                QColor(), true);
        setCell(m_ratioGrid, r, 2, MeridianAnalysis::ratioText(ratio.low));
        setCell(m_ratioGrid, r, 3, MeridianAnalysis::ratioText(ratio.high));
        setCell(m_ratioGrid, r, 4, shown ? word(ratio.verdictKey) : QString(),
                AnalRatioStrip::verdictColor(ratio.verdictKey), true);
        m_ratioGrid->item(r, 0)->setToolTip(rows[r].name + QStringLiteral(": ") +
                                            rows[r].ratioName);
    }

    m_valueGrid->setHorizontalHeaderLabels(
        {word("AnalChannel", "Meridian"), word("Left", "Left"), word("Right", "Right")});
    for (int m = 0; m < Channels::MeridianCount; ++m) {
        const auto &meridian = a.meridians[size_t(m)];
        setHeadingCell(m_valueGrid, m, 0, Channels::meridianCodes().at(m));
        const auto valueCell = [&](int column, int value) {
            if (!a.hasTest)
                setCell(m_valueGrid, m, column, QString());
            else
                setCell(m_valueGrid, m, column, QString::number(value),
                        value > a.mean ? QColor(0xc6, 0x28, 0x28) : QColor(0x2e, 0x7d, 0x32));
        };
        valueCell(1, meridian.left);
        valueCell(2, meridian.right);
    }

    const std::pair<QString, double> sums[12] = {
        {word("AnalGroupA", "Hand yin (LU PC HT)"), a.groupA},
        {word("AnalGroupB", "Hand yang (SI TH LI)"), a.groupB},
        {word("AnalGroupC", "Foot yin (SP LV KI)"), a.groupC},
        {word("AnalGroupD", "Foot yang (BL GB ST)"), a.groupD},
        {word("AnalUpper", "Upper (hands)"), a.upper},
        {word("AnalLower", "Lower (feet)"), a.lower},
        {word("AnalYinSum", "Yin"), a.yin},
        {word("AnalYangSum", "Yang"), a.yang},
        {word("AnalLeftSide", "Left side"), a.totalLeft},
        {word("AnalRightSide", "Right side"), a.totalRight},
        {word("AnalTotal", "Total"), a.total},
        {word("AnalMean", "Mean"), a.mean}};
    for (int i = 0; i < 12; ++i) {
        const int r = i / 2, c = (i % 2) * 2;
        setHeadingCell(m_sumGrid, r, c, sums[i].first, Qt::AlignLeft | Qt::AlignVCenter);
        m_sumGrid->item(r, c)->setToolTip(sums[i].first);
        setCell(m_sumGrid, r, c + 1, a.hasTest ? number(sums[i].second) : QString(), QColor(),
                i == 11);
    }
}

void TAnalForm::fillCircadian() {
    const MeridianAnalysis &a = m_analysis;
    if (!a.hasTest) {
        m_circadian->setAnalysis(MeridianAnalysis{});
        m_circadian->setNotice(noTestText());
        m_circadianInfo->clear();
        return;
    }
    m_circadian->setAnalysis(a);
    m_circadian->setNotice(QString());
    const auto swatch = [](const QColor &c) {
        return QStringLiteral("<span style=\"color:%1; font-size:14pt;\">&#9679;</span> ")
            .arg(c.name());
    };
    const QColor meanPen = a.circadianCircles.value(0).pen;
    const QColor bandPen = a.circadianCircles.value(1).pen;
    m_circadianInfo->setText(
        QStringLiteral("<p><b>%1: ×%2</b></p><p>%3: %4</p><p>%5%6<br>%7%8</p>"
                       "<p>%9%10<br>%11%12<br>%13%14</p>")
            .arg(word("AnalScale", "Scale"), QString::number(a.circadianScale),
                 word("AnalMean", "Mean"), number(a.mean), swatch(meanPen.darker(115)),
                 word("AnalMeanCircle", "the mean"), swatch(bandPen.darker(115)),
                 word("AnalBandCircle", "the mean ±10 %"), swatch(QColor(232, 93, 74)),
                 word("AnalAboveBand", "above the band"), swatch(QColor(88, 190, 120)),
                 word("AnalInBand", "within the band"))
            .arg(swatch(QColor(74, 144, 226)), word("AnalBelowBand", "below the band")));
}
