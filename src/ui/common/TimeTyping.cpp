#include "TimeTyping.h"

#include <QDateTimeEdit>
#include <QEvent>
#include <QFocusEvent>
#include <QTimer>

namespace {

class SelectFirstSection : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *edit = static_cast<QDateTimeEdit *>(watched);
        // A click leaves a bare cursor, where typed digits are refused: the section clicked
        // is selected instead, so typing replaces it. Entering by keyboard selects the first.
        if (event->type() == QEvent::MouseButtonRelease) {
            QTimer::singleShot(0, edit, [edit] {
                if (edit->hasFocus())
                    edit->setSelectedSection(edit->currentSection());
            });
        } else if (event->type() == QEvent::FocusIn
                   && static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason) {
            QTimer::singleShot(0, edit, [edit] {
                if (edit->hasFocus())
                    edit->setSelectedSection(edit->sectionAt(0));
            });
        }
        return false;
    }
};

} // namespace

namespace TimeTyping {

void install(QDateTimeEdit *edit)
{
    edit->installEventFilter(new SelectFirstSection(edit));
}

} // namespace TimeTyping
