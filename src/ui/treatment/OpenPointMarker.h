#pragma once

#include <QWidget>

// The marker (`my_shape`) put on a body picture at an open point: a red dot in a white ring,
// easy to see on skin and outline alike.
class OpenPointMarker : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Size = 14;

    explicit OpenPointMarker(QWidget *parent = nullptr);
    // Puts the marker's middle on `point` (parent coordinates).
    void centreOn(const QPoint &point);

protected:
    void paintEvent(QPaintEvent *event) override;
};
