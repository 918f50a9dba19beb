#pragma once

#include <QWidget>

// The drawn meridian clock (`Image5`): twelve sectors of two hours around a circle, midnight at
// the top and noon at the bottom, the chosen period filled. It reports presses and arrow keys;
// the page decides what they choose.
class MeridianClock : public QWidget
{
    Q_OBJECT
public:
    explicit MeridianClock(QWidget *parent = nullptr);

    int period() const { return m_period; }
    // A period 0..11, or OpenPointCalendar::NoPeriod for none.
    void setPeriod(int period);

    QSize sizeHint() const override;

Q_SIGNALS:
    void pressedAt(const QPoint &pos);
    // Arrow keys: +1 one sector clockwise, -1 counter-clockwise.
    void stepRequested(int steps);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // The rim shows whether the keys reach the clock.
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int m_period = -1;
};
