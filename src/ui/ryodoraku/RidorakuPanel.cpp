#include "RidorakuPanel.h"

#include "ryodoraku/CorridorPercent.h"
#include "AnatomyController.h"
#include "TAnalForm.h"
#include "TRiodoracuFrame.h"
#include "app/AppPaths.h"
#include "app/Session.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "records/DataModule.h"
#include "records/TestsModel.h"
#include "ryodoraku/ChannelCard.h"
#include "ryodoraku/ChannelResultsBuilder.h"
#include "ryodoraku/MeridianAnalysis.h"
#include "ryodoraku/SymptomMarksStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");

// The six pair toggles, left to right, then AllCond.
const QStringList &pairToggles()
{
    static const QStringList names{QStringLiteral("LeftOrgan"), QStringLiteral("RightOrgan"),
                                   QStringLiteral("InOrgan"),   QStringLiteral("YanOrgan"),
                                   QStringLiteral("HightCond"), QStringLiteral("LawCond")};
    return names;
}

const QString kAllCond = QStringLiteral("AllCond");

// A colour written the Windows way, 0xBBGGRR.
QColor windowsColor(unsigned value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}


QString cardText(const QString &key)
{
    return LanguageApplier::instance().text(key);
}

} // namespace

RidorakuPanel::RidorakuPanel(DataModule *data, Session *session, TestsModel *tests,
                             QWidget *parent)
    : WorkPage(QStringLiteral("RidorakuPanel"), parent)
    , m_data(data)
    , m_session(session)
    , m_tests(tests)
    , m_percentSource(CorridorPercent::stored)
    , m_catalogue(ChannelCatalogue::load())
{
    loadCatalogueNames(m_marks, m_catalogue);
    resetMarks(m_marks);
    buildPage();
    bindTexts();
    m_anatomy = new AnatomyController(m_data, this);
    m_anatomy->setKeepClear(m_cb3D);
    connect(this, &RidorakuPanel::anatomyRequested, this, &RidorakuPanel::SpeedButton8Click);
    connect(this, &RidorakuPanel::anatomyClosed, m_anatomy, &AnatomyController::close);
    // A display closed from its own frame unticks the box, so the next date does not reopen it.
    connect(m_anatomy, &AnatomyController::closedByUser, this, [this] { m_cb3D->setChecked(false); });
}

void RidorakuPanel::setPercentSource(std::function<QString()> source)
{
    m_percentSource = source ? std::move(source) : std::function<QString()>(CorridorPercent::stored);
}

QString RidorakuPanel::dateText(const QDateTime &moment)
{
    return moment.toString(kDateFormat);
}

