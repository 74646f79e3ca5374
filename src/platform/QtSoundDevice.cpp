#include "QtSoundDevice.h"

#include <QtCore/QFileInfo>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtMultimedia/QAudioOutput>
#include <QtMultimedia/QMediaPlayer>
#include <QtWidgets/QApplication>

namespace chimewell {

QtSoundDevice::QtSoundDevice(QObject* parent) : SoundDevice(parent) {}

QtSoundDevice::~QtSoundDevice()
{
    if (m_player)
        m_player->stop();
}

void QtSoundDevice::ensurePlayer()
{
    if (m_player)
        return;
    m_output = std::make_unique<QAudioOutput>();
    m_player = std::make_unique<QMediaPlayer>();
    m_player->setAudioOutput(m_output.get());
    // The GStreamer backend reports a bad file several times and stays in the playing state:
    // report it once and stop the player ourselves.
    connect(m_player.get(), &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error error, const QString&) {
                if (error != QMediaPlayer::NoError)
                    reportFailure();
            });
    connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::InvalidMedia)
                    reportFailure();
            });
    connect(m_player.get(), &QMediaPlayer::playbackStateChanged, this,
            [this](QMediaPlayer::PlaybackState state) {
                if (state == QMediaPlayer::PlayingState && !m_failureReported)
                    emit started(m_openFile);
            });
}

void QtSoundDevice::reportFailure()
{
    if (m_failureReported)
        return;
    m_failureReported = true;
    if (m_player)
        m_player->stop();
    emit failed(m_openFile);
}

void QtSoundDevice::command(const QString& command)
{
    if (command == QLatin1String("OPEN")) {
        ensurePlayer();
        m_openFile = m_fileName;
        m_failureReported = false;
        if (!QFileInfo(m_fileName).isFile()) {
            m_player->setSource(QUrl());
            reportFailure();
            return;
        }
        m_player->setSource(QUrl::fromLocalFile(QFileInfo(m_fileName).absoluteFilePath()));
    } else if (command == QLatin1String("PLAY")) {
        ensurePlayer();
        if (!m_failureReported && !m_player->source().isEmpty())
            m_player->play();
    } else if (command == QLatin1String("STOP")) {
        if (m_player)
            m_player->stop();
    } else if (command == QLatin1String("PREV")) {
        if (m_player)
            m_player->setPosition(0);
    }
}

void QtSoundDevice::beep()
{
    QApplication::beep();
}

} // namespace chimewell
