#include "AlarmBell.h"

#include "AlarmSound.h"
#include "platform/Clock.h"
#include "platform/TrayIcon.h"
#include "tray/TrayModule.h"

#include <QtWidgets/QWidget>

namespace chimewell {
namespace {

const QString kTitle = QStringLiteral("Chimewell");
const QString kStopKey = QStringLiteral("stop");
const QString kSnoozeKey = QStringLiteral("snooze");

} // namespace

AlarmBell::AlarmBell(AlarmSound& sound, TrayModule& tray, const Clock& clock, QObject* parent)
    : QObject(parent), m_sound(sound), m_tray(tray), m_clock(clock)
{
    connect(&m_tray, &TrayModule::actionInvoked, this, &AlarmBell::onAction);
    connect(&m_sound, &AlarmSound::alarmEnded, this, [this] { setRinging(false); });
}

QString AlarmBell::text(const Text& text) const
{
    const QString translated = m_strings ? m_strings(QString::fromLatin1(text.name)) : QString();
    return translated.isEmpty() ? QString::fromUtf8(text.english) : translated;
}

void AlarmBell::ring(Source source, const QString& soundFile, const QString& message)
{
    m_last = Alarm{source, soundFile, message};
    m_snoozeUntil.reset();
    m_sound.playAlarmSound(soundFile);
    setRinging(true);
    m_tray.tell(
        {kTitle, message, true, {{kStopKey, text(kStopText)}, {kSnoozeKey, text(kSnoozeText)}}});
}

QString AlarmBell::tellMissed(const QString& message)
{
    const QString shown = text(kMissedText) + QLatin1Char(' ') + message;
    m_tray.tell({kTitle, shown, true, {}});
    return shown;
}

void AlarmBell::stop()
{
    // Also when the sound gave way to the beeps, which the bell no longer counts as ringing.
    m_sound.stopPlayback();
    m_tray.withdraw();
    setRinging(false);
}

void AlarmBell::snooze()
{
    if (!m_last)
        return;
    stop();
    m_snoozeUntil = m_clock.now().addSecs(kSnoozeSeconds);
}

void AlarmBell::cancel(Source source)
{
    if (!m_last || m_last->source != source)
        return;
    m_snoozeUntil.reset();
    if (m_ringing)
        stop();
}

void AlarmBell::tick()
{
    if (!m_snoozeUntil || !m_last || m_clock.now() < *m_snoozeUntil)
        return;
    const Alarm again = *m_last;
    ring(again.source, again.soundFile, again.message);
}

void AlarmBell::setRinging(bool ringing)
{
    if (m_ringing == ringing)
        return;
    m_ringing = ringing;
    emit ringingChanged(ringing);
}

void AlarmBell::onAction(const QString& key)
{
    if (key == kStopKey)
        stop();
    else if (key == kSnoozeKey)
        snooze();
}

} // namespace chimewell