void RidorakuPanel::buildPage()
{
    setStyleSheet(QStringLiteral(
        "#RidorakuPanel { background: #eef2f6; }"
        "#TopBar QLabel#DateCaption { color: #24313d; font-weight: bold; }"
        "#RidorakuDate { background: white; padding: 2px 6px; min-height: 22px; }"
        "QLabel#sLabel8, QLabel#AnalLabel { padding: 4px 18px; border: 1px solid #c5d0db;"
        " border-top-left-radius: 6px; border-top-right-radius: 6px; }"
        "QLabel[skin=\"DIALOG\"] { background: white; color: #1f2d3a; font-weight: bold;"
        " border-bottom-color: white; }"
        "QLabel[skin=\"BAR\"] { background: #dde5ed; color: #50606f; }"
        "#FilterBar { background: white; border: 1px solid #c5d0db; border-radius: 6px; }"
        "#FilterBar QLabel { border: 1px solid #b8c4cf; border-radius: 4px; color: #1f2d3a; }"
        "#RidorakuBox { background: transparent; border: none; }"
        "#RidorakuBoxContents { background: transparent; }"
        "#AnalysisHost { background: white; border: 1px solid #c5d0db; border-radius: 6px; }"
        "#AnalysisPlaceholder { color: #50606f; font-size: 13pt; }"));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 6, 8, 6);
    column->setSpacing(4);

    m_topBar = new QWidget(this);
    m_topBar->setObjectName(QStringLiteral("TopBar"));
    auto *top = new QHBoxLayout(m_topBar);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(6);
    m_dateCaption = new QLabel(m_topBar);
    m_dateCaption->setObjectName(QStringLiteral("DateCaption"));
    top->addWidget(m_dateCaption);
    m_dateList = new QComboBox(m_topBar);
    m_dateList->setObjectName(QStringLiteral("RidorakuDate"));
    m_dateList->setMinimumWidth(170);
    top->addWidget(m_dateList);
    connect(m_dateList, &QComboBox::currentIndexChanged, this, &RidorakuPanel::RidorakuDateChange);
    top->addSpacing(14);
    m_symptomsTab = new QLabel(m_topBar);
    m_symptomsTab->setObjectName(QStringLiteral("sLabel8"));
    m_analysisTab = new QLabel(m_topBar);
    m_analysisTab->setObjectName(QStringLiteral("AnalLabel"));
    for (QLabel *tab : {m_symptomsTab, m_analysisTab}) {
        tab->setCursor(Qt::PointingHandCursor);
        tab->installEventFilter(this);
        top->addWidget(tab, 0, Qt::AlignBottom);
    }
    top->addStretch();
    m_cb3D = new QCheckBox(m_topBar);
    m_cb3D->setObjectName(QStringLiteral("cb3D"));
    m_cb3D->setText(QStringLiteral("3D MODEL"));
    top->addWidget(m_cb3D);
    connect(m_cb3D, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            request3D();
        else
            Q_EMIT anatomyClosed();
    });
    column->addWidget(m_topBar);

    m_filterBar = new QWidget(this);
    m_filterBar->setObjectName(QStringLiteral("FilterBar"));
    m_filterBar->setAttribute(Qt::WA_StyledBackground);
    m_filterBar->setFixedHeight(34);
    m_filterBar->installEventFilter(this);
    m_showSymptoms = makeToggle(QStringLiteral("ShowSymptoms"));
    m_showSymptoms->setStyleSheet(QStringLiteral("background: white; font-weight: bold;"));
    for (const QString &name : pairToggles())
        m_toggles.insert(name, makeToggle(name));
    m_toggles.insert(kAllCond, makeToggle(kAllCond));
    for (auto it = m_toggles.cbegin(); it != m_toggles.cend(); ++it)
        setToggle(it.key(), true);
    column->addWidget(m_filterBar);

    m_box = new QScrollArea(this);
    m_box->setObjectName(QStringLiteral("RidorakuBox"));
    m_box->setWidgetResizable(false);
    m_box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_boxContents = new QWidget;
    m_boxContents->setObjectName(QStringLiteral("RidorakuBoxContents"));
    m_boxContents->setStyleSheet(TRiodoracuFrame::cardStyleSheet());
    m_box->setWidget(m_boxContents);
    m_box->viewport()->setAutoFillBackground(false);
    m_box->viewport()->installEventFilter(this);
    m_box->verticalScrollBar()->setSingleStep(24);
    m_emptyHint = new QLabel(m_box->viewport());
    m_emptyHint->setObjectName(QStringLiteral("RidorakuEmptyHint"));
    m_emptyHint->setAlignment(Qt::AlignCenter);
    m_emptyHint->setWordWrap(true);
    m_emptyHint->setStyleSheet(QStringLiteral("color: #5a6470; font-size: 11pt;"));
    m_emptyHint->hide();
    column->addWidget(m_box, 1);

    m_analysisHost = new QWidget(this);
    m_analysisHost->setObjectName(QStringLiteral("AnalysisHost"));
    m_analysisHost->setAttribute(Qt::WA_StyledBackground);
    auto *host = new QVBoxLayout(m_analysisHost);
    host->setContentsMargins(6, 6, 6, 6);
    m_analysisPlaceholder = new QLabel(m_analysisHost);
    m_analysisPlaceholder->setObjectName(QStringLiteral("AnalysisPlaceholder"));
    m_analysisPlaceholder->setAlignment(Qt::AlignCenter);
    host->addWidget(m_analysisPlaceholder);
    m_analysisHost->hide();
    column->addWidget(m_analysisHost, 1);

    paintShowSymptoms(false);
    paintTabs();
}

