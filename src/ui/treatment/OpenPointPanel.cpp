#include "common/Dialogs.h"
#include "common/TimeTyping.h"
#include "OpenPointPanel.h"

#include "MeridianClock.h"
#include "OpenPointPictures.h"
#include "app/AppPaths.h"
#include "common/CaseInsensitivePath.h"
#include "common/Clock.h"
#include "localization/LanguageApplier.h"
#include "treatment/DayReference.h"
#include "treatment/OpenPointCalendar.h"
#include "treatment/OpenPointMarkers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QtMath>

#include <cmath>

namespace {
using C = OpenPointCalendar;

constexpr int ClockPanelWidth = 300;
constexpr int ClockPanelHeight = 262;
constexpr int ClockLeft = (ClockPanelWidth - C::ClockWidth) / 2;
constexpr int ClockTop = 31;
constexpr int BlinkTicks = 5;
const char *const PeriodProperty = "period";

QString dataFolder()
{
    return CaseInsensitivePath::resolve(AppPaths::GetDataPath(), QStringLiteral("Data"));
}

QString text(const QString &key, const QString &fallback)
{
    return LanguageApplier::instance().text(key, fallback);
}
} // namespace

OpenPointPanel::OpenPointPanel(QWidget *parent)
    : WorkPage(QStringLiteral("OpenPointPanel"), parent)
{
    // Start-up: the day reference, today, the period of the present hour, the methods, the clock.
    m_n0 = DayReference::read(dataFolder());
    m_dayAt23 = C::dayBeginsAt23();
    m_date = C::dayOf(Clock::now(), m_dayAt23);
    m_period = C::periodOfTime(Clock::now().time());

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("OpenPointTimer"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &OpenPointPanel::OpenPointTimerTimer);

    buildPage();
    bindTexts();
    m_clock->setPeriod(m_period);
    showInfo();
}

