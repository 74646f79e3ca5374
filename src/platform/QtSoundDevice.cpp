#include "QtSoundDevice.h"

#include "Beeps.h"

#include <QtCore/QFileInfo>
#include <QtCore/QUrl>
#include <QtMultimedia/QAudioOutput>
#include <QtMultimedia/QAudioSink>
#include <QtMultimedia/QMediaDevices>
#include <QtMultimedia/QMediaPlayer>
#include <QtWidgets/QApplication>
#include <algorithm>
#include <utility>

namespace chimewell {
namespace {

qint64 beepMilliseconds()
{
    return kBeepSeconds * 1000;
}

} // namespace

QtSoundDevice::QtSoundDevice(QObject* parent) : SoundDevice(parent)
{
    m_startCheck.setSingleShot(true);
    connect(&m_startCheck, &QTimer::timeout, this, [this] {
        if (!m_heard)
            fail();
    });
    m_beepProgress.setInterval(200);
    connect(&m_beepProgress, &QTimer::timeout, this, &QtSoundDevice::checkBeeps);
    m_stallCheck.setInterval(kStallMs);
    connect(&m_stallCheck, &QTimer::timeout, this, &QtSoundDevice::checkProgress);
    m_nextRound.setSingleShot(true);
    m_nextRound.setTimerType(Qt::PreciseTimer);
    connect(&m_nextRound, &QTimer::timeout, this, &QtSoundDevice::startNextRound);
}

QtSoundDevice::~QtSoundDevice()
{
    retire();
    dropAll();
}

void QtSoundDevice::play(const QString& file, bool repeat)
{
    retire();
    ++m_playNumber;
    m_file = file;
    m_repeat = repeat;
    m_heard = false;
    m_over = false;
    m_startCheck.start(kStartTimeoutMs);
    if (file == kBeeps)
        playBeeps();
    else
        playFile();
}

void QtSoundDevice::stop()
{
    ++m_playNumber;
    m_over = true;
    m_startCheck.stop();
    retire();
}

void QtSoundDevice::setVolume(double level)
{
    m_volume = std::clamp(level, 0.0, 1.0);
    // The round that is ending still sounds under the next one: both follow the volume.
    for (QMediaPlayer* player : m_retired + QList<QMediaPlayer*>{m_player})
        if (player && player->audioOutput())
            player->audioOutput()->setVolume(float(m_volume));
    if (m_beeps)
        m_beeps->setVolume(m_volume);
}

void QtSoundDevice::playFile()
{
    if (!QFileInfo(m_file).isFile()) {
        fail();
        return;
    }
    m_player = makePlayer();
    if (!m_player) {
        fail();
        return;
    }
    connectPlayer(m_player);
    m_player->play();
}

QMediaPlayer* QtSoundDevice::makePlayer()
{
    const QFileInfo info(m_file);
    if (!info.isFile())
        return nullptr;
    auto* player = new QMediaPlayer(this);
    auto* output = new QAudioOutput(player);
    output->setVolume(float(m_volume));
    player->setAudioOutput(output);
    player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    return player;
}

void QtSoundDevice::connectPlayer(QMediaPlayer* player)
{
    // The GStreamer backend reports a bad file several times and stays in the playing state;
    // fail() tells it once and drops the player.
    connect(player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError)
            fail();
    });
    connect(player, &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::InvalidMedia)
                    fail();
                else if (status == QMediaPlayer::EndOfMedia)
                    finish();
            });
    connect(player, &QMediaPlayer::positionChanged, this, [this](qint64 position) {
        if (position >= kHeardMs)
            markHeard();
        scheduleNextRound();
    });
}

void QtSoundDevice::scheduleNextRound()
{
    if (!m_repeat || !m_player || !m_heard)
        return;
    const qint64 length = m_player->duration();
    if (length <= 0)
        return; // the round's end starts the next one
    const qint64 left = length - m_player->position();
    m_nextRound.start(std::chrono::milliseconds(std::max<qint64>(0, left - kLeadMs)));
}

