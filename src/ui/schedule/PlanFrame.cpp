#include "PlanFrame.h"
#include "common/DateTexts.h"

#include "common/PlainText.h"

#include "ScheduleTexts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kTime = QStringLiteral("HH:mm");
} // namespace

PlanFrame::PlanFrame(const Appointment &a, QWidget *parent)
    : QFrame(parent)
    , m_key(a.key())
    , m_clientId(a.clientId)
    , m_name(new QLabel(this))
    , m_close(new QToolButton(this))
{
    setObjectName(QStringLiteral("TPlanFrame"));
    setFrameShape(QFrame::StyledPanel);
    setProperty("current", false);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 4, 4);
    row->setSpacing(10);

    auto *time = new QLabel(a.begin.toString(kTime) + QLatin1Char('-') + a.end.toString(kTime), this);
    time->setObjectName(QStringLiteral("TimeLabel"));
    row->addWidget(time, 0, Qt::AlignTop);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(0);
    m_name->setObjectName(QStringLiteral("NameLabel"));
    m_name->setTextFormat(Qt::PlainText);
    m_nameText = a.clientName.isEmpty() ? a.clientId : a.clientName;
    m_name->setText(m_nameText);
    m_name->setCursor(Qt::PointingHandCursor);
    m_name->installEventFilter(this);
    texts->addWidget(m_name);
    m_noteText = a.comment.section(QLatin1Char('\n'), 0, 0).trimmed();
    if (!m_noteText.isEmpty()) {
        m_note = new QLabel(m_noteText, this);
        m_note->setObjectName(QStringLiteral("NoteLabel"));
        m_note->setTextFormat(Qt::PlainText);
        texts->addWidget(m_note);
    }
    // Long names and notes are cut to the list's width, never widen it.
    for (QLabel *label : {m_name, m_note}) {
        if (label) {
            label->setMinimumWidth(20);
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        }
    }
    row->addLayout(texts, 1);

    QStringList tip;
    if (!a.comment.trimmed().isEmpty())
        tip.append(a.comment.trimmed());
    if (a.remind)
        tip.append(ScheduleTexts::current(QStringLiteral("Remember"), QStringLiteral("Remind before"))
                   + QStringLiteral(": ") + DateTexts::dateTime(a.reminderAt));
    setToolTip(PlainText::toolTip(tip.join(QStringLiteral("\n\n"))));

    m_close->setObjectName(QStringLiteral("CloseImage"));
    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_close->setAutoRaise(true);
    m_close->setToolTip(ScheduleTexts::current(QStringLiteral("DeleteButton"), QStringLiteral("Delete")));
    row->addWidget(m_close, 0, Qt::AlignTop);
    connect(m_close, &QToolButton::clicked, this, &PlanFrame::closeClicked);
}

void PlanFrame::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    elide();
}

void PlanFrame::elide()
{
    m_name->setText(m_name->fontMetrics().elidedText(m_nameText, Qt::ElideRight, m_name->width()));
    if (m_note)
        m_note->setText(m_note->fontMetrics().elidedText(m_noteText, Qt::ElideRight, m_note->width()));
}

void PlanFrame::setCurrent(bool current)
{
    setProperty("current", current);
    style()->unpolish(this);
    style()->polish(this);
}

bool PlanFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_name) {
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            Q_EMIT nameClicked();
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            Q_EMIT nameDoubleClicked();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}
