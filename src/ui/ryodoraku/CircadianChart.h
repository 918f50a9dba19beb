#pragma once

#include "ryodoraku/MeridianAnalysis.h"

#include <QImage>
#include <QWidget>

// The organ clock of a test: one pie sector per meridian in its two-hour period of the day,
// as long as the meridian's value (times the scale), and three circles for the mean and the
// band of ±10 % around it. The drawing is made on a 400 × 400 face around (200, 200) and
// scaled to the widget, so long sectors stay whole.
class CircadianChart : public QWidget {
    Q_OBJECT
public:
    explicit CircadianChart(QWidget *parent = nullptr);

    void setAnalysis(const MeridianAnalysis &analysis);
    void setNotice(const QString &notice);

    // The face alone, `size` pixels square (for the report and for checks).
    QImage render(int size) const;

    QSize sizeHint() const override { return {420, 420}; }
    QSize minimumSizeHint() const override { return {220, 220}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintFace(QPainter &p, const QRectF &target) const;

    QList<MeridianAnalysis::CircadianSector> m_sectors;
    QList<MeridianAnalysis::CircadianCircle> m_circles;
    double m_mean = 0;
    QString m_notice;
};
