#include "TTreatmentFrame.h"

#include "localization/LanguageApplier.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

namespace {

QToolButton *iconButton(const QString &name, const QString &icon, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(18, 18));
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFixedSize(23, 23);
    return button;
}

} // namespace

TTreatmentFrame::TTreatmentFrame(int codeTest, const QDateTime &date, QWidget *parent)
    : QFrame(parent)
    , m_codeTest(codeTest)
{
    setObjectName(QStringLiteral("TTreatmentFrame"));
    setFixedHeight(RowHeight);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 0, 2, 0);
    row->setSpacing(4);
    m_date = new QLabel(dateText(date), this);
    m_date->setObjectName(QStringLiteral("Date"));
    m_date->setCursor(Qt::PointingHandCursor);
    m_date->setFocusPolicy(Qt::StrongFocus);
    m_date->installEventFilter(this);
    row->addWidget(m_date, 1);
    m_comment = iconButton(QStringLiteral("Comment"), QStringLiteral(":/icons/comment.svg"), this);
    m_noComment = iconButton(QStringLiteral("NoComment"), QStringLiteral(":/icons/nocomment.svg"), this);
    row->addWidget(m_comment);
    row->addWidget(m_noComment);
    for (QToolButton *button : {m_comment, m_noComment}) {
        LanguageApplier::instance().bindWithFallback(button, QStringLiteral("Comment"), QStringLiteral("Comment"),
                                                     [button](const QString &text) { button->setToolTip(text); });
        connect(button, &QToolButton::clicked, this, [this] { Q_EMIT commentClicked(m_codeTest); });
    }
    setHasComment(false);
    setSelected(false);
}

QString TTreatmentFrame::dateText(const QDateTime &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

void TTreatmentFrame::setSelected(bool selected)
{
    m_selected = selected;
    QFont font = m_date->font();
    font.setBold(selected);
    m_date->setFont(font);
    setProperty("selected", selected);
    setStyleSheet(selected ? QStringLiteral("#TTreatmentFrame { background: #dbe8f5; border-radius: 4px; }")
                           : QStringLiteral("#TTreatmentFrame { background: transparent; }"));
}

void TTreatmentFrame::setHasComment(bool has)
{
    m_hasComment = has;
    m_comment->setVisible(has);
    m_noComment->setVisible(!has);
}

bool TTreatmentFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_date) {
        if (event->type() == QEvent::MouseButtonPress) {
            Q_EMIT dateClicked(m_codeTest);
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
                Q_EMIT dateClicked(m_codeTest);
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}
