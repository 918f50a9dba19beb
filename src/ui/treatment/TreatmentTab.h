#pragma once

#include <QLabel>

// One of the three tab labels of the treatment page: red while its sub-mode is shown, light
// grey otherwise. Reacts to a click and, for keyboard users, to Space and Enter.
class TreatmentTab : public QLabel
{
    Q_OBJECT
public:
    TreatmentTab(const QString &objectName, QWidget *parent = nullptr);

    void setActive(bool active);
    bool isActive() const { return m_active; }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_active = false;
};