void OpenPointPanel::buildPage()
{
    setStyleSheet(QStringLiteral(
        "#OpenPointPanel { background: #eef2f6; }"
        "#OpenPointSide, #OpenPointChoice, #ImagesPanel { background: white;"
        " border: 1px solid #c5d0db; border-radius: 6px; }"
        "#OpenPointInfo { color: #24313d; padding: 4px 6px; background: #f4f7fa;"
        " border: 1px solid #d5dde5; border-radius: 4px; }"
        "#OpenPointInfo[problem=\"true\"] { color: #8a1c1c; background: #fbeaea;"
        " border-color: #e3b4b4; }"
        "#OpenPointPeriodCaption, #OpenPointListCaption { color: #24313d; font-weight: bold; }"
        "#PointGroup { border: 1px solid #d5dde5; border-radius: 4px; }"
        "#PointGroup::item { padding: 3px 4px; }"
        "QLabel[clockHours=\"true\"] { color: #3d4d5c; font-size: 8pt; }"
        "QLabel[clockMeridian=\"true\"] { color: #1f4e7a; font-weight: bold; }"));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 6, 8, 6);
    row->setSpacing(8);

    // Date, clock and what the choice gives.
    auto *side = new QWidget(this);
    side->setObjectName(QStringLiteral("OpenPointSide"));
    side->setAttribute(Qt::WA_StyledBackground);
    side->setFixedWidth(ClockPanelWidth + 18);
    auto *column = new QVBoxLayout(side);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);

    auto *dateRow = new QHBoxLayout;
    m_dateCaption = new QLabel(side);
    m_dateCaption->setObjectName(QStringLiteral("OpenPointDateCaption"));
    m_dateEdit = new QDateEdit(side);
    TimeTyping::install(m_dateEdit);
    m_dateEdit->setObjectName(QStringLiteral("PointDate"));
    m_dateEdit->setCalendarPopup(true);
    m_dateEdit->setDateRange(QDate(1900, 1, 1), QDate(2199, 12, 31));
    // The same day-first numeric form as the test dates elsewhere, whatever the language.
    m_dateEdit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_dateEdit->setDate(m_date);
    m_dateCaption->setBuddy(m_dateEdit);
    dateRow->addWidget(m_dateCaption);
    dateRow->addWidget(m_dateEdit, 1);
    column->addLayout(dateRow);
    connect(m_dateEdit, &QDateEdit::dateChanged, this, &OpenPointPanel::PointDateChange);

    m_clockCaption = new QLabel(side);
    m_clockCaption->setObjectName(QStringLiteral("OpenPointPeriodCaption"));
    column->addWidget(m_clockCaption);
    column->addWidget(buildClock(), 0, Qt::AlignHCenter);

    // Which day 23:00-23:59 belongs to: the calendar's, or (for schools that begin the day
    // with the zi period) the next one.
    m_dayAt23Box = new QCheckBox(side);
    m_dayAt23Box->setObjectName(QStringLiteral("OpenPointDayAt23"));
    m_dayAt23Box->setChecked(m_dayAt23);
    column->addWidget(m_dayAt23Box);
    connect(m_dayAt23Box, &QCheckBox::toggled, this, &OpenPointPanel::setDayBeginsAt23);

    m_info = new QLabel(side);
    m_info->setObjectName(QStringLiteral("OpenPointInfo"));
    m_info->setWordWrap(true);
    m_info->setMinimumHeight(44);
    m_info->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    column->addWidget(m_info);
    column->addStretch();
    row->addWidget(side);

    // Method, side and the open points.
    auto *choice = new QWidget(this);
    choice->setObjectName(QStringLiteral("OpenPointChoice"));
    choice->setAttribute(Qt::WA_StyledBackground);
    choice->setFixedWidth(372);
    auto *choiceColumn = new QVBoxLayout(choice);
    choiceColumn->setContentsMargins(8, 8, 8, 8);
    choiceColumn->setSpacing(6);

    m_methodBox = new QGroupBox(choice);
    m_methodBox->setObjectName(QStringLiteral("MethodGroup"));
    auto *methodColumn = new QVBoxLayout(m_methodBox);
    m_methods = new QButtonGroup(this);
    for (int i = 0; i < OpenPointMethod::Count; ++i) {
        auto *button = new QRadioButton(m_methodBox);
        button->setObjectName(QStringLiteral("MethodGroup%1").arg(i));
        m_methods->addButton(button, i);
        methodColumn->addWidget(button);
    }
    m_methods->button(0)->setChecked(true);
    connect(m_methods, &QButtonGroup::idClicked, this, &OpenPointPanel::MethodGroupClick);
    choiceColumn->addWidget(m_methodBox);

    m_sideBox = new QGroupBox(choice);
    m_sideBox->setObjectName(QStringLiteral("OpenPointSideGroup"));
    auto *sideRow = new QHBoxLayout(m_sideBox);
    m_left = new QRadioButton(m_sideBox);
    m_left->setObjectName(QStringLiteral("left"));
    m_right = new QRadioButton(m_sideBox);
    m_right->setObjectName(QStringLiteral("right"));
    m_left->setChecked(true);
    sideRow->addWidget(m_left);
    sideRow->addWidget(m_right);
    sideRow->addStretch();
    choiceColumn->addWidget(m_sideBox);
    // One of the two is switched on at every change; answering that one is enough.
    connect(m_right, &QRadioButton::toggled, this, [this](bool) { PointGroupClick(); });

    m_listCaption = new QLabel(choice);
    m_listCaption->setObjectName(QStringLiteral("OpenPointListCaption"));
    choiceColumn->addWidget(m_listCaption);
    m_list = new QListWidget(choice);
    m_list->setObjectName(QStringLiteral("PointGroup"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listCaption->setBuddy(m_list);
    choiceColumn->addWidget(m_list, 1);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int) { PointGroupClick(); });

    m_foto = new QLabel(choice);
    m_foto->setObjectName(QStringLiteral("OpenPointFoto"));
    m_foto->setFixedSize(96, 120);
    m_foto->setAlignment(Qt::AlignCenter);
    m_foto->hide();
    choiceColumn->addWidget(m_foto, 0, Qt::AlignHCenter);
    row->addWidget(choice);

    m_pictures = new OpenPointPictures(this);
    m_pictures->setAttribute(Qt::WA_StyledBackground);
    row->addWidget(m_pictures, 1);
}

