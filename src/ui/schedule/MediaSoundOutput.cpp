#include "MediaSoundOutput.h"

#include "schedule/BeepTone.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSink>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

MediaSoundOutput::MediaSoundOutput(QObject *parent)
    : QObject(parent)
{
}

MediaSoundOutput::~MediaSoundOutput()
{
    if (m_sink)
        m_sink->stop();
}

void MediaSoundOutput::makePlayer()
{
    if (m_player)
        return;
    m_player = new QMediaPlayer(this);
    m_player->setObjectName(QStringLiteral("MediaPlayer1"));
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia)
                    notifyFinished();
            });
}

bool MediaSoundOutput::play(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    makePlayer();
    m_player->stop();
    m_player->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    m_player->play();
    return m_player->error() == QMediaPlayer::NoError;
}

void MediaSoundOutput::stop()
{
    if (m_player)
        m_player->stop();
    if (m_sink)
        m_sink->stop();
}

void MediaSoundOutput::beep()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(BeepTone::SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) {
        QApplication::beep();
        return;
    }
    if (m_sink)
        m_sink->stop();
    delete m_sink;
    m_sink = new QAudioSink(device, format, this);
    m_tone.close();
    m_tone.setData(BeepTone::pcm());
    m_tone.open(QIODevice::ReadOnly);
    connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::IdleState)
            m_sink->stop();
    });
    m_sink->start(&m_tone);
}
