#include "BodyAtlasView.h"

#include "measure/BodyPicture.h"
#include "MarkShape.h"

#include <QTimer>

using Geometry = BodyMarkGeometry;

BodyAtlasView::BodyAtlasView(MarkBlink::Style style, const Names &names, QWidget *parent)
    : QWidget(parent)
    , m_blink(style)
{
    m_back = new BodyPicture(QStringLiteral("body_back"), this);
    m_back->setObjectName(names.back);
    m_front = new BodyPicture(QStringLiteral("body_front"), this);
    m_front->setObjectName(names.front);
    m_side = new BodyPicture(QStringLiteral("body_side"), this);
    m_side->setObjectName(names.side);
    // Rings under the dots, so a dot stays whole inside its ring.
    m_ring1 = new MarkShape(MarkShape::Kind::Ring, QStringLiteral("CircleShape1"), this);
    m_ring2 = new MarkShape(MarkShape::Kind::Ring, QStringLiteral("CircleShape2"), this);
    m_dot1 = new MarkShape(MarkShape::Kind::Dot, QStringLiteral("DotShape"), this);
    m_dot2 = new MarkShape(MarkShape::Kind::Dot, QStringLiteral("DotShape2"), this);
    m_timer = new QTimer(this);
    m_timer->setObjectName(names.timer);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &BodyAtlasView::onTick);
    setMinimumSize(120, 200);
    showPicture(Geometry::Picture::Back);
}

BodyPicture *BodyAtlasView::pictureWidget(Geometry::Picture picture) const
{
    switch (picture) {
    case Geometry::Picture::Front:
        return m_front;
    case Geometry::Picture::Side:
        return m_side;
    case Geometry::Picture::Back:
        break;
    }
    return m_back;
}

QRect BodyAtlasView::pictureRect() const
{
    return Geometry::fit(size(), m_picture);
}

void BodyAtlasView::showPicture(Geometry::Picture picture)
{
    m_picture = picture;
    for (BodyPicture *p : {m_back, m_front, m_side})
        p->setVisible(p == pictureWidget(picture));
    pictureWidget(picture)->setGeometry(pictureRect());
}

void BodyAtlasView::showMark(const AtlasPosition &position)
{
    m_position = position;
    m_hasMark = true;
    showPicture(Geometry::pictureOf(position.image));
    const QColor fill = Geometry::colorOf(position.color);
    m_dot1->setColor(fill);
    m_dot2->setColor(fill);
    placeMarks();
    m_blink.start();
    applyBlink();
    m_timer->start();
}

void BodyAtlasView::clearMarks()
{
    m_timer->stop();
    m_blink.finish();
    m_hasMark = false;
    for (MarkShape *m : {m_dot1, m_dot2, m_ring1, m_ring2})
        m->hide();
}

void BodyAtlasView::placeMarks()
{
    const QRect shown = pictureRect();
    pictureWidget(m_picture)->setGeometry(shown);
    if (!m_hasMark)
        return;
    const int c = m_blink.style() == MarkBlink::Style::Atlas ? Geometry::AtlasCorrection
                                                             : Geometry::diseaseCorrection(shown);
    const QPoint d1 = Geometry::dotAt(shown, m_picture, m_position.left1, m_position.top1, c);
    const QPoint d2 = Geometry::dotAt(shown, m_picture, m_position.left2, m_position.top2, c);
    m_dot1->move(d1);
    m_dot2->move(d2);
    m_ring1->move(Geometry::ringAt(d1));
    m_ring2->move(Geometry::ringAt(d2));
}

void BodyAtlasView::applyBlink()
{
    for (MarkShape *ring : {m_ring1, m_ring2}) {
        ring->setPenWidth(m_blink.ringWidth());
        ring->setVisible(m_blink.ringsVisible());
    }
    for (MarkShape *dot : {m_dot1, m_dot2}) {
        dot->setVisible(m_blink.dotsVisible());
        dot->raise();
    }
}

void BodyAtlasView::onTick()
{
    if (!m_blink.tick())
        m_timer->stop();
    applyBlink();
}

void BodyAtlasView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeMarks();
}