QLabel *RidorakuPanel::makeToggle(const QString &name)
{
    auto *toggle = new QLabel(m_filterBar);
    toggle->setObjectName(name);
    toggle->setAlignment(Qt::AlignCenter);
    toggle->setCursor(Qt::PointingHandCursor);
    toggle->installEventFilter(this);
    return toggle;
}

void RidorakuPanel::bindTexts()
{
    auto &applier = LanguageApplier::instance();
    const auto bindLabel = [&](QLabel *label, const QString &key, const QString &fallback) {
        applier.bindWithFallback(label, key, fallback, [label](const QString &t) { label->setText(t); });
    };
    bindLabel(m_dateCaption, QStringLiteral("TestDate"), QStringLiteral("Test date"));
    bindLabel(m_symptomsTab, QStringLiteral("SymptomsTab"), QStringLiteral("Symptoms"));
    bindLabel(m_analysisTab, QStringLiteral("AnalysisTab"), QStringLiteral("Analysis"));
    bindLabel(m_showSymptoms, QStringLiteral("Show"), QStringLiteral("Show"));
    bindLabel(m_toggles.value(QStringLiteral("LeftOrgan")), QStringLiteral("Left"), QStringLiteral("Left"));
    bindLabel(m_toggles.value(QStringLiteral("RightOrgan")), QStringLiteral("Right"), QStringLiteral("Right"));
    bindLabel(m_toggles.value(QStringLiteral("InOrgan")), QStringLiteral("In"), QStringLiteral("Yin"));
    bindLabel(m_toggles.value(QStringLiteral("YanOrgan")), QStringLiteral("Yang"), QStringLiteral("Yang"));
    bindLabel(m_toggles.value(QStringLiteral("HightCond")), QStringLiteral("HightCond"), QStringLiteral("High"));
    bindLabel(m_toggles.value(QStringLiteral("LawCond")), QStringLiteral("LawCond"), QStringLiteral("Low"));
    bindLabel(m_toggles.value(kAllCond), kAllCond, QStringLiteral("All"));
    applier.bindWithFallback(m_cb3D, QStringLiteral("3D"), QStringLiteral("3D MODEL"),
                             [this](const QString &t) { m_cb3D->setText(t); });
    // The cards carry texts of the language: rebuilt with their ticks when it changes.
    connect(&applier, &LanguageApplier::applied, this, [this] {
        if (!m_analysis && m_shownTest > 0 && isVisible())
            ShowSymptomsClick();
        else if (m_shownTest <= 0)
            showEmptyHint(nullptr, false);
        updateAnalysis();
    });
}

// --- toggles and tabs -------------------------------------------------------------------

void RidorakuPanel::setToggle(const QString &name, bool on)
{
    QLabel *toggle = m_toggles.value(name);
    if (!toggle)
        return;
    m_on.insert(name, on);
    const QColor color = on ? windowsColor(OnColor) : QColor(Qt::white);
    toggle->setProperty("color", color);
    toggle->setStyleSheet(QStringLiteral("background: %1;").arg(color.name()));
}

ChannelFilter::Toggles RidorakuPanel::toggles() const
{
    ChannelFilter::Toggles t;
    t.leftOrgan = toggleOn(QStringLiteral("LeftOrgan"));
    t.rightOrgan = toggleOn(QStringLiteral("RightOrgan"));
    t.inOrgan = toggleOn(QStringLiteral("InOrgan"));
    t.yanOrgan = toggleOn(QStringLiteral("YanOrgan"));
    t.hightCond = toggleOn(QStringLiteral("HightCond"));
    t.lawCond = toggleOn(QStringLiteral("LawCond"));
    t.allCond = toggleOn(kAllCond);
    return t;
}

void RidorakuPanel::LeftOrganClick(const QString &toggle)
{
    if (!pairToggles().contains(toggle))
        return;
    setToggle(toggle, !toggleOn(toggle));
    bool all = true;
    for (const QString &name : pairToggles())
        all = all && toggleOn(name);
    setToggle(kAllCond, all);
}

void RidorakuPanel::AllCondClick()
{
    const bool on = !toggleOn(kAllCond);
    for (const QString &name : pairToggles())
        setToggle(name, on);
    setToggle(kAllCond, on);
}

