#include "app/Session.h"
#include "measure/DiagnosticPanel.h"

#include "app/AppPaths.h"
#include "app/DotCatalogue.h"
#include "app/MeasuringOrder.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"
#include "measure/Correction.h"
#include "measure/DeviceSearch.h"
#include "measure/PointDisplay.h"
#include "measure/PointPicture.h"
#include "measure/TestRun.h"
#include "measure/TracePaintBox.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>

namespace {

constexpr int kCellWidth = 58;
constexpr int kCellHeight = 24;

const char *const kYinRows[] = {"LU", "PC", "HT", "LV", "SP", "KI"};
const char *const kYangRows[] = {"LI", "TH", "SI", "ST", "GB", "BL"};

QString optionsPath() {
    return AppPaths::dataFile(QStringLiteral("Options.ini"));
}

QString languageText(const QString &key, const QString &fallback = QString()) {
    return LanguageApplier::instance().text(key, fallback);
}

QString lookupText(const QString &key) {
    return languageText(key);
}

// The chart's colour for a reading: low conductance blue, middling green, high red.
QColor readingColour(int value) {
    if (value <= 35)
        return QColor(0, 0, 255);
    if (value <= 65)
        return QColor(0, 128, 0);
    return QColor(255, 0, 0);
}

void setGradient(QChart *chart, const QColor &end) {
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, end);
    chart->setPlotAreaBackgroundBrush(gradient);
    chart->setPlotAreaBackgroundVisible(true);
}

// Typing into a cell keeps only what a value can be: each keystroke that makes the text
// something other than a whole number 1-200 is taken back.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        auto *editor = qobject_cast<QLineEdit *>(
            QStyledItemDelegate::createEditor(parent, option, index));
        if (editor) {
            editor->setAlignment(Qt::AlignCenter);
            QObject::connect(editor, &QLineEdit::textEdited, editor, [editor](QString text) {
                if (TestGrid::acceptsText(text))
                    return;
                text.chop(1);
                editor->setText(text);
            });
        }
        return editor;
    }
};

