#include "InquirerQuestion.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kTick = QStringLiteral(":/inquirer/galka.svg");
const QString kClosed = QStringLiteral(":/inquirer/close1.svg");
const QString kOpened = QStringLiteral(":/inquirer/open.svg");

QFont textFont()
{
    // Only the size is set, so the family still follows the language's font.
    QFont font;
    font.setPixelSize(15);
    return font;
}

QToolButton *imageButton(QWidget *parent, const QString &name, const QString &icon)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(16, 16));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

InquirerQuestion::InquirerQuestion(int index, const InquirerItem &item, QWidget *parent)
    : QWidget(parent)
    , m_index(index)
    , m_item(item)
{
    const QString n = QString::number(index);
    setObjectName(QStringLiteral("InquirerQuestion") + n);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);

    m_mark = imageButton(this, QStringLiteral("AnsweredMark") + n, kTick);
    // The mark's place stays reserved, so the texts do not jump when it appears.
    QSizePolicy keep = m_mark->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_mark->setSizePolicy(keep);
    m_mark->hide();
    grid->addWidget(m_mark, 0, 0, Qt::AlignTop);

    m_label = new QLabel(m_item.text, this);
    m_label->setObjectName(QStringLiteral("QuestionLabel") + n);
    m_label->setFont(textFont());
    m_label->setWordWrap(true);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setFixedWidth(250);
    m_label->setCursor(Qt::PointingHandCursor);
    m_label->installEventFilter(this);
    grid->addWidget(m_label, 0, 1, 2, 1, Qt::AlignTop);

    m_expand = imageButton(this, QStringLiteral("ExpandImage") + n, kClosed);
    grid->addWidget(m_expand, 0, 2, Qt::AlignTop | Qt::AlignLeft);

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("AnswerPanel") + n);
    m_panel->setAttribute(Qt::WA_StyledBackground);
    m_panel->setStyleSheet(QStringLiteral("#AnswerPanel%1 { background: #ffffff; border-radius: 3px; }").arg(n));
    auto *answers = new QVBoxLayout(m_panel);
    answers->setContentsMargins(8, 6, 8, 5);
    answers->setSpacing(5);
    m_group = new QButtonGroup(this);
    for (int k = 1; k <= m_item.answers.size(); ++k) {
        // A radio button does not wrap its text; long answers get a wrapping label beside it
        // that answers as the button does when clicked.
        auto *line = new QHBoxLayout;
        line->setSpacing(6);
        auto *button = new QRadioButton(m_panel);
        button->setObjectName(QStringLiteral("Answer%1_%2").arg(index).arg(k));
        button->setAccessibleName(m_item.answers.at(k - 1));
        // As tall as the first line of its text, so the circle sits beside that line.
        button->setMinimumHeight(QFontMetrics(textFont()).height());
        auto *text = new QLabel(m_item.answers.at(k - 1), m_panel);
        text->setObjectName(QStringLiteral("AnswerText%1_%2").arg(index).arg(k));
        text->setTextFormat(Qt::PlainText);
        text->setFont(textFont());
        text->setWordWrap(true);
        text->setCursor(Qt::PointingHandCursor);
        text->installEventFilter(this);
        m_group->addButton(button, k);
        m_buttons.append(button);
        m_answerLabels.append(text);
        line->addWidget(button, 0, Qt::AlignTop);
        line->addWidget(text, 1);
        answers->addLayout(line);
    }
    m_panel->hide();
    grid->addWidget(m_panel, 1, 2, 1, 2);
    grid->setColumnStretch(3, 1);

    connect(m_group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            onUserChoice();
    });
    // A click on the button that is already checked toggles nothing but still answers.
    connect(m_group, &QButtonGroup::idClicked, this, [this](int) { onUserChoice(); });
    connect(m_mark, &QToolButton::clicked, this, [this] {
        if (!isAnswered())
            return;
        clearAnswer();
        Q_EMIT answerChanged(m_index);
    });
    connect(m_expand, &QToolButton::clicked, this, &InquirerQuestion::toggleExpanded);
}

int InquirerQuestion::answer() const
{
    if (!isAnswered())
        return 0;
    const int id = m_group->checkedId();
    return id > 0 ? id : 0;
}

bool InquirerQuestion::isAnswered() const
{
    return !m_mark->isHidden();
}

void InquirerQuestion::setAnswer(int k)
{
    if (k < 1 || k > m_buttons.size()) {
        clearAnswer();
        return;
    }
    m_setting = true;
    m_buttons.at(k - 1)->setChecked(true);
    m_mark->show();
    m_shown = k;
    m_setting = false;
}

void InquirerQuestion::clearAnswer()
{
    m_setting = true;
    uncheckAll();
    m_mark->hide();
    m_shown = 0;
    m_setting = false;
}

void InquirerQuestion::uncheckAll()
{
    // An exclusive group keeps one button checked; it lets go only while not exclusive.
    m_group->setExclusive(false);
    for (QRadioButton *button : std::as_const(m_buttons))
        button->setChecked(false);
    m_group->setExclusive(true);
}

bool InquirerQuestion::isExpanded() const
{
    return !m_panel->isHidden();
}

void InquirerQuestion::setExpanded(bool expanded)
{
    m_panel->setVisible(expanded);
    m_expand->setIcon(QIcon(expanded ? kOpened : kClosed));
}

void InquirerQuestion::setHints(const QString &clearHint, const QString &expandHint)
{
    m_mark->setToolTip(clearHint);
    m_expand->setToolTip(expandHint);
}

void InquirerQuestion::onUserChoice()
{
    if (m_setting || m_group->checkedId() < 1)
        return;
    m_mark->show();
    if (answer() == m_shown)
        return;
    m_shown = answer();
    Q_EMIT answerChanged(m_index);
}

bool InquirerQuestion::eventFilter(QObject *watched, QEvent *event)
{
    // The question text opens and closes the answers too: a larger target than the image.
    if (watched == m_label && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        toggleExpanded();
        return true;
    }
    // The text of an answer chooses it, as a click on its button does.
    const int k = int(m_answerLabels.indexOf(qobject_cast<QLabel *>(watched)));
    if (k >= 0 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        m_buttons.at(k)->click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