void RidorakuPanel::paintShowSymptoms(bool built)
{
    const QColor color = built ? windowsColor(BuiltColor) : QColor(Qt::white);
    m_showSymptoms->setProperty("color", color);
    m_showSymptoms->setStyleSheet(
        QStringLiteral("background: %1; font-weight: bold;").arg(color.name()));
}

void RidorakuPanel::paintTabs()
{
    // The active tab looks like the page under it, the other like the bar.
    m_symptomsTab->setProperty("skin", m_analysis ? QStringLiteral("BAR") : QStringLiteral("DIALOG"));
    m_analysisTab->setProperty("skin", m_analysis ? QStringLiteral("DIALOG") : QStringLiteral("BAR"));
    for (QLabel *tab : {m_symptomsTab, m_analysisTab}) {
        tab->style()->unpolish(tab);
        tab->style()->polish(tab);
    }
}

void RidorakuPanel::sLabel8Click()
{
    m_analysis = false;
    paintTabs();
    m_analysisHost->hide();
    m_filterBar->show();
    if (m_dateList->currentIndex() < 0) {
        // No test to choose: the box says so.
        showSelected();
        return;
    }
    RidorakuDateChange(m_dateList->currentIndex());
}

void RidorakuPanel::AnalLabelClick()
{
    m_analysis = true;
    paintTabs();
    m_filterBar->hide();
    m_box->hide();
    m_analysisHost->show();
    if (!m_analysisView)
        setAnalysisView(new TAnalForm);
    updateAnalysis();
}

void RidorakuPanel::setAnalysisView(QWidget *view)
{
    if (!view || view == m_analysisView)
        return;
    m_analysisView = view;
    view->setParent(m_analysisHost);
    m_analysisHost->layout()->addWidget(view);
    m_analysisPlaceholder->hide();
    view->show();
}

void RidorakuPanel::updateAnalysis()
{
    const TestRecord *test = selectedTest();
    const QString caption = LanguageApplier::instance().text(QStringLiteral("AnalysisFormCaption"),
                                                              QStringLiteral("Meridian analysis"));
    m_analysisPlaceholder->setText(test ? caption + QStringLiteral("\n") + dateText(test->testDate)
                                        : caption);
    if (!m_analysis)
        return;
    if (auto *form = qobject_cast<TAnalForm *>(m_analysisView.data()))
        form->FormShow(test ? MeridianAnalysis::analyse(*test) : MeridianAnalysis{},
                           test ? dateText(test->testDate) : m_dateList->currentText());
    Q_EMIT analysisTestChanged(test ? test->codeTest : 0);
}

void RidorakuPanel::request3D()
{
    if (!m_cb3D->isChecked())
        return;
    const TestRecord *test = selectedTest();
    Q_EMIT anatomyRequested(test ? test->codeTest : 0);
}

void RidorakuPanel::SpeedButton8Click(int codeTest)
{
    // Without the library the box does not stay ticked: the page goes on without a display.
    if (!m_anatomy->showTest(codeTest))
        m_cb3D->setChecked(false);
}

// --- opening, leaving and the date ------------------------------------------------------

const TestRecord *RidorakuPanel::selectedTest() const
{
    if (!m_tests || m_dateList->currentIndex() < 0)
        return nullptr;
    // The first test whose date reads the same: two tests saved within one second cannot be
    // told apart in the list and both show the first.
    const QDateTime moment = QDateTime::fromString(m_dateList->currentText(), kDateFormat);
    return findTestByDate(m_tests->tests(), moment);
}

void RidorakuPanel::enter()
{
    if (m_tests && m_session
        && m_tests->client().compare(m_session->currentClient(), Qt::CaseInsensitive) != 0)
        m_tests->setClient(m_session->currentClient());

    m_filling = true;
    m_dateList->clear();
    int selected = -1;
    int current = -1;
    const QString wanted = m_session ? dateText(m_session->selectedTestTime()) : QString();
    if (m_tests) {
        const QList<TestRecord> &tests = m_tests->tests();
        for (int row = 0; row < tests.size(); ++row) {
            const QString text = dateText(tests.at(row).testDate);
            m_dateList->addItem(text);
            if (!wanted.isEmpty() && text == wanted)
                selected = row; // the last entry with that date
            if (m_session && tests.at(row).codeTest == m_session->currentTest() && current < 0)
                current = row;
        }
    }
    // A test chosen in the client's test list is current; the date chosen here last time
    // wins when it belongs to this client.
    if (selected < 0)
        selected = current >= 0 ? current : (m_dateList->count() > 0 ? 0 : -1);
    m_dateList->setCurrentIndex(selected);
    m_filling = false;

    // Cards left from before (normally none): their ticks were stored when the page left.
    captureShown();
    paintShowSymptoms(true);
    m_box->hide();
    destroyCards();
    resetMarks(m_marks);
    m_shownTest = 0;

    if (m_analysis) {
        updateAnalysis();
    } else {
        showSelected();
    }
    request3D();
    if (const TestRecord *test = selectedTest(); test && m_session)
        m_session->setSelectedTestTime(test->testDate);
}

