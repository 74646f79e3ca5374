#include "AlarmSound.h"

#include "platform/SoundDevice.h"

namespace chimewell {

AlarmSound::AlarmSound(SoundDevice& device, const QString& chime, QObject* parent)
    : QObject(parent), m_device(device), m_chime(chime)
{
    m_ringTime.setSingleShot(true);
    connect(&m_ringTime, &QTimer::timeout, this, &AlarmSound::end);
    connect(&m_device, &SoundDevice::started, this, [this](const QString& file) {
        if (file == m_current)
            m_heard = true;
    });
    connect(&m_device, &SoundDevice::failed, this, &AlarmSound::onFailed);
    connect(&m_device, &SoundDevice::finished, this, [this](const QString& file) {
        if (m_ringing && file == m_current)
            end();
    });
}

void AlarmSound::ring(const QString& file, std::chrono::seconds duration)
{
    m_ringing = true;
    m_retried = false;
    m_repeat = duration.count() > 0;
    m_chain = {m_chime, SoundDevice::kBeeps};
    if (!file.isEmpty() && file != m_chime)
        m_chain.prepend(file);
    if (m_repeat)
        m_ringTime.start(std::chrono::duration_cast<std::chrono::milliseconds>(duration));
    else
        m_ringTime.stop();
    m_fallbacks = m_chain;
    playNext();
}

void AlarmSound::playNext()
{
    m_heard = false;
    m_current = m_fallbacks.takeFirst();
    m_device.play(m_current, m_repeat);
}

void AlarmSound::play(const QString& file)
{
    end();
    m_current = file;
    m_device.play(file);
}

void AlarmSound::stop()
{
    end();
    m_current.clear();
    m_device.stop();
}

void AlarmSound::onFailed(const QString& file)
{
    if (!m_ringing || file != m_current)
        return; // the play button's sound, or a late report about one replaced meanwhile
    if (m_heard && !m_retried) {
        m_retried = true;
        m_fallbacks = m_chain;
    }
    if (m_fallbacks.isEmpty()) {
        emit silent();
        end();
        return;
    }
    playNext();
}

void AlarmSound::end()
{
    if (!m_ringing)
        return;
    m_ringing = false;
    m_ringTime.stop();
    m_device.stop();
    emit ended();
}

} // namespace chimewell
