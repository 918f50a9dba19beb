#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

// The live trace of the point being measured (`PaintBoxL_D1`): a background with the value
// scale (`GraphicImage`) and a red line from (17, 155) through one point per sample at
// (18 x SampleCount, 155 - 0.77 x value).
class TracePaintBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 290;
    static constexpr int Height = 160;

    explicit TracePaintBox(QWidget *parent = nullptr);

    void reset();
    void lineTo(int sampleCount, int value);
    QPoint penPosition() const { return m_pen; }
    const QPixmap &canvas() const { return m_canvas; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static QPixmap makeBackground();

    QPixmap m_background;
    QPixmap m_canvas;
    QPoint m_pen;
};
