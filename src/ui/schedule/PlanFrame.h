#pragma once

#include "schedule/Appointment.h"

#include <QFrame>

class QLabel;
class QToolButton;

// One appointment in the day list (`TPlanFrame`): its time interval, the client's name and a
// close image. A click on the name picks the appointment, a double click opens the client, the
// close image asks to delete it.
class PlanFrame : public QFrame
{
    Q_OBJECT
public:
    explicit PlanFrame(const Appointment &appointment, QWidget *parent = nullptr);

    AppointmentKey key() const { return m_key; }
    QString clientId() const { return m_clientId; }
    // Marks the appointment the editor holds.
    void setCurrent(bool current);

Q_SIGNALS:
    void nameClicked();
    void nameDoubleClicked();
    void closeClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    AppointmentKey m_key;
    QString m_clientId;
    void elide();

    QString m_nameText;
    QString m_noteText;
    QLabel *m_name;
    QLabel *m_note = nullptr;
    QToolButton *m_close;
};
