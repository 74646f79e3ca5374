#pragma once

#include "Alarm.h"

#include <QtCore/QDeadlineTimer>
#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QObject>

namespace chimewell {

class AlarmSound;
class NoticeBoard;
class TextSource;
struct Notice;

/// Rings alarms, their sound and a notice each that stays, with Stop and Snooze; and tells,
/// without sound, the alarms that passed while the program could not run. Every alarm notice
/// keeps its buttons for as long as it shows: a button acts on the notice's own alarm, and
/// closing the notice silences its alarm as Stop does. Alarms that fall due together share one
/// sound, and each has its notice.
class AlarmBell : public QObject
{
    Q_OBJECT
public:
    AlarmBell(AlarmSound& sound, NoticeBoard& notices, const TextSource& texts,
              QObject* parent = nullptr);
    ~AlarmBell() override;

    /// Rings alarms that fall due together; the first one's sound plays. Alarms that still
    /// ring go on ringing: the sound becomes the new alarms', and rings until the last of
    /// them all is over.
    void ring(const QList<Alarm>& alarms);
    /// At most this many missed alarms are named in a notice; the rest are counted.
    static constexpr int kMissedLines = 20;

    /// Tells, in one notice, alarms that were missed (those of days before `today` with their
    /// day), the latest first: at most kMissedLines of them and how many more, with every one
    /// in the notice's details; returns the text shown.
    QString tellMissed(const QList<MissedAlarm>& missed, const QDate& today);
    /// Tells something that stays until the user closes it (a file that is not read), with
    /// the whole of it in `details` where `text` is a summary.
    void tellUrgent(const QString& text, const QString& details = {});
    /// The notice `alarm` will show, now and without sound.
    void preview(const Alarm& alarm);

    /// Silences the ringing alarms and takes their notices away; after the sound has ended,
    /// takes away the notices of the alarms rung last. False when there were none.
    bool stop();
    /// The same, and those alarms come back after their snooze.
    bool snooze();
    /// Stop and Snooze of the notices of the alarm `id` alone; false when none shows.
    bool stop(const QString& id);
    bool snooze(const QString& id);
    /// "Alarm off": the one-shot alarm's notices go, and so do the ringing alarms with their
    /// sound.
    void alarmOff();
    /// Silences everything and takes every notice away, as the program ends.
    void withdrawAll();

    bool isRinging() const { return !m_ringing.isEmpty(); }
    /// The snooze length of the alarm that rings (the first, of several), or of the one rung
    /// last.
    std::chrono::minutes snoozeFor() const;
    /// "It's 13:00. Time for Meeting." in the pack's words; an overlong reason is shortened.
    QString message(const Alarm& alarm) const;
    /// What the ringing alarms' notices say of the sound output ("The sound output is
    /// muted."), from now on; empty when nothing is to be said.
    void setOutputNote(const QString& note);

signals:
    void ringingChanged(bool ringing);
    /// An alarm began to ring; its notice went (Stop, Snooze, closed, the program's end).
    void rang(const QString& id, const QString& reason);
    void stoppedRinging(const QString& id);
    /// `alarm` is to ring again, sound and notice, after its snooze.
    void snoozed(const Alarm& alarm);

private:
    Notice alarmNotice(const Alarm& alarm, bool silent) const;
    void stopNotice(int notice);
    QList<int> noticesOf(const QString& id) const;
    void snoozeNotice(int notice);
    void setRinging(const QList<int>& notices);
    void retellRinging(bool silent);

    AlarmSound& m_sound;
    NoticeBoard& m_notices;
    const TextSource& m_texts;
    QHash<int, Alarm> m_alarms;              // the alarm notices that still show
    QList<int> m_urgent;                     // the other notices that stay (missed alarms, files)
    QList<int> m_ringing;                    // the notices of the alarms whose sound plays
    QList<int> m_last;                       // the notices of the alarms rung last
    QHash<int, QDeadlineTimer> m_ringsUntil; // the timed rings' ends, by notice
    bool m_silent = false;                   // the ringing alarms have no sound now
    QString m_outputNote;
};

} // namespace chimewell
