#include "measure/BodyPicture.h"

#include "app/AppPaths.h"

#include <QPainter>

BodyPicture::BodyPicture(const QString &name, QWidget *parent)
    : QWidget(parent) {
    setObjectName(name);
    const QString path =
        AppPaths::installFile(QStringLiteral("pictures/") + name + QStringLiteral(".svg"));
    if (!path.isEmpty())
        m_renderer.load(path);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BodyPicture::paintEvent(QPaintEvent *) {
    if (!m_renderer.isValid())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_renderer.render(&painter, QRectF(rect()));
}
