#include "WrappedChoice.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace {

// Passes a click on the caption to its button, as a click on a button's own text would.
class CaptionClick : public QObject
{
public:
    CaptionClick(QAbstractButton *button, QObject *parent)
        : QObject(parent)
        , m_button(button)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && m_button->isEnabled()) {
            m_button->setFocus(Qt::MouseFocusReason);
            m_button->click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractButton *m_button;
};

} // namespace

namespace WrappedChoice {

QWidget *make(QAbstractButton *button, const QString &caption, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    button->setParent(row);
    button->setText(QString());
    button->setAccessibleName(caption);
    auto *label = new QLabel(caption, row);
    label->setObjectName(button->objectName() + QStringLiteral("Caption"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(new CaptionClick(button, label));
    layout->addWidget(button, 0, Qt::AlignTop);
    layout->addWidget(label, 1);
    return row;
}

} // namespace WrappedChoice
