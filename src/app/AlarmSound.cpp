#include "AlarmSound.h"

#include "platform/SoundDevice.h"

namespace chimewell {

AlarmSound::AlarmSound(SoundDevice& device, const QString& defaultSound, QObject* parent)
    : QObject(parent), m_device(device), m_defaultSound(defaultSound)
{
    // Queued: a device may report a missing file inside "OPEN"; the fallback runs after the
    // sequence that failed has finished.
    connect(&m_device, &SoundDevice::failed, this, &AlarmSound::onFailed, Qt::QueuedConnection);
    connect(&m_device, &SoundDevice::ended, this, &AlarmSound::onEnded);
}

void AlarmSound::onEnded(const QString& file)
{
    if (file != m_current || m_stage == Stage::None)
        return;
    m_stage = Stage::None;
    emit alarmEnded();
}

void AlarmSound::stopPlayback()
{
    m_stage = Stage::None;
    m_device.command(QStringLiteral("STOP"));
    m_device.command(QStringLiteral("PREV"));
}

void AlarmSound::open(const QString& file)
{
    m_current = file;
    m_device.setFileName(file);
    m_device.command(QStringLiteral("OPEN"));
    m_device.command(QStringLiteral("PLAY"));
}

void AlarmSound::playAlarmSound(const QString& file)
{
    stopPlayback();
    m_stage = file.isEmpty() ? Stage::Default : Stage::Chosen;
    open(file.isEmpty() ? m_defaultSound : file);
}

void AlarmSound::playChosen(const QString& file)
{
    m_stage = Stage::None;
    open(file);
}

void AlarmSound::onFailed(const QString& file)
{
    if (file != m_current)
        return; // a late report about a sound that was replaced meanwhile
    switch (m_stage) {
    case Stage::None:
        return;
    case Stage::Chosen:
        m_stage = Stage::Default;
        open(m_defaultSound);
        return;
    case Stage::Default:
        m_stage = Stage::None;
        m_device.beep();
        emit fellBackToBeep();
        emit alarmEnded();
        return;
    }
}

} // namespace chimewell
