#pragma once

#include <QLabel>

// A point code that can be clicked (or chosen with Enter or Space when it has the focus) to
// show the point on a body picture.
class PointLabel : public QLabel
{
    Q_OBJECT
public:
    explicit PointLabel(const QString &code, QWidget *parent = nullptr);

    QString code() const { return m_code; }

Q_SIGNALS:
    void clicked(const QString &code);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_code;
};
