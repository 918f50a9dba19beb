#pragma once

#include <QColor>
#include <QWidget>

// A small colour shape: a palette colour or one colour slot of a channel. Shows its colour,
// a dark outline while it is the selected one, a green outline while it plays, and can be
// hidden for a moment so that a playing shape blinks. Click, Space or Enter choose it.
class ColorSwatch : public QWidget
{
    Q_OBJECT
public:
    ColorSwatch(const QString &objectName, int tag, QWidget *parent = nullptr);

    int tag() const { return m_tag; }
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    void setPlaying(bool playing);
    bool isPlaying() const { return m_playing; }
    // Blinking: the shape's colour is left out while `shown` is false.
    void setShown(bool shown);
    bool isShown() const { return m_shown; }
    // Channel shapes: black is "no colour given" and is drawn as an empty, struck-out box.
    void setBlackShownEmpty(bool on) { m_blackEmpty = on; update(); }

    QSize sizeHint() const override { return {26, 20}; }

Q_SIGNALS:
    void chosen(ColorSwatch *swatch);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_tag;
    QColor m_color = Qt::black;
    bool m_selected = false;
    bool m_playing = false;
    bool m_shown = true;
    bool m_blackEmpty = false;
};
