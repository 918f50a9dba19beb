#pragma once

#include "ryodoraku/CorridorEvaluation.h"
#include "records/TestRecord.h"

#include <QPointF>
#include <QWidget>

#include <optional>

// The polar diagram of one test (`PaintBox1`): the twelve meridians round a common centre,
// the left side and the right side as two closed outlines, the mean and the corridor as
// circles. Laid out on a 691 x 390 design and scaled to the widget.
class PolarDiagram : public QWidget
{
    Q_OBJECT
public:
    static constexpr int DesignWidth = 691;
    static constexpr int DesignHeight = 390;

    explicit PolarDiagram(QWidget *parent = nullptr);

    void setTest(const TestRecord &test, const CorridorEvaluation &corridor);
    void clear();
    bool hasTest() const { return m_test.has_value(); }
    void setTexts(const QString &left, const QString &right, const QString &mean,
                  const QString &corridor);
    void setTitle(const QString &title);

    // Where a channel's value lies on the widget (for tooltips and tests).
    QPointF pointOf(int channel) const;
    // The radius, in pixels, of a value.
    double radiusOf(int value) const;
    QPointF centre() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    double scale() const;
    double angleOf(int channel) const; // radians, clockwise from the top
    int scaleTop() const;

    std::optional<TestRecord> m_test;
    CorridorEvaluation m_corridor;
    QString m_left = QStringLiteral("Left");
    QString m_right = QStringLiteral("Right");
    QString m_mean = QStringLiteral("Mean");
    QString m_corridorText = QStringLiteral("Corridor");
    QString m_title;
};
