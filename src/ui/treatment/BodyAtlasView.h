#pragma once

#include "treatment/AtlasPosition.h"
#include "treatment/BodyMarkGeometry.h"
#include "treatment/MarkBlink.h"

#include <QWidget>

class BodyPicture;
class MarkShape;
class QTimer;

// The three body pictures (back, front, side) with the marks of one point: two dots and two
// rings that blink for a few seconds once the point is shown. Exactly one picture is visible,
// as large as the view allows with its proportions kept; the marks follow it when the view
// changes size. Used by the atlas window and the disease page.
class BodyAtlasView : public QWidget
{
    Q_OBJECT
public:
    // The objectNames of the pictures and the blink timer, which differ between the windows.
    struct Names
    {
        QString back;
        QString front;
        QString side;
        QString timer;
    };

    BodyAtlasView(MarkBlink::Style style, const Names &names, QWidget *parent = nullptr);

    // Shows the point's picture, places its marks and starts the blinking from the beginning.
    void showMark(const AtlasPosition &position);
    // Hides the marks and stops the blinking; the picture stays.
    void clearMarks();

    BodyMarkGeometry::Picture picture() const { return m_picture; }
    // Where the visible picture is drawn, in this widget's coordinates.
    QRect pictureRect() const;
    const MarkBlink &blink() const { return m_blink; }
    QTimer *timer() const { return m_timer; }
    bool hasMark() const { return m_hasMark; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPicture(BodyMarkGeometry::Picture picture);
    void placeMarks();
    void applyBlink();
    void onTick();
    BodyPicture *pictureWidget(BodyMarkGeometry::Picture picture) const;

    MarkBlink m_blink;
    BodyPicture *m_back = nullptr;
    BodyPicture *m_front = nullptr;
    BodyPicture *m_side = nullptr;
    MarkShape *m_dot1 = nullptr;
    MarkShape *m_dot2 = nullptr;
    MarkShape *m_ring1 = nullptr;
    MarkShape *m_ring2 = nullptr;
    QTimer *m_timer = nullptr;
    BodyMarkGeometry::Picture m_picture = BodyMarkGeometry::Picture::Back;
    AtlasPosition m_position;
    bool m_hasMark = false;
};
