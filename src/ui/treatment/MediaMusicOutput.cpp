#include "MediaMusicOutput.h"

#include <QAudio>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

MediaMusicOutput::MediaMusicOutput(QObject *parent)
    : MusicOutput(parent)
{
}

MediaMusicOutput::~MediaMusicOutput()
{
    if (m_player)
        m_player->stop();
}

void MediaMusicOutput::makePlayer()
{
    if (m_player)
        return;
    m_player = new QMediaPlayer(this);
    m_player->setObjectName(QStringLiteral("MusicMediaPlayer"));
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    setVolume(m_volume);
    connect(m_player, &QMediaPlayer::positionChanged, this, &MusicOutput::positionChanged);
    connect(m_player, &QMediaPlayer::durationChanged, this, &MusicOutput::durationChanged);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia)
            Q_EMIT finished();
        else if (status == QMediaPlayer::InvalidMedia)
            fail(m_player->errorString());
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error, const QString &text) { fail(text); });
}

void MediaMusicOutput::fail(const QString &reason)
{
    if (m_failed)
        return;
    m_failed = true;
    m_player->stop();
    Q_EMIT failed(reason);
}

void MediaMusicOutput::play(const QString &path)
{
    makePlayer();
    m_failed = false;
    m_player->stop();
    m_player->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    if (!m_failed)
        m_player->play();
}

void MediaMusicOutput::pause()
{
    if (m_player)
        m_player->pause();
}

void MediaMusicOutput::resume()
{
    if (m_player && !m_failed)
        m_player->play();
}

void MediaMusicOutput::stop()
{
    if (m_player)
        m_player->stop();
}

void MediaMusicOutput::seek(qint64 ms)
{
    if (m_player && m_player->isSeekable())
        m_player->setPosition(ms);
}

void MediaMusicOutput::setVolume(int percent)
{
    m_volume = qBound(0, percent, 100);
    // The ear hears loudness logarithmically; a linear slider would do everything in its
    // first quarter.
    if (m_output)
        m_output->setVolume(float(QAudio::convertVolume(m_volume / 100.0, QAudio::LogarithmicVolumeScale,
                                                        QAudio::LinearVolumeScale)));
}
