#pragma once

#include "Alarm.h"

#include <QtCore/QHash>
#include <QtCore/QObject>

namespace chimewell {

class AlarmSound;
class TrayModule;

/// Rings alarms, their sound and a notice that stays, with Stop and Snooze; and tells, without
/// sound, an alarm that passed while the program could not run. Every alarm notice keeps its
/// buttons for as long as it shows: a button acts on the notice's own alarm. Closing the
/// notice silences its alarm as Stop does.
class AlarmBell : public QObject
{
    Q_OBJECT
public:
    AlarmBell(AlarmSound& sound, TrayModule& tray, QObject* parent = nullptr);

    void ring(const Alarm& alarm);
    /// Tells an alarm that was missed; returns the text shown.
    QString tellMissed(const Alarm& alarm);
    /// The notice `alarm` will show, now and without sound.
    void preview(const Alarm& alarm);
    /// Silences the ringing alarm and takes its notice away (the last alarm's notice, once
    /// its sound has ended).
    void stop();
    /// The same, and the alarm comes back in five minutes.
    void snooze();
    /// The alarms of `kind` were switched off: their sound stops and their notices go.
    void cancel(Alarm::Kind kind);

signals:
    void ringingChanged(bool ringing);
    /// `alarm` is to ring again, sound and notice, in five minutes.
    void snoozed(const Alarm& alarm);

private:
    void stopNotice(int notice);
    void snoozeNotice(int notice);
    void onDismissed(int notice);
    void setRinging(int notice);

    AlarmSound& m_sound;
    TrayModule& m_tray;
    QHash<int, Alarm> m_notices; // the alarm notices that still show
    int m_ringing = 0;           // the notice of the alarm whose sound plays
    int m_last = 0;              // the notice of the alarm rung last
};

} // namespace chimewell
