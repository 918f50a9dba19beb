#pragma once

#include <QColor>
#include <QWidget>

// One mark on a body picture: a filled dot, or a ring drawn with a pen of a given width.
class MarkShape : public QWidget
{
    Q_OBJECT
public:
    enum class Kind { Dot, Ring };

    MarkShape(Kind kind, const QString &objectName, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    int penWidth() const { return m_penWidth; }
    void setPenWidth(int width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
    QColor m_color;
    int m_penWidth = 1;
};