void RidorakuPanel::leave()
{
    captureShown();
    saveUnder(m_shownTest);
    m_anatomy->close();
}

void RidorakuPanel::RidorakuDateChange(int index)
{
    if (m_filling || index < 0)
        return;
    if (!m_analysis) {
        captureShown();
        saveUnder(m_shownTest);
        destroyCards();
        resetMarks(m_marks);
        showSelected();
    } else {
        updateAnalysis();
    }
    request3D();
    if (const TestRecord *test = selectedTest(); test && m_session)
        m_session->setSelectedTestTime(test->testDate);
}

void RidorakuPanel::showSelected()
{
    const TestRecord *test = selectedTest();
    m_shownTest = test ? test->codeTest : 0;
    m_shownClient = test ? test->codeClient : QString();
    if (test)
        loadFor(m_shownTest);
    m_box->hide();
    showEmptyHint(test, buildCards(test));
    applyToShown();
    m_box->show();
    layoutCards();
}

void RidorakuPanel::ShowSymptomsClick()
{
    // Same test, new filters: the ticks go round through the marks, the table stays put.
    captureShown();
    paintShowSymptoms(true);
    const TestRecord *test = nullptr;
    if (m_tests && m_shownTest > 0) {
        const int row = m_tests->rowOfTest(m_shownTest);
        if (row >= 0)
            test = &m_tests->testAt(row);
    }
    if (!test)
        destroyCards();
    showEmptyHint(test, buildCards(test));
    applyToShown();
    m_box->show();
    layoutCards();
}

// --- the mark operations ----------------------------------------------------------------

void RidorakuPanel::captureShown()
{
    QList<CardTicks> shown;
    shown.reserve(m_cards.size());
    for (const TRiodoracuFrame *card : std::as_const(m_cards))
        shown.append(card->ticks());
    captureMarks(m_marks, shown);
}

void RidorakuPanel::applyToShown()
{
    QList<CardTicks> shown;
    shown.reserve(m_cards.size());
    for (const TRiodoracuFrame *card : std::as_const(m_cards))
        shown.append(card->ticks());
    applyMarks(m_marks, shown);
    for (int i = 0; i < m_cards.size(); ++i)
        m_cards.at(i)->setTicks(shown.at(i));
}

void RidorakuPanel::saveUnder(int codeTest)
{
    if (codeTest <= 0 || !m_data || !m_data->isOpen() || codeTest == m_unreadMarksTest)
        return;
    QString error;
    if (!SymptomMarksStore::saveMarks(*m_data, m_shownClient, codeTest, m_marks, &error))
        Dialogs::message(this, error);
}

void RidorakuPanel::loadFor(int codeTest)
{
    if (codeTest <= 0 || !m_data || !m_data->isOpen())
        return;
    QString error;
    const bool read = SymptomMarksStore::loadMarks(*m_data, m_shownClient, codeTest, m_marks, &error);
    m_unreadMarksTest = read ? 0 : codeTest;
    if (!read)
        Dialogs::message(this, error);
}

void RidorakuPanel::destroyCards()
{
    qDeleteAll(m_cards);
    m_cards.clear();
    m_boxContents->resize(m_box->viewport()->width(), 0);
}

