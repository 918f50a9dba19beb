#pragma once

#include <QObject>
#include <QString>

// Where the session music goes. The program plays through Qt Multimedia (MediaMusicOutput);
// tests put a scripted one in its place, so they need no sound card.
class MusicOutput : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts a file from its beginning.
    virtual void play(const QString &path) = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual void stop() = 0;
    virtual void seek(qint64 ms) = 0;
    // 0..100 as the practitioner sets it on the slider.
    virtual void setVolume(int percent) = 0;

Q_SIGNALS:
    void positionChanged(qint64 ms);
    void durationChanged(qint64 ms);
    // The file played to its end.
    void finished();
    // The file cannot be played; `reason` says why, in the back end's words.
    void failed(const QString &reason);
};
