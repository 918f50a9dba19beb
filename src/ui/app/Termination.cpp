#include "Termination.h"

#include "common/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

Termination::Termination(QObject *parent)
    : QObject(parent)
{
}

void Termination::request()
{
    m_requested = true;
    // No question is put to someone who has left: every answer is "cancel".
    Dialogs::setHandler([](const Dialogs::Request &) { return QString(); });
    // Questions already on screen are cancelled; their loops end once control returns.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget->windowModality() == Qt::NonModal)
            continue;
        if (auto *dialog = qobject_cast<QDialog *>(widget))
            dialog->reject();
        else
            widget->close();
    }
    if (m_window)
        QTimer::singleShot(0, m_window, [window = m_window] {
            if (window)
                window->close();
        });
}