bool RidorakuPanel::buildCards(const TestRecord *test)
{
    if (!test)
        return false;
    QString error;
    const std::optional<ChannelResults> results =
        buildChannelResults(m_catalogue, *test, m_percentSource ? m_percentSource() : QString(),
                            ChannelFilter::fromToggles(toggles()), &error);
    if (!results) {
        // The cards shown stay; after a date change there are none left to show.
        Dialogs::message(this, error);
        return false;
    }
    destroyCards();
    const int width = qMax(TRiodoracuFrame::DesignWidth / 2, m_box->viewport()->width() - 10);
    int top = 3;
    for (const ChannelResult &slot : *results) {
        if (!slot.filled())
            continue;
        auto *card = new TRiodoracuFrame(m_boxContents);
        card->hide();
        card->setGeometry(0, top, width, card->height());
        card->setCard(cardFor(slot, m_catalogue, cardText));
        top += card->height();
        m_cards.append(card);
    }
    for (TRiodoracuFrame *card : std::as_const(m_cards)) {
        card->resize(m_cards.first()->width(), card->height());
        card->show();
    }
    m_boxContents->resize(m_box->viewport()->width(), top);
    return true;
}

// --- layout -----------------------------------------------------------------------------

void RidorakuPanel::layoutFilterBar()
{
    const int bar = m_filterBar->width();
    const int u = bar / 8 - 4;
    const int y = 4, h = m_filterBar->height() - 8;
    int x = 4;
    m_showSymptoms->setGeometry(x, y, u, h);
    x += u;
    for (const QString &name : pairToggles()) {
        // A gap before each pair, none inside it.
        if (name == QLatin1String("LeftOrgan") || name == QLatin1String("InOrgan")
            || name == QLatin1String("HightCond"))
            x += 3;
        m_toggles.value(name)->setGeometry(x, y, u, h);
        x += u;
    }
    m_toggles.value(kAllCond)->setGeometry(x, y, qMax(0, bar - 7 - x), h);
}

void RidorakuPanel::layoutCards()
{
    const int width = m_box->viewport()->width();
    int top = 3;
    for (TRiodoracuFrame *card : std::as_const(m_cards)) {
        card->setGeometry(0, top, qMax(TRiodoracuFrame::DesignWidth / 2, width - 10), card->height());
        top += card->height();
    }
    m_boxContents->resize(width, m_cards.isEmpty() ? 0 : top);
    m_emptyHint->setGeometry(m_box->viewport()->rect().adjusted(24, 24, -24, -24));
}

void RidorakuPanel::showEmptyHint(const TestRecord *test, bool built)
{
    // A failed build has said why in its message; the box then stays silent.
    QString hint;
    if (!test) {
        hint = LanguageApplier::instance().text(
            QStringLiteral("GraphNoTest"), QStringLiteral("No test to show. Choose a client with a test."));
    } else if (built && m_cards.isEmpty()) {
        hint = LanguageApplier::instance().text(
            QStringLiteral("RidorakuNoCards"),
            QStringLiteral("No channel passes the chosen filters. Turn a side, a group and a "
                           "conduction on, then press Show."));
    }
    m_emptyHint->setText(hint);
    m_emptyHint->setVisible(!hint.isEmpty());
}

QString RidorakuPanel::emptyHint() const
{
    return m_emptyHint->isVisibleTo(m_box) ? m_emptyHint->text() : QString();
}

void RidorakuPanel::relayout()
{
    layoutFilterBar();
    layoutCards();
}

void RidorakuPanel::resizeEvent(QResizeEvent *event)
{
    WorkPage::resizeEvent(event);
    relayout();
}

bool RidorakuPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == m_filterBar)
            layoutFilterBar();
        else if (watched == m_box->viewport())
            layoutCards();
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease
        || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return WorkPage::eventFilter(watched, event);
    if (watched == m_symptomsTab) {
        sLabel8Click();
        return true;
    }
    if (watched == m_analysisTab) {
        AnalLabelClick();
        return true;
    }
    if (watched == m_showSymptoms) {
        ShowSymptomsClick();
        return true;
    }
    const QString name = watched->objectName();
    if (name == kAllCond && m_toggles.value(kAllCond) == watched) {
        AllCondClick();
        return true;
    }
    if (pairToggles().contains(name) && m_toggles.value(name) == watched) {
        LeftOrganClick(name);
        return true;
    }
    return WorkPage::eventFilter(watched, event);
}
