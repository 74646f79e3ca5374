#include "AlarmSound.h"

#include "platform/SoundDevice.h"
#include "storage/Loudness.h"

#include <algorithm>

namespace chimewell {

int AlarmSound::pauseAfter(int failedRounds)
{
    return std::min(1000 << std::min(failedRounds, 4), 10'000);
}

AlarmSound::AlarmSound(SoundDevice& device, const QString& chime, QObject* parent)
    : QObject(parent), m_device(device), m_chime(chime)
{
    m_ringTime.setSingleShot(true);
    connect(&m_ringTime, &QTimer::timeout, this, &AlarmSound::end);
    m_fadeStep.setInterval(kFadeStepMs);
    connect(&m_fadeStep, &QTimer::timeout, this, &AlarmSound::stepFade);
    m_pause.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, [this] {
        m_fallbacks = m_chain;
        playNext();
    });
    connect(&m_device, &SoundDevice::started, this, &AlarmSound::onStarted);
    connect(&m_device, &SoundDevice::failed, this, &AlarmSound::onFailed);
    connect(&m_device, &SoundDevice::finished, this, [this](const QString& file) {
        if (!m_ringing || file != m_current)
            return;
        // A stand-in sound has played a round: the alarm's own sound is tried again.
        if (m_repeat && m_ringTime.isActive() && m_current != m_chain.first()) {
            m_fallbacks = m_chain;
            playNext();
            return;
        }
        end();
    });
}

void AlarmSound::ring(const QString& file, std::chrono::seconds duration, Loudness loudness)
{
    // An alarm that joins a ring takes its loudness as it is: it does not start over quietly.
    if (!m_ringing)
        startFade(loudness);
    m_ringing = true;
    m_silent = false;
    m_failedRounds = 0;
    m_onceMs = kOnceTryingMs;
    m_since.start();
    m_repeat = duration.count() > 0;
    m_chain = {m_chime, SoundDevice::kBeeps};
    if (!file.isEmpty() && file != m_chime)
        m_chain.prepend(file);
    if (m_repeat)
        m_ringTime.start(std::chrono::duration_cast<std::chrono::milliseconds>(duration));
    else
        m_ringTime.stop();
    m_pause.stop();
    m_fallbacks = m_chain;
    playNext();
}

std::chrono::milliseconds AlarmSound::ringTimeLeft() const
{
    if (!m_ringing || !m_repeat || !m_ringTime.isActive())
        return std::chrono::milliseconds(0);
    return m_ringTime.remainingTimeAsDuration();
}

void AlarmSound::setRingTimeLeft(std::chrono::milliseconds left)
{
    if (!m_ringing || !m_repeat)
        return;
    if (left.count() <= 0)
        end();
    else
        m_ringTime.start(left);
}

void AlarmSound::startFade(Loudness loudness)
{
    m_loudness = loudness;
    m_fadeClock.start();
    m_fadeStep.stop();
    stepFade();
    if (loudness.fadeSeconds > 0)
        m_fadeStep.start();
}

void AlarmSound::stepFade()
{
    const qint64 elapsed = m_fadeClock.elapsed();
    m_device.setVolume(fadeLevel(m_loudness.volume, m_loudness.fadeSeconds, elapsed));
    if (elapsed >= qint64(m_loudness.fadeSeconds) * 1000)
        m_fadeStep.stop();
}

void AlarmSound::playNext()
{
    m_heard = false;
    m_roundsHeard = 0;
    m_current = m_fallbacks.takeFirst();
    // Only the alarm's own sound repeats by itself; a stand-in plays one round at a time.
    m_device.play(m_current, m_repeat && m_current == m_chain.first());
}

void AlarmSound::play(const QString& file, Loudness loudness)
{
    end();
    startFade(loudness);
    m_current = file;
    m_device.play(file);
}

void AlarmSound::stop()
{
    end();
    m_fadeStep.stop();
    m_current.clear();
    m_device.stop();
}

void AlarmSound::onStarted(const QString& file, qint64 lengthMs)
{
    if (!m_ringing || file != m_current)
        return;
    m_heard = true;
    m_failedRounds = 0;
    // A repeating sound's second round plays at the alarm's volume, faded in or not.
    if (++m_roundsHeard == 2 && m_fadeStep.isActive()) {
        m_fadeStep.stop();
        m_device.setVolume(fadeLevel(m_loudness.volume, 0, 0));
    }
    // A ring that plays once lasts at least as long as its sound, whatever happens to it.
    m_onceMs = std::max(m_onceMs, lengthMs);
    if (std::exchange(m_silent, false))
        emit heard();
}

void AlarmSound::onFailed(const QString& file)
{
    if (!m_ringing || file != m_current)
        return; // the play button's sound, or a late report about one replaced meanwhile
    if (m_heard)
        m_fallbacks = m_chain; // it played, so it can play again once its server is back
    if (!m_fallbacks.isEmpty()) {
        playNext();
        return;
    }
    if (!std::exchange(m_silent, true))
        emit silent();
    if (!timeLeft()) {
        end();
        return;
    }
    m_pause.start(pauseAfter(m_failedRounds++));
}

bool AlarmSound::timeLeft() const
{
    return m_repeat ? m_ringTime.isActive() : m_since.elapsed() < m_onceMs;
}

void AlarmSound::end()
{
    if (!m_ringing)
        return;
    m_ringing = false;
    m_fadeStep.stop();
    m_ringTime.stop();
    m_pause.stop();
    m_device.stop();
    emit ended();
}

} // namespace chimewell
