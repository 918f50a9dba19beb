#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class SoundOutput;

// The small window shown while a reminder sound plays: which file, and a button to stop it.
// It goes away when the sound ends; closing it stops the sound.
class ReminderPlayerWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ReminderPlayerWindow(SoundOutput *sound, QWidget *parent = nullptr);

    void showFor(const QString &path);
    QString file() const { return m_file; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void stop();

    SoundOutput *m_sound;
    QString m_file;
    QLabel *m_fileLabel;
    QPushButton *m_stopButton;
};
