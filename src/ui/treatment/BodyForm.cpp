#include "BodyForm.h"
#include "common/WindowPlacement.h"

#include "BodyAtlasView.h"
#include "localization/LanguageApplier.h"
#include "treatment/AtlasPoints.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
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
    QPoint place = globalTopLeft;
    if (const QScreen *screen = QGuiApplication::screenAt(globalTopLeft)) {
        // The whole window stays on the screen the label is on.
        const QRect area = screen->availableGeometry();
        const QSize frame = frameGeometry().size().expandedTo(size());
        place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - frame.width())));
        place.setY(std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - frame.height())));
    }
    move(place);
    showPoint(code);
    show();
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
    if (!m_placed) {
        m_placed = true;
        WindowPlacement::keepOnScreen(this);
    }
    QWidget::showEvent(event);
}
