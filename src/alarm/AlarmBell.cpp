#include "AlarmBell.h"

#include "AlarmSound.h"
#include "lang/Texts.h"
#include "tray/TrayModule.h"

namespace chimewell {
namespace {

const QString kTitle = QStringLiteral("Chimewell");
const QString kStopKey = QStringLiteral("stop");
const QString kSnoozeKey = QStringLiteral("snooze");

Notice alarmNotice(const Alarm& alarm, const QString& note = {})
{
    const QString text =
        note.isEmpty() ? alarmMessage(alarm) : alarmMessage(alarm) + QLatin1Char(' ') + note;
    return {kTitle,
            text,
            true,
            {{kStopKey, translated(texts::stop)}, {kSnoozeKey, translated(texts::snooze)}}};
}

} // namespace

AlarmBell::AlarmBell(AlarmSound& sound, TrayModule& tray, QObject* parent)
    : QObject(parent), m_sound(sound), m_tray(tray)
{
    connect(&m_tray, &TrayModule::actionInvoked, this, [this](int notice, const QString& key) {
        if (!m_notices.contains(notice))
            return; // not an alarm's notice, or one that has gone
        if (key == kStopKey)
            stopNotice(notice);
        else if (key == kSnoozeKey)
            snoozeNotice(notice);
    });
    connect(&m_tray, &TrayModule::dismissed, this, &AlarmBell::onDismissed);
    connect(&m_sound, &AlarmSound::ended, this, [this] { setRinging(0); });
    connect(&m_sound, &AlarmSound::silent, this, [this] {
        if (m_notices.contains(m_ringing))
            m_tray.retell(m_ringing,
                          alarmNotice(m_notices.value(m_ringing), translated(texts::noSound)));
    });
}

void AlarmBell::ring(const Alarm& alarm)
{
    const int notice = m_tray.tell(alarmNotice(alarm));
    m_notices.insert(notice, alarm);
    m_last = notice;
    setRinging(notice);
    m_sound.ring(alarm.soundFile, alarm.ringFor);
}

QString AlarmBell::tellMissed(const Alarm& alarm)
{
    const QString shown = translated(texts::missedPrefix) + QLatin1Char(' ') + alarmMessage(alarm);
    m_tray.tell({kTitle, shown, true, {}});
    return shown;
}

void AlarmBell::preview(const Alarm& alarm)
{
    m_tray.tell({kTitle, alarmMessage(alarm), false, {}});
}

void AlarmBell::stop()
{
    stopNotice(m_ringing ? m_ringing : m_last);
}

void AlarmBell::snooze()
{
    snoozeNotice(m_ringing ? m_ringing : m_last);
}

void AlarmBell::cancel(Alarm::Kind kind)
{
    for (const int notice : m_notices.keys())
        if (m_notices.value(notice).kind == kind)
            stopNotice(notice);
}

void AlarmBell::stopNotice(int notice)
{
    if (!m_notices.contains(notice))
        return;
    if (notice == m_ringing) {
        m_sound.stop();
        setRinging(0);
    }
    m_notices.remove(notice);
    m_tray.withdraw(notice);
}

void AlarmBell::snoozeNotice(int notice)
{
    if (!m_notices.contains(notice))
        return;
    const Alarm alarm = m_notices.value(notice);
    stopNotice(notice);
    emit snoozed(alarm);
}

void AlarmBell::onDismissed(int notice)
{
    if (m_notices.contains(notice))
        stopNotice(notice);
}

void AlarmBell::setRinging(int notice)
{
    const bool was = m_ringing != 0;
    m_ringing = notice;
    if (was != (notice != 0))
        emit ringingChanged(notice != 0);
}

} // namespace chimewell
