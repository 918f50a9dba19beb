#include "BodyForm.h"
#include "common/WindowPlacement.h"

#include "BodyAtlasView.h"
#include "localization/LanguageApplier.h"
#include "treatment/AtlasPoints.h"

#include <QKeyEvent>
#include <QVBoxLayout>

BodyForm::BodyForm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TBodyForm"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setStyleSheet(QStringLiteral("#TBodyForm { background: #ffffff; }"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new BodyAtlasView(MarkBlink::Style::Atlas,
                               {QStringLiteral("Back"), QStringLiteral("Front"),
                                QStringLiteral("Side"), QStringLiteral("DotTimer")},
                               this);
    layout->addWidget(m_view);
    resize(ClientWidth, ClientHeight);
    LanguageApplier::instance().bindWithFallback(this, QStringLiteral("BodyFormCaption"),
                                                 QStringLiteral("Point atlas"),
                                                 [this](const QString &text) {
                                                     m_caption = text;
                                                     updateTitle();
                                                 });
}

void BodyForm::updateTitle()
{
    setWindowTitle(m_code.isEmpty() ? m_caption : m_caption + QStringLiteral(": ") + m_code);
}

void BodyForm::showPoint(const QString &code)
{
    m_code = code.trimmed();
    updateTitle();
    m_view->showMark(AtlasPoints().position(m_code));
}

void BodyForm::showPointNear(const QString &code, const QWidget *label)
{
    showPointAt(code, label ? label->mapToGlobal(QPoint(0, 0)) : pos());
}

void BodyForm::showPointAt(const QString &code, const QPoint &globalTopLeft)
{
    move(globalTopLeft);
    showPoint(code);
    show();
    // Already on screen, it is not shown anew: keep it whole on the screen here too.
    WindowPlacement::keepOnScreen(this);
    raise();
}

void BodyForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void BodyForm::showEvent(QShowEvent *event)
{
    // Where it was opened, as far as the screen allows.
    WindowPlacement::keepOnScreen(this);
    QWidget::showEvent(event);
}