// The cursor moves only by the program: arrow keys do nothing in the grid.
class ArrowKeyFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyPress) {
            switch (static_cast<QKeyEvent *>(event)->key()) {
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Up:
            case Qt::Key_Down:
                return true;
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

DiagnosticPanel::DiagnosticPanel(DataModule *data, Session *session, DeviceLibrary *device,
                                 DeviceSearch *search, const DotCatalogue &dots, QWidget *parent)
    : WorkPage(QStringLiteral("DiagnosticPanel"), parent)
    , m_data(data)
    , m_session(session)
    , m_device(device)
    , m_dots(dots)
    , m_run(new TestRun(device, data, session, this)) {
    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(10);

    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    left->addWidget(buildGrid());
    left->addWidget(buildControls());
    m_trace = new TracePaintBox(this);
    left->addWidget(m_trace);
    left->addStretch(1);
    columns->addLayout(left);

    m_display = new PointDisplay(this);
    columns->addWidget(m_display, 1);

    auto *right = new QVBoxLayout;
    right->setSpacing(6);
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("DotsName"));
    m_meridian = new QLabel(this);
    m_meridian->setObjectName(QStringLiteral("DotsMeridian"));
    m_energy = new QLabel(this);
    m_energy->setObjectName(QStringLiteral("DotsEnergy"));
    m_comment = new QLabel(this);
    m_comment->setObjectName(QStringLiteral("DotsComment"));
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    for (QLabel *label : {m_name, m_meridian, m_energy, m_comment}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        right->addWidget(label);
    }
    right->addWidget(buildChart(), 1);
    auto *rightBox = new QWidget(this);
    rightBox->setLayout(right);
    rightBox->setFixedWidth(270);
    columns->addWidget(rightBox);

    m_testTimer = new QTimer(this);
    m_testTimer->setObjectName(QStringLiteral("TestTimer"));
    m_testTimer->setInterval(SampleIntervalMs);
    m_testTimer->setTimerType(Qt::PreciseTimer);
    connect(m_testTimer, &QTimer::timeout, this, &DiagnosticPanel::sampleTick);
    m_autoNextTimer = new QTimer(this);
    m_autoNextTimer->setObjectName(QStringLiteral("TimerAutoNext"));
    connect(m_autoNextTimer, &QTimer::timeout, this, &DiagnosticPanel::autoNextTick);
    m_blinkTimer = new QTimer(this);
    m_blinkTimer->setObjectName(QStringLiteral("PointDiagnosticTimer"));
    m_blinkTimer->setInterval(BlinkIntervalMs);
    connect(m_blinkTimer, &QTimer::timeout, m_display, &PointDisplay::blink);
    m_blinkTimer->start();

    connect(m_run, &TestRun::currentCellChanged, this, &DiagnosticPanel::showCurrentPoint);
    connect(m_run, &TestRun::cellTextChanged, this, &DiagnosticPanel::showCell);
    connect(m_run, &TestRun::traceReset, this, &DiagnosticPanel::resetTrace);
    connect(m_run, &TestRun::sampleAdded, this, &DiagnosticPanel::drawSample);
    connect(m_run, &TestRun::autoNextArmed, this, [this](int interval) {
        m_autoNextTimer->start(interval);
    });
    connect(m_run, &TestRun::autoNextCancelled, m_autoNextTimer, &QTimer::stop);

    setDeviceSearch(search);
    bindTexts();
    showCurrentPoint();
}

DiagnosticPanel::~DiagnosticPanel() = default;

QWidget *DiagnosticPanel::buildGrid() {
    m_grid = new QTableWidget(TestGrid::Rows, TestGrid::Columns, this);
    m_grid->setObjectName(QStringLiteral("DotsGrid1"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setItemDelegate(new CellDelegate(m_grid));
    m_grid->installEventFilter(new ArrowKeyFilter(m_grid));
    m_grid->setStyleSheet(QStringLiteral(
        "QTableWidget { gridline-color: #b9c4cf; }"
        "QTableWidget::item:selected { background: #cfe3f7; color: #000000; }"));
    for (int col = 0; col < TestGrid::Columns; ++col)
        m_grid->setColumnWidth(col, col == 0 || col == TestGrid::SeparatorColumn ? 40 : kCellWidth);
    for (int row = 0; row < TestGrid::Rows; ++row) {
        m_grid->setRowHeight(row, kCellHeight);
        for (int col = 0; col < TestGrid::Columns; ++col) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (TestGrid::isMeasuringCell({col, row})) {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            } else {
                // Headings and the separator can never be selected.
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(QColor(0xe9eef3));
                if (row > 0 && col == 0)
                    item->setText(QLatin1String(kYinRows[row - 1]));
                else if (row > 0 && col == TestGrid::SeparatorColumn)
                    item->setText(QLatin1String(kYangRows[row - 1]));
            }
            m_grid->setItem(row, col, item);
        }
    }
    int width = 2 * m_grid->frameWidth();
    for (int col = 0; col < TestGrid::Columns; ++col)
        width += m_grid->columnWidth(col);
    m_grid->setFixedSize(width, TestGrid::Rows * kCellHeight + 2 * m_grid->frameWidth());

    connect(m_grid, &QTableWidget::cellClicked, this, &DiagnosticPanel::gridClicked);
    connect(m_grid, &QTableWidget::cellChanged, this, &DiagnosticPanel::gridEdited);
    return m_grid;
}

QWidget *DiagnosticPanel::buildControls() {
    auto *box = new QWidget(this);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);

    auto *buttons = new QHBoxLayout;
    m_previous = new QPushButton(box);
    m_previous->setObjectName(QStringLiteral("previous"));
    m_next = new QPushButton(box);
    m_next->setObjectName(QStringLiteral("next"));
    m_clear = new QPushButton(box);
    m_clear->setObjectName(QStringLiteral("clear"));
    for (QPushButton *button : {m_previous, m_next, m_clear}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(button);
    }
    column->addLayout(buttons);

    m_autoNext = new QCheckBox(box);
    m_autoNext->setObjectName(QStringLiteral("AutoNext"));
    m_autoNext->setChecked(true);
    column->addWidget(m_autoNext);

    auto *wait = new QHBoxLayout;
    m_timeLabel = new QLabel(box);
    m_timeEdit = new QSpinBox(box);
    m_timeEdit->setObjectName(QStringLiteral("TimeEdit"));
    m_timeEdit->setRange(0, 60);
    m_timeEdit->setSingleStep(1);
    m_timeEdit->setValue(0);
    m_secLabel = new QLabel(box);
    wait->addWidget(m_timeLabel);
    wait->addWidget(m_timeEdit);
    wait->addWidget(m_secLabel);
    wait->addStretch(1);
    column->addLayout(wait);

    m_nextToGraph = new QCheckBox(box);
    m_nextToGraph->setObjectName(QStringLiteral("NextToGraph"));
    m_nextToGraph->setChecked(true);
    column->addWidget(m_nextToGraph);

    connect(m_next, &QPushButton::clicked, this, &DiagnosticPanel::nextClicked);
    connect(m_previous, &QPushButton::clicked, m_run, &TestRun::previous);
    connect(m_clear, &QPushButton::clicked, m_run, &TestRun::clearCells);
    connect(m_autoNext, &QCheckBox::toggled, m_run, &TestRun::setAutoNext);
    connect(m_timeEdit, &QSpinBox::valueChanged, m_run, &TestRun::setWaitSeconds);
    return box;
}

QWidget *DiagnosticPanel::buildChart() {
    m_chart = new QChart;
    m_chart->legend()->hide();
    m_chart->setMargins(QMargins(2, 2, 2, 2));
    m_chart->setBackgroundRoundness(0);
    m_series = new QLineSeries;
    m_series->setPen(QPen(QColor(0x24313d), 2));
    m_chart->addSeries(m_series);
    auto *x = new QValueAxis;
    x->setRange(1, 15);
    x->setLabelFormat(QStringLiteral("%d"));
    x->setTickCount(3);
    auto *y = new QValueAxis;
    y->setRange(0, 200);
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTickCount(5);
    m_chart->addAxis(x, Qt::AlignBottom);
    m_chart->addAxis(y, Qt::AlignLeft);
    m_series->attachAxis(x);
    m_series->attachAxis(y);
    setGradient(m_chart, Qt::white);
    auto *view = new QChartView(m_chart, this);
    view->setObjectName(QStringLiteral("DiagnosticChart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(160);
    return view;
}

void DiagnosticPanel::bindTexts() {
    LanguageApplier &texts = LanguageApplier::instance();
    texts.bindText(m_next, QStringLiteral("Next"));
    texts.bindText(m_previous, QStringLiteral("Previous"));
    texts.bindText(m_clear, QStringLiteral("Clear"));
    texts.bindText(m_autoNext, QStringLiteral("AutoNext"));
    texts.bindText(m_nextToGraph, QStringLiteral("NextToGraph"));
    texts.bindText(m_timeLabel, QStringLiteral("WaitingTime"));
    texts.bindText(m_secLabel, QStringLiteral("sec"));
    texts.bind(m_grid, QStringLiteral("Left2"), [this](const QString &text) {
        m_grid->item(0, 1)->setText(text);
        m_grid->item(0, 4)->setText(text);
    });
    texts.bind(m_grid, QStringLiteral("Right2"), [this](const QString &text) {
        m_grid->item(0, 2)->setText(text);
        m_grid->item(0, 5)->setText(text);
    });
    // The description follows the language too.
    connect(&texts, &LanguageApplier::applied, this, &DiagnosticPanel::showCurrentPoint);
}

void DiagnosticPanel::setDeviceSearch(DeviceSearch *search) {
    if (m_search)
        disconnect(m_search, nullptr, this, nullptr);
    m_search = search;
    if (!search)
        return;
    connect(search, &DeviceSearch::deviceFound, this, &DiagnosticPanel::deviceFound);
    connect(search, &DeviceSearch::openFailed, this, [this] { setMoveButtonsEnabled(false); });
}

void DiagnosticPanel::setSoundSignal(bool on) {
    m_run->setSound(on);
}

void DiagnosticPanel::enter() {
    m_autoNextTimer->stop();
    m_testTimer->stop();
    const IniFile options(optionsPath());
    const MeasuringOrder order = MeasuringOrder::load(options);
    const std::optional<bool> live = m_soundSource ? m_soundSource() : std::nullopt;
    m_run->setSound(live.value_or(options.readString(QStringLiteral("test"), QStringLiteral("sound"))
                                  == QLatin1String("1")));
    m_run->setAutoNext(m_autoNext->isChecked());
    m_run->setWaitSeconds(m_timeEdit->value());
    // A test left unfinished, kept by the practitioner's choice, goes on where it stopped
    // when its client is still the current one; otherwise a new test starts. The stored
    // correction applies from the first test of a run, not only once the correction window
    // has been opened.
    const QString client = m_session ? m_session->currentClient() : QString();
    const bool resume = !m_keptForClient.isEmpty() && m_keptForClient == client;
    m_keptForClient.clear();
    if (!resume) {
        m_run->start(order, Correction::load(options));
        resetTrace();
    }
    m_waitingForDevice = false;
    if (!order.isValid()) {
        // Without a complete order no point can be located; the settings must be mended first.
        m_testing = false;
        Dialogs::message(this, Localization::Translate(QStringLiteral("IncorrectOrder")));
        return;
    }
    m_testing = true;
    m_testTimer->start();
}

int DiagnosticPanel::measuredPoints() const {
    return m_run->grid().filledCount();
}

void DiagnosticPanel::leave() {
    // Half a test is never dropped without a word: the practitioner may keep it to finish
    // when the page is back.
    const int measured = m_testing ? measuredPoints() : 0;
    if (measured > 0 && measured < Channels::Count) {
        QString question = Localization::Translate(QStringLiteral("KeepUnfinishedTest"));
        if (question.isEmpty())
            question = QStringLiteral("The test is not finished: %1 of 24 points are measured. Keep "
                                      "them to finish the test when you come back? (No drops them.)");
        if (Dialogs::ask(this, question.contains(QLatin1String("%1")) ? question.arg(measured) : question))
            m_keptForClient = m_session ? m_session->currentClient() : QStringLiteral("-");
    }
    m_testing = false;
    m_waitingForDevice = false;
    m_testTimer->stop();
    m_autoNextTimer->stop();
}

void DiagnosticPanel::relayout() {
    showCurrentPoint();
}

void DiagnosticPanel::sampleTick() {
    if (!m_run->poll()) {
        // The device stopped answering: the grid keeps its values and sampling resumes once
        // the search has found the device again.
        m_testTimer->stop();
        m_autoNextTimer->stop();
        m_waitingForDevice = m_testing;
        Q_EMIT deviceSearchRestartRequested();
    }
}

void DiagnosticPanel::deviceFound() {
    m_series->clear();
    setGradient(m_chart, Qt::white);
    setMoveButtonsEnabled(true);
    if (m_waitingForDevice && m_testing) {
        m_waitingForDevice = false;
        m_testTimer->start();
    }
}

void DiagnosticPanel::setMoveButtonsEnabled(bool enabled) {
    m_next->setEnabled(enabled);
    m_previous->setEnabled(enabled);
}

void DiagnosticPanel::autoNextTick() {
    const TestRun::AutoNext result = m_run->autoNextTick();
    if (result == TestRun::AutoNext::Waiting)
        return;
    m_autoNextTimer->stop();
    if (result == TestRun::AutoNext::Finished)
        finishTest();
    else if (result == TestRun::AutoNext::SaveFailed)
        Dialogs::error(this, Localization::Translate(QStringLiteral("Error")), m_run->lastError());
}

void DiagnosticPanel::nextClicked() {
    switch (m_run->advance()) {
    case TestRun::Outcome::Finished:
        finishTest();
        break;
    case TestRun::Outcome::SaveFailed:
        Dialogs::error(this, Localization::Translate(QStringLiteral("Error")), m_run->lastError());
        break;
    default:
        break;
    }
}

void DiagnosticPanel::finishTest() {
    // No sampling under the message: a touch meanwhile must not change the stored test.
    const bool sampling = m_testTimer->isActive();
    m_testTimer->stop();
    Dialogs::message(this, languageText(QStringLiteral("TestFinished")));
    if (m_nextToGraph->isChecked()) {
        Q_EMIT graphModeRequested();
        return;
    }
    m_run->stepReadingPattern();
    if (sampling && m_testing)
        m_testTimer->start();
}

void DiagnosticPanel::showCurrentPoint() {
    const GridCell cell = m_run->currentCell();
    if (m_grid->currentRow() != cell.row || m_grid->currentColumn() != cell.col)
        m_grid->setCurrentCell(cell.row, cell.col);
    const DotRecord &dot = m_dots.entry(TestGrid::catalogueIndexOf(cell));
    m_display->showPoint(PointPicture::nameFor(cell.col, cell.row), dot.cx, dot.cy);
    const QString gap = QStringLiteral("  ");
    m_name->setText(languageText(QStringLiteral("Point"), QStringLiteral("Point:")) + gap
                    + dot.name);
    m_meridian->setText(languageText(QStringLiteral("SymptMer"), QStringLiteral("Meridian:"))
                        + gap + DotCatalogue::displayText(dot.meridian, lookupText));
    m_energy->setText(languageText(QStringLiteral("Energy"), QStringLiteral("Role:")) + gap
                      + DotCatalogue::displayText(dot.energy, lookupText));
    // Language files trim their texts, so the four parts are joined with one blank.
    QStringList parts;
    if (!dot.comment.isEmpty()) {
        for (int part = 1; part <= 4; ++part) {
            const QString text = languageText(dot.comment + QString::number(part));
            if (!text.isEmpty())
                parts.append(text);
        }
    }
    const QString comment = parts.join(QLatin1Char(' '));
    m_comment->setText(comment);
}

QStringList DiagnosticPanel::pointTexts() const {
    return {m_name->text(), m_meridian->text(), m_energy->text(), m_comment->text()};
}

void DiagnosticPanel::showCell(int col, int row, const QString &text) {
    QTableWidgetItem *item = m_grid->item(row, col);
    if (!item || item->text() == text)
        return;
    m_syncing = true;
    item->setText(text);
    m_syncing = false;
}

void DiagnosticPanel::gridClicked(int row, int col) {
    if (TestGrid::isMeasuringCell({col, row}))
        m_run->select({col, row});
    else
        showCurrentPoint(); // headings and the separator keep the cursor where it was
}

void DiagnosticPanel::gridEdited(int row, int col) {
    if (m_syncing || !TestGrid::isMeasuringCell({col, row}))
        return;
    QString text = m_grid->item(row, col)->text();
    // Pasted text is held to the typing rule as well.
    while (!TestGrid::acceptsText(text))
        text.chop(1);
    m_run->setCellText({col, row}, text);
    showCell(col, row, text);
}

void DiagnosticPanel::drawSample(int value, int corrected, int position) {
    setGradient(m_chart, readingColour(value));
    m_series->append(position, corrected);
    m_trace->lineTo(position, corrected);
}

void DiagnosticPanel::resetTrace() {
    m_series->clear();
    m_trace->reset();
}
