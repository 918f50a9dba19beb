#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

class BodyPicture;
class QFrame;

// The picture panel of the test page (`sPanel1`): the hand or foot the current point lies
// on, centred and scaled to the panel, and the marker `SelectPoint` on the point. The marker
// blinks between white and red (blink(), every 500 ms from the page).
class PointDisplay : public QWidget {
    Q_OBJECT
public:
    static constexpr int MarkerSize = 12;

    explicit PointDisplay(QWidget *parent = nullptr);

    // Shows `picture` (a PointPicture name) with the marker at catalogue position (cx, cy).
    void showPoint(const QString &picture, int cx, int cy);
    void blink();

    QString shownPicture() const { return m_shown; }
    BodyPicture *picture(const QString &name) const { return m_pictures.value(name); }
    QFrame *marker() const { return m_marker; }
    bool markerRed() const { return m_red; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void place();
    void paintMarker();

    QHash<QString, BodyPicture *> m_pictures;
    QFrame *m_marker;
    QString m_shown;
    int m_cx = 1;
    int m_cy = 1;
    bool m_red = true;
};
