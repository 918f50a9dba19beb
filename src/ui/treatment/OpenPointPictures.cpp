#include "OpenPointPictures.h"

#include "OpenPointMarker.h"
#include "measure/BodyPicture.h"

namespace {
constexpr int Margin = 4;
}

OpenPointPictures::OpenPointPictures(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ImagesPanel"));
    for (int i = 0; i < OpenPointMarkers::Pictures; ++i) {
        auto *picture = new BodyPicture(OpenPointMarkers::pictureName(i + 1), this);
        picture->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        picture->hide();
        m_pictures[size_t(i)] = picture;
    }
    m_marker = new OpenPointMarker(this);
    m_marker->hide();
}

BodyPicture *OpenPointPictures::picture(int index) const
{
    return index >= 1 && index <= OpenPointMarkers::Pictures ? m_pictures[size_t(index - 1)]
                                                              : nullptr;
}

void OpenPointPictures::clear()
{
    m_place = {};
    for (BodyPicture *picture : m_pictures)
        picture->hide();
    m_marker->hide();
}

void OpenPointPictures::showPlace(const OpenPointMarkers::Place &place)
{
    clear();
    if (!place.isValid())
        return;
    m_place = place;
    relayout();
    picture(place.picture)->show();
    m_marker->show();
    m_marker->raise();
}

void OpenPointPictures::setMarkerVisible(bool visible)
{
    m_marker->setVisible(visible && m_place.isValid());
}

bool OpenPointPictures::markerVisible() const
{
    return m_marker->isVisibleTo(this);
}

int OpenPointPictures::shownPicture() const
{
    for (int i = 1; i <= OpenPointMarkers::Pictures; ++i) {
        if (picture(i)->isVisibleTo(this))
            return i;
    }
    return 0;
}

void OpenPointPictures::relayout()
{
    const int height = qMax(0, this->height() - 2 * Margin);
    for (int i = 1; i <= OpenPointMarkers::Pictures; ++i) {
        const int width = OpenPointMarkers::widthForHeight(i, height);
        picture(i)->setGeometry((this->width() - width) / 2, Margin, width, height);
    }
    if (m_place.isValid())
        m_marker->centreOn(OpenPointMarkers::position(picture(m_place.picture)->geometry(), m_place));
}

void OpenPointPictures::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}