void QtSoundDevice::startNextRound()
{
    if (!m_player || m_over)
        return;
    // The round that ends plays out its last moments under the next one's start; it goes once
    // the next one is heard. (A player made and loaded ahead of time stalls for seconds soon
    // after it starts, so the next round's player is made now.)
    QMediaPlayer* ending = m_player;
    ending->disconnect(this);
    m_retired.append(ending);
    m_stallCheck.stop();
    m_nextRound.stop();
    m_heard = false;
    m_startCheck.start(kStartTimeoutMs);
    m_player = makePlayer();
    if (!m_player) {
        fail();
        return;
    }
    connectPlayer(m_player);
    m_player->play();
}

void QtSoundDevice::playBeeps()
{
    // The display's bell is often silent or absent: the beeps go to the sound output too.
    QApplication::beep();
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(22050);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (output.isNull() || !output.isFormatSupported(format)) {
        fail();
        return;
    }
    if (m_beepData.data().isEmpty())
        m_beepData.setData(beepSamples(format.sampleRate()));
    m_beepData.open(QIODevice::ReadOnly);
    m_beepData.seek(0);
    m_beeps = new QAudioSink(output, format, this);
    m_beeps->setVolume(m_volume);
    connectBeeps();
    m_beeps->start(&m_beepData);
    m_beepProgress.start();
}

void QtSoundDevice::connectBeeps()
{
    connect(m_beeps, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::IdleState)
            finish();
        else if (state == QAudio::StoppedState && m_beeps->error() != QAudio::NoError)
            fail();
    });
}

void QtSoundDevice::checkBeeps()
{
    if (m_beeps && m_beeps->processedUSecs() >= qint64(kHeardMs) * 1000)
        markHeard();
}

void QtSoundDevice::checkProgress()
{
    if (!m_player || m_over)
        return;
    const qint64 position = m_player->position();
    const qint64 last = std::exchange(m_lastPosition, position);
    if (position != last)
        return;
    // Standing still: stuck while it claims to play, or stopped by itself without telling
    // that it reached its end, which would leave a repeating alarm silent for good.
    if (m_player->playbackState() == QMediaPlayer::PlayingState)
        fail();
    else
        finish();
}

void QtSoundDevice::markHeard()
{
    if (m_heard || m_over)
        return;
    m_heard = true;
    m_startCheck.stop();
    m_beepProgress.stop();
    if (m_player) {
        m_lastPosition = -1;
        m_stallCheck.start();
    }
    for (QMediaPlayer* player : std::as_const(m_retired))
        player->deleteLater();
    m_retired.clear();
    scheduleNextRound();
    emit started(m_file, m_player ? m_player->duration() : beepMilliseconds());
}

void QtSoundDevice::finish()
{
    // A sound that ended before it was heard for long enough was not heard at all.
    if (!m_heard) {
        fail();
        return;
    }
    if (m_over)
        return;
    if (m_repeat && m_player) {
        // Again on a player of its own: one player sought back to the start falls silent
        // after some twenty rounds, as one given the same file again does. Usually the next
        // round has started already; else it starts now.
        startNextRound();
        return;
    }
    if (m_repeat && m_beeps) {
        m_beeps->disconnect(this);
        m_beeps->stop();
        m_beepData.seek(0);
        connectBeeps();
        m_beeps->start(&m_beepData);
        return;
    }
    m_over = true;
    m_stallCheck.stop();
    emit finished(m_file);
}

void QtSoundDevice::fail()
{
    if (m_over)
        return;
    m_over = true;
    m_startCheck.stop();
    retire();
    dropAll();
    // Told from the event loop: the caller of play() may fall back at once, and the failed
    // player is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this, number = m_playNumber, file = m_file] {
            if (number == m_playNumber)
                emit failed(file);
        },
        Qt::QueuedConnection);
}

void QtSoundDevice::retire()
{
    m_beepProgress.stop();
    m_stallCheck.stop();
    m_nextRound.stop();
    if (m_player) {
        m_player->disconnect(this);
        m_player->stop();
        m_retired.append(m_player);
        m_player = nullptr;
    }
    if (m_beeps) {
        m_beeps->disconnect(this);
        m_beeps->stop();
        m_beeps->deleteLater();
        m_beeps = nullptr;
        m_beepData.close();
    }
}

void QtSoundDevice::dropAll()
{
    // Possibly from inside a player's own signal: the players go once it has returned.
    for (QMediaPlayer* player : std::as_const(m_retired))
        player->deleteLater();
    m_retired.clear();
}

std::unique_ptr<SoundDevice> makeSoundDevice()
{
    return std::make_unique<QtSoundDevice>();
}

} // namespace chimewell