QWidget *OpenPointPanel::buildClock()
{
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("ClockPanel"));
    panel->setFixedSize(ClockPanelWidth, ClockPanelHeight);
    m_clock = new MeridianClock(panel);
    m_clock->move(ClockLeft, ClockTop);
    connect(m_clock, &MeridianClock::pressedAt, this, &OpenPointPanel::Image5MouseDown);
    connect(m_clock, &MeridianClock::stepRequested, this,
            [this](int steps) { selectPeriod(C::stepPeriod(m_period, steps)); });

    // Around the clock the hours of each period, inside it the meridian whose flow it carries.
    const QPointF centre(ClockLeft + C::ClockCentreX, ClockTop + C::ClockCentreY);
    const auto place = [&](QLabel *label, int period, double radius) {
        const double angle = qDegreesToRadians(C::sectorMiddle(period));
        // Sized for bold text with room to spare: the style sheet makes the meridians bold
        // only once the page is shown, and a language may bring a larger font.
        QFont bold = label->font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        label->setAlignment(Qt::AlignCenter);
        label->setFixedSize(metrics.horizontalAdvance(label->text()) * 13 / 10 + 6,
                            metrics.height() * 13 / 10 + 2);
        const QPointF at(centre.x() + radius * std::sin(angle), centre.y() - radius * std::cos(angle));
        label->move(int(std::lround(at.x() - label->width() / 2.0)),
                    int(std::lround(at.y() - label->height() / 2.0)));
    };
    for (int period = 0; period < C::Periods; ++period) {
        auto *meridian = new QLabel(C::meridianOfPeriod(period), panel);
        meridian->setObjectName(QStringLiteral("ClockMeridian%1").arg(period));
        meridian->setProperty("clockMeridian", true);
        auto *hours = new QLabel(C::hoursOfPeriod(period), panel);
        hours->setObjectName(QStringLiteral("ClockHours%1").arg(period));
        hours->setProperty("clockHours", true);
        for (QLabel *label : {meridian, hours}) {
            label->setProperty(PeriodProperty, period);
            label->setCursor(Qt::PointingHandCursor);
            label->installEventFilter(this);
            m_clockLabels.append(label);
        }
        place(meridian, period, 62.0);
        place(hours, period, 112.0);
    }
    return panel;
}

void OpenPointPanel::bindTexts()
{
    auto &applier = LanguageApplier::instance();
    const auto bindLabel = [&applier](QLabel *label, const QString &key, const QString &fallback) {
        applier.bindWithFallback(label, key, fallback,
                                 [label](const QString &t) { label->setText(t); });
    };
    bindLabel(m_dateCaption, QStringLiteral("OpenPointDate"), QStringLiteral("Date"));
    LanguageApplier::instance().bindWithFallback(m_dayAt23Box, QStringLiteral("OpenPointDayAt23"),
                                                 QStringLiteral("The day begins at 23:00"),
                                                 [this](const QString &t) { m_dayAt23Box->setText(t); });
    bindLabel(m_clockCaption, QStringLiteral("OpenPointPeriod"), QStringLiteral("Two-hour period"));
    bindLabel(m_listCaption, QStringLiteral("OpenPointList"), QStringLiteral("Open points"));
    applier.bindTitle(m_methodBox, QStringLiteral("Method"));
    applier.bindWithFallback(m_sideBox, QStringLiteral("OpenPointSide"), QStringLiteral("Side"),
                             [this](const QString &t) { m_sideBox->setTitle(t); });
    applier.bindText(m_left, QStringLiteral("Left"));
    applier.bindText(m_right, QStringLiteral("Right"));
    for (int i = 0; i < OpenPointMethod::Count; ++i) {
        const OpenPointMethod &method = OpenPointMethod::byIndex(i);
        QAbstractButton *button = m_methods->button(i);
        applier.bindWithFallback(button, method.key, method.defaultText,
                                 [button](const QString &t) { button->setText(t); });
    }
    applier.bindWithFallback(m_clock, QStringLiteral("OpenPointClockHint"),
                             QStringLiteral("Click a period on the clock; the arrow keys move it."),
                             [this](const QString &t) { m_clock->setToolTip(t); });
    connect(&applier, &LanguageApplier::applied, this, &OpenPointPanel::fillTexts);
}

void OpenPointPanel::enter()
{
    // A reference file mended while the program ran counts from the next visit.
    if (!m_n0)
        m_n0 = DayReference::read(dataFolder());
    relayout();
    MethodGroupClick(OpenPointMethod::SacredTortoise);
}

