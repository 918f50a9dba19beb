#pragma once

#include "MusicOutput.h"

class QAudioOutput;
class QMediaPlayer;

// Session music through Qt Multimedia. The media player is made at the first file, so a
// session without music never starts the media back end.
class MediaMusicOutput : public MusicOutput
{
    Q_OBJECT
public:
    explicit MediaMusicOutput(QObject *parent = nullptr);
    ~MediaMusicOutput() override;

    void play(const QString &path) override;
    void pause() override;
    void resume() override;
    void stop() override;
    void seek(qint64 ms) override;
    void setVolume(int percent) override;

private:
    void makePlayer();
    void fail(const QString &reason);

    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
    int m_volume = 70;
    // The back end may report one bad file twice (an error and an invalid status); the
    // window hears of it once.
    bool m_failed = false;
};
