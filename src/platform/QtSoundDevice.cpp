#include "QtSoundDevice.h"

#include <QtCore/QBuffer>
#include <QtCore/QFileInfo>
#include <QtCore/QUrl>
#include <QtCore/QtMath>
#include <QtMultimedia/QAudioOutput>
#include <QtMultimedia/QAudioSink>
#include <QtMultimedia/QMediaDevices>
#include <QtMultimedia/QMediaPlayer>
#include <QtWidgets/QApplication>

namespace chimewell {
namespace {

// Six seconds of short 880 Hz beeps, 16-bit mono: loud enough to be noticed when neither the
// chosen sound nor the chime can be played.
QByteArray beepSamples(const QAudioFormat& format)
{
    const int rate = format.sampleRate();
    const int total = rate * 6;
    QByteArray bytes(total * 2, Qt::Uninitialized);
    auto* out = reinterpret_cast<qint16*>(bytes.data());
    for (int i = 0; i < total; ++i) {
        const double t = double(i % (rate / 2)) / rate; // a beep every half second
        const bool on = t < 0.25;
        out[i] = on ? qint16(12000 * qSin(2 * M_PI * 880 * i / rate)) : 0;
    }
    return bytes;
}

} // namespace

QtSoundDevice::QtSoundDevice(QObject* parent) : SoundDevice(parent)
{
    m_progressCheck.setSingleShot(true);
    connect(&m_progressCheck, &QTimer::timeout, this, &QtSoundDevice::checkProgress);
}

QtSoundDevice::~QtSoundDevice()
{
    if (m_player)
        m_player->stop();
}

void QtSoundDevice::retirePlayer()
{
    m_progressCheck.stop();
    if (!m_player)
        return;
    m_player->disconnect(this);
    m_player->stop();
    // Tearing a pipeline down while the next one starts stalls the new one after its first
    // 120 ms, silently: the old player goes only once the new one is heard.
    m_retired.append(m_player);
    m_player = nullptr;
}

void QtSoundDevice::dropRetiredPlayers()
{
    for (const QPointer<QMediaPlayer>& player : std::as_const(m_retired))
        if (player)
            player->deleteLater();
    m_retired.clear();
}

void QtSoundDevice::newPlayer()
{
    retirePlayer();
    m_player = new QMediaPlayer(this);
    m_player->setAudioOutput(new QAudioOutput(m_player));
    m_progressed = false;
    // The GStreamer backend reports a bad file several times and stays in the playing state:
    // report it once and stop the player ourselves.
    connect(m_player, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error error, const QString&) {
                if (error != QMediaPlayer::NoError)
                    reportFailure();
            });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::InvalidMedia) {
                    reportFailure();
                } else if (status == QMediaPlayer::EndOfMedia && !m_failureReported) {
                    markProgress();
                    emit ended(m_openFile);
                }
            });
    connect(m_player, &QMediaPlayer::playbackStateChanged, this,
            [this](QMediaPlayer::PlaybackState state) {
                if (state == QMediaPlayer::PlayingState && !m_failureReported)
                    emit started(m_openFile);
            });
    connect(m_player, &QMediaPlayer::positionChanged, this, [this](qint64 position) {
        if (position >= kProgressMs)
            markProgress();
    });
}

void QtSoundDevice::markProgress()
{
    if (m_progressed)
        return;
    m_progressed = true;
    m_progressCheck.stop();
    dropRetiredPlayers();
}

void QtSoundDevice::reportFailure()
{
    if (m_failureReported)
        return;
    m_failureReported = true;
    m_progressCheck.stop();
    if (m_player)
        m_player->stop();
    emit failed(m_openFile);
}

void QtSoundDevice::checkProgress()
{
    if (m_player && !m_progressed && m_player->playbackState() == QMediaPlayer::PlayingState)
        reportFailure();
}

void QtSoundDevice::command(const QString& command)
{
    if (command == QLatin1String("OPEN")) {
        newPlayer();
        m_openFile = m_fileName;
        m_failureReported = false;
        if (!QFileInfo(m_fileName).isFile()) {
            reportFailure();
            return;
        }
        m_player->setSource(QUrl::fromLocalFile(QFileInfo(m_fileName).absoluteFilePath()));
    } else if (command == QLatin1String("PLAY")) {
        if (!m_player || m_failureReported || m_player->source().isEmpty())
            return;
        m_progressed = false;
        m_player->play();
        m_progressCheck.start(kProgressTimeoutMs);
    } else if (command == QLatin1String("STOP")) {
        m_progressCheck.stop();
        if (m_player)
            m_player->stop();
        if (m_beepSink)
            m_beepSink->stop();
    } else if (command == QLatin1String("PREV")) {
        if (m_player)
            m_player->setPosition(0);
    }
}

void QtSoundDevice::beep()
{
    QApplication::beep();
    // The display's bell is often silent or absent; play the beeps on the sound output too.
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull() || m_beepSink)
        return;
    QAudioFormat format;
    format.setSampleRate(22050);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!output.isFormatSupported(format))
        return;
    m_beepBuffer = new QBuffer(this);
    m_beepBuffer->setData(beepSamples(format));
    m_beepBuffer->open(QIODevice::ReadOnly);
    m_beepSink = new QAudioSink(output, format, this);
    connect(m_beepSink, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::IdleState || state == QAudio::StoppedState) {
            QAudioSink* sink = m_beepSink;
            m_beepSink = nullptr;
            sink->disconnect(this);
            sink->stop();
            sink->deleteLater();
            m_beepBuffer->deleteLater();
            m_beepBuffer = nullptr;
        }
    });
    m_beepSink->start(m_beepBuffer);
}

} // namespace chimewell
