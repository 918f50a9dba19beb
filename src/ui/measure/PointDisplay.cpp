#include "measure/PointDisplay.h"

#include "measure/BodyPicture.h"
#include "measure/PointPicture.h"

#include <QFrame>

PointDisplay::PointDisplay(QWidget *parent)
    : QWidget(parent)
    , m_marker(new QFrame(this)) {
    setObjectName(QStringLiteral("sPanel1"));
    setMinimumSize(240, 240);
    for (const QString &name : PointPicture::names()) {
        auto *picture = new BodyPicture(name, this);
        picture->hide();
        m_pictures.insert(name, picture);
    }
    m_marker->setObjectName(QStringLiteral("SelectPoint"));
    m_marker->resize(MarkerSize, MarkerSize);
    m_marker->hide();
    paintMarker();
}

void PointDisplay::showPoint(const QString &picture, int cx, int cy) {
    m_shown = picture;
    m_cx = cx;
    m_cy = cy;
    for (auto it = m_pictures.cbegin(); it != m_pictures.cend(); ++it)
        it.value()->setVisible(it.key() == picture);
    place();
}

void PointDisplay::place() {
    BodyPicture *shown = m_pictures.value(m_shown);
    if (!shown) {
        m_marker->hide();
        return;
    }
    const QSize design = PointPicture::designSize(m_shown);
    const QRect area = PointPicture::place(size(), design);
    shown->setGeometry(area);
    m_marker->move(PointPicture::marker(area, design, m_cx, m_cy));
    m_marker->show();
    m_marker->raise();
}

void PointDisplay::blink() {
    m_red = !m_red;
    paintMarker();
}

void PointDisplay::paintMarker() {
    m_marker->setStyleSheet(QStringLiteral("#SelectPoint { border: 2px solid #7a0000; "
                                           "border-radius: %1px; background: %2; }")
                                .arg(MarkerSize / 2)
                                .arg(m_red ? QStringLiteral("#e01010") : QStringLiteral("#ffffff")));
}

void PointDisplay::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    place();
}
