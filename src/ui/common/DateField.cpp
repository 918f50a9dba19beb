#include "DateField.h"

#include "common/Clock.h"
#include "common/TypedDate.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kFormat = QStringLiteral("dd.MM.yyyy");

} // namespace

DateField::DateField(QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    m_edit = new QLineEdit(this);
    m_edit->setPlaceholderText(QStringLiteral("dd.mm.yyyy"));
    m_edit->setMaxLength(24);
    m_button = new QToolButton(this);
    m_button->setObjectName(QStringLiteral("CalendarButton"));
    m_button->setText(QStringLiteral("▾"));
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setToolTip(QStringLiteral("Alt+Down"));
    row->addWidget(m_edit, 1);
    row->addWidget(m_button);
    setFocusProxy(m_edit);
    connect(m_edit, &QLineEdit::editingFinished, this, &DateField::tidy);
    connect(m_edit, &QLineEdit::textEdited, this, [this] {
        markInvalid(false);
        Q_EMIT dateChanged();
    });
    connect(m_button, &QToolButton::clicked, this, &DateField::showCalendar);
    m_edit->installEventFilter(this);
}

bool DateField::eventFilter(QObject *watched, QEvent *event)
{
    // Alt+Down or F4 opens the calendar, as in a date box.
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Down && key->modifiers() & Qt::AltModifier)
            || key->key() == Qt::Key_F4) {
            showCalendar();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QDate DateField::date() const
{
    return TypedDate::parse(m_edit->text(), Clock::today());
}

void DateField::setDate(const QDate &date)
{
    m_edit->setText(date.isValid() ? date.toString(kFormat) : QString());
    markInvalid(false);
    Q_EMIT dateChanged();
}

bool DateField::holdsNoDate() const
{
    return !m_edit->text().trimmed().isEmpty() && !date().isValid();
}

void DateField::tidy()
{
    const QDate d = date();
    if (d.isValid()) {
        const QString full = d.toString(kFormat);
        if (full != m_edit->text())
            m_edit->setText(full);
    }
    markInvalid(holdsNoDate());
}

void DateField::markInvalid(bool invalid)
{
    m_edit->setStyleSheet(invalid ? QStringLiteral("QLineEdit { border: 1px solid #c0392b; }")
                                  : QString());
}

void DateField::showCalendar()
{
    auto *popup = new QWidget(this, Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(popup);
    layout->setContentsMargins(1, 1, 1, 1);
    auto *calendar = new QCalendarWidget(popup);
    calendar->setObjectName(QStringLiteral("DateFieldCalendar"));
    calendar->setGridVisible(true);
    if (m_maximum.isValid())
        calendar->setMaximumDate(m_maximum);
    const QDate current = date();
    const QDate page = current.isValid() ? current
                       : m_emptyPage.isValid() ? m_emptyPage
                                               : Clock::today();
    calendar->setSelectedDate(page);
    calendar->setCurrentPage(page.year(), page.month());
    layout->addWidget(calendar);
    connect(calendar, &QCalendarWidget::activated, this, [this, popup](const QDate &d) {
        setDate(d);
        popup->close();
        m_edit->setFocus();
    });
    connect(calendar, &QCalendarWidget::clicked, this, [this, popup](const QDate &d) {
        setDate(d);
        popup->close();
    });
    popup->adjustSize();
    // Below the field, or above it when the screen ends first; never off the screen.
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.y() + popup->height() > area.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - popup->height());
        at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - popup->width())));
        at.setY(qMax(area.top(), at.y()));
    }
    popup->move(at);
    popup->show();
    calendar->setFocus();
}
