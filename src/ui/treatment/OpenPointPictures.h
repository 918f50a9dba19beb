#pragma once

#include "treatment/OpenPointMarkers.h"

#include <QWidget>

#include <array>

class BodyPicture;
class OpenPointMarker;

// The body pictures of the open points (`ImagesPanel` with `Image1` .. `Image4`) and the marker.
// At most one picture is shown, as high as the panel and as wide as its drawing's proportions
// give, centred; the marker sits on the point of the shown picture.
class OpenPointPictures : public QWidget
{
    Q_OBJECT
public:
    explicit OpenPointPictures(QWidget *parent = nullptr);

    // Shows the picture of `place` with the marker on it; an unknown place shows nothing.
    void showPlace(const OpenPointMarkers::Place &place);
    // Hides the pictures and the marker.
    void clear();

    void setMarkerVisible(bool visible);
    bool markerVisible() const;
    // The picture on show (1..4), 0 when none.
    int shownPicture() const;
    BodyPicture *picture(int index) const;
    OpenPointMarker *marker() const { return m_marker; }

    // Sizes the pictures to the panel's height and puts the marker back on its point.
    void relayout();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::array<BodyPicture *, OpenPointMarkers::Pictures> m_pictures{};
    OpenPointMarker *m_marker = nullptr;
    OpenPointMarkers::Place m_place;
};
