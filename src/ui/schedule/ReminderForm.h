#pragma once

#include "SoundOutput.h"
#include "schedule/ReminderTimerSet.h"

#include <QList>
#include <QWidget>

#include <memory>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTimer;
class ReminderPlayerWindow;

// The reminder timers window (`TReminderForm`): fifteen count-downs, each with a name, a
// duration and a sound and/or a message. It reads Remember.ini when it is made and writes it
// whenever a row starts or stops and at close-down, so running count-downs survive a restart.
// It also plays the sounds of appointment reminders.
class ReminderForm : public QWidget
{
    Q_OBJECT
public:
    // Without `sound` the window plays through Qt Multimedia.
    explicit ReminderForm(QWidget *parent = nullptr, std::unique_ptr<SoundOutput> sound = {});
    ~ReminderForm() override;

    const ReminderTimerSet &timers() const { return m_set; }
    QString filePath() const { return m_path; }

    // Writes Remember.ini (close-down, and after every start and stop).
    // Writes the timers file; a failure is said, never passed over.
    bool save();
    // Stops the timers and any sound and closes the window (close-down).
    void finish();

    // Plays a sound file and shows the player window; false when the file is not there.
    bool playSound(const QString &path);
    ReminderPlayerWindow *playerWindow() const { return m_player; }

    // One round of each timer (`SystemTime`, `TimerReminder`).
    void showCurrentTime();
    void fireDue();

private:
    // False, with a message naming `field`, when the timers file cannot hold `text`.
    bool storable(const QString &text, const QString &field);
    struct Row
    {
        QCheckBox *run = nullptr;
        QLineEdit *name = nullptr;
        QLineEdit *begin = nullptr;
        QLineEdit *end = nullptr;
        QLineEdit *hours = nullptr;
        QLineEdit *minutes = nullptr;
        QCheckBox *message = nullptr;
        QCheckBox *sound = nullptr;
    };

    void buildRows();
    void bindTexts();
    void showRow(int index);
    void onRunToggled(int index, bool on);
    void onDurationEdited(int index, QLineEdit *edit, bool hours);
    void onMessageToggled(int index, bool on);
    void onSoundToggled(int index, bool on);
    void takeTypedFields(int index);

    std::unique_ptr<SoundOutput> m_sound;
    ReminderTimerSet m_set;
    QString m_path;
    QList<Row> m_rows;
    QTimer *m_systemTime;
    QTimer *m_timerReminder;
    QGridLayout *m_grid = nullptr;
    QPushButton *m_closeButton = nullptr;
    ReminderPlayerWindow *m_player = nullptr;
};
