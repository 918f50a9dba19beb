#include "TreatmentTab.h"

#include <QKeyEvent>
#include <QMouseEvent>

TreatmentTab::TreatmentTab(const QString &objectName, QWidget *parent)
    : QLabel(parent)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
    setMinimumHeight(30);
    setActive(false);
}

void TreatmentTab::setActive(bool active)
{
    m_active = active;
    // Red (255) for the shown sub-mode, light grey (0xD4D4D4) for the others.
    setStyleSheet(active ? QStringLiteral("QLabel { background: #ff0000; color: white; font-weight: bold;"
                                          " padding: 4px 22px; border-top-left-radius: 6px;"
                                          " border-top-right-radius: 6px; }"
                                          "QLabel:focus { text-decoration: underline; }")
                         : QStringLiteral("QLabel { background: #d4d4d4; color: #2b3540; padding: 4px 22px;"
                                          " border-top-left-radius: 6px; border-top-right-radius: 6px; }"
                                          "QLabel:hover { background: #c4c4c4; }"
                                          "QLabel:focus { text-decoration: underline; }"));
}

void TreatmentTab::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked();
    QLabel::mousePressEvent(event);
}

void TreatmentTab::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}
