#pragma once

#include <QSvgRenderer>
#include <QWidget>

// One drawing of a hand or a foot, scaled to the widget's size. The drawings are SVG files in
// the install folder's pictures/ (hand1.svg ... foot6.svg); a missing file shows nothing.
class BodyPicture : public QWidget {
    Q_OBJECT
public:
    BodyPicture(const QString &name, QWidget *parent = nullptr);

    bool isLoaded() const { return m_renderer.isValid(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer m_renderer;
};