void OpenPointPanel::leave()
{
    m_timer->stop();
    m_blinkCount = 0;
    m_pictures->setMarkerVisible(true);
}

void OpenPointPanel::relayout()
{
    m_pictures->relayout();
}

void OpenPointPanel::setPhoto(const QPixmap &photo)
{
    m_photo = photo;
    if (photo.isNull()) {
        m_foto->clear();
        m_foto->hide();
        return;
    }
    m_foto->setPixmap(photo.scaled(m_foto->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

bool OpenPointPanel::rightSide() const
{
    return m_right->isChecked();
}

std::optional<int> OpenPointPanel::cycleDay() const
{
    if (!m_n0)
        return std::nullopt;
    return C::cycleDay(m_date, *m_n0, OpenPointMethod::byIndex(m_method).cycle);
}

void OpenPointPanel::PointDateChange(const QDate &date)
{
    if (!date.isValid())
        return;
    m_pictures->clear();
    m_timer->stop();
    m_date = date;
    if (m_dateEdit->date() != date) {
        const QSignalBlocker blocker(m_dateEdit);
        m_dateEdit->setDate(date);
    }
    recompute();
    selectFirstPoint();
}

void OpenPointPanel::MethodGroupClick(int method)
{
    if (method < 0 || method >= OpenPointMethod::Count)
        return;
    m_method = method;
    if (QAbstractButton *button = m_methods->button(method); !button->isChecked())
        button->setChecked(true);
    m_pictures->clear();
    m_foto->hide();
    m_sideBox->show();
    m_timer->stop();
    recompute();
    selectFirstPoint();
}

void OpenPointPanel::Image5MouseDown(const QPoint &pos)
{
    const C::ClockHit hit = C::hitAt(pos);
    if (hit.kind == C::ClockHit::Outside)
        return;
    selectPeriod(hit.kind == C::ClockHit::Centre ? C::NoPeriod : hit.period);
}

void OpenPointPanel::Label5MouseDown(int period)
{
    if (period >= 0 && period < C::Periods)
        selectPeriod(period);
}

void OpenPointPanel::selectPeriod(int period)
{
    m_pictures->clear();
    m_foto->hide();
    m_timer->stop();
    m_period = period;
    m_clock->setPeriod(period);
    recompute();
    selectFirstPoint();
}

void OpenPointPanel::recompute()
{
    m_points.clear();
    m_unknownCells.clear();
    m_failedFile.clear();
    {
        const QSignalBlocker blocker(m_list);
        m_list->clear();
    }
    if (m_n0 && m_period != C::NoPeriod) {
        const OpenPointMethod &method = OpenPointMethod::byIndex(m_method);
        QString failed;
        // Reread at every recomputation: an edited table counts at once.
        if (m_tables.load(dataFolder(), method, &failed)) {
            m_points = OpenPointListing::list(method, m_tables, C::columnOfPeriod(m_period),
                                              *cycleDay(), &m_unknownCells);
        } else {
            m_failedFile = failed;
        }
    }
    const QSignalBlocker blocker(m_list);
    for (const OpenPoint &point : m_points)
        m_list->addItem(itemText(point));
    // A table cell this program cannot place is said, not passed over.
    for (const QString &cell : std::as_const(m_unknownCells)) {
        QString said = text(QStringLiteral("OpenPointUnknown"), QStringLiteral("The table names a point this program does not know: %1"));
        if (!said.contains(QLatin1String("%1")))
            said += QStringLiteral(" %1");
        auto *item = new QListWidgetItem(said.arg(cell), m_list);
        item->setFlags(Qt::ItemIsEnabled);
        item->setForeground(QColor(0xb0, 0x30, 0x20));
    }
    showInfo();
}

void OpenPointPanel::selectFirstPoint()
{
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

QString OpenPointPanel::itemText(const OpenPoint &point) const
{
    QString item = point.code;
    if (point.qualifier == OpenPoint::ByDayStem)
        item += QStringLiteral(" (") + text(QStringLiteral("OpenPointByDayStem"), QStringLiteral("day stem"))
                + QLatin1Char(')');
    else if (point.qualifier == OpenPoint::ByHourBranch)
        item += QStringLiteral(" (")
                + text(QStringLiteral("OpenPointByHourBranch"), QStringLiteral("hour branch"))
                + QLatin1Char(')');
    const QString name = text(point.meridianNameKey(), QString());
    if (!name.isEmpty())
        item += QStringLiteral("   ") + name;
    return item;
}

void OpenPointPanel::fillTexts()
{
    for (int i = 0; i < m_list->count() && i < m_points.size(); ++i)
        m_list->item(i)->setText(itemText(m_points.at(i)));
    showInfo();
}

void OpenPointPanel::showInfo()
{
    QString info;
    bool problem = false;
    if (!m_n0) {
        info = text(QStringLiteral("OpenPointNoDayFile"),
                    QStringLiteral("The day count file %1 is missing or damaged: the open points "
                                   "cannot be worked out."))
                   .arg(DayReference::fileName());
        problem = true;
    } else if (!m_failedFile.isEmpty()) {
        info = text(QStringLiteral("OpenPointNoTable"),
                    QStringLiteral("The time table %1 is missing or incomplete: the open points "
                                   "cannot be listed."))
                   .arg(m_failedFile);
        problem = true;
    } else if (m_period == C::NoPeriod) {
        info = text(QStringLiteral("OpenPointChoosePeriod"),
                    QStringLiteral("Choose a two-hour period on the clock."));
    } else {
        const int column = C::columnOfPeriod(m_period);
        QString hours = m_tables.columnTitles().value(column - 1).trimmed();
        if (hours.isEmpty())
            hours = C::hoursOfPeriod(m_period);
        info = text(QStringLiteral("OpenPointDayOf"), QStringLiteral("Day %1 of %2"))
                   .arg(cycleDay().value_or(0))
                   .arg(OpenPointMethod::byIndex(m_method).cycle)
               + QStringLiteral(",  ") + hours;
        // Which rule counted the day, so the practitioner never has to guess.
        info += QLatin1Char('\n')
                + (m_dayAt23 ? text(QStringLiteral("OpenPointRuleAt23"),
                                    QStringLiteral("Days are counted from 23:00."))
                             : text(QStringLiteral("OpenPointRuleMidnight"),
                                    QStringLiteral("Days are counted from midnight.")));
        if (m_points.isEmpty())
            info += QLatin1Char('\n')
                    + text(QStringLiteral("OpenPointNoneOpen"),
                           QStringLiteral("No point is open in this period."));
    }
    m_info->setText(info);
    if (m_info->property("problem").toBool() != problem) {
        m_info->setProperty("problem", problem);
        m_info->style()->unpolish(m_info);
        m_info->style()->polish(m_info);
    }
}

void OpenPointPanel::setDayBeginsAt23(bool on)
{
    QString error;
    if (!C::setDayBeginsAt23(on, &error))
        Dialogs::message(this, error);
    const bool wasNow = m_date == C::dayOf(Clock::now(), m_dayAt23);
    m_dayAt23 = on;
    // A date that followed the clock follows the new rule.
    if (wasNow)
        m_dateEdit->setDate(C::dayOf(Clock::now(), m_dayAt23));
    recompute();
}

void OpenPointPanel::PointGroupClick()
{
    m_timer->stop();
    m_blinkCount = 0;
    m_pictures->clear();
    m_foto->hide();
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_points.size())
        return;
    m_pictures->showPlace(OpenPointMarkers::place(m_points.at(row), rightSide()));
    if (m_method == OpenPointMethod::MiddayMidnight) {
        if (!m_photo.isNull())
            m_foto->show();
        m_timer->start();
    }
}

void OpenPointPanel::OpenPointTimerTimer()
{
    // Four changes draw the eye; the fifth tick leaves the marker on for good.
    if (++m_blinkCount >= BlinkTicks) {
        m_blinkCount = 0;
        m_timer->stop();
        m_pictures->setMarkerVisible(true);
        return;
    }
    m_pictures->setMarkerVisible(!m_pictures->markerVisible());
}

bool OpenPointPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const QVariant period = watched->property(PeriodProperty);
        if (period.isValid()) {
            Label5MouseDown(period.toInt());
            return true;
        }
    }
    return WorkPage::eventFilter(watched, event);
}
