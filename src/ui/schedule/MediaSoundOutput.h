#pragma once

#include "SoundOutput.h"

#include <QBuffer>
#include <QObject>

class QAudioOutput;
class QAudioSink;
class QMediaPlayer;

// Reminder sounds through Qt Multimedia: files through the media player (`MediaPlayer1`), the
// beep as a generated tone. The player is made at the first sound, so a program that never
// reminds never starts the media back end.
class MediaSoundOutput : public QObject, public SoundOutput
{
    Q_OBJECT
public:
    explicit MediaSoundOutput(QObject *parent = nullptr);
    ~MediaSoundOutput() override;

    bool play(const QString &path) override;
    void stop() override;
    void beep() override;

private:
    void makePlayer();

    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
    QAudioSink *m_sink = nullptr;
    QBuffer m_tone;
};
