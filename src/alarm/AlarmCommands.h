#pragma once

#include "Alarm.h"
#include "storage/AlarmList.h"
#include "storage/DaySchedule.h"

#include <QtCore/QDateTime>
#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QStringList>
#include <optional>
#include <string>
#include <vector>

namespace chimewell {

/// The one-shot alarm as it was armed.
struct OneShotAlarm
{
    int minuteOfDay = 0;
    QString reason;
    QString soundFile;
    /// What opens as it rings; the check boxes may change it while it is armed.
    QStringList targets;
};

/// Everything that changes the alarms, and what the windows read of them. The windows, the
/// tray, the notices, the command line and D-Bus all go through it; it tells of every change
/// by changed(), once.
class AlarmCommands : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~AlarmCommands() override = default;

    /// What the status line tells: the alarm that comes next.
    struct Status
    {
        enum Kind
        {
            WeeklyToday, // a weekly alarm, today, at `time` as written
            OneShot,     // the armed one-shot alarm
            Snoozed,     // a snoozed alarm, today, at `time` (hh:mm)
            Timer,       // a timer, today, at `time` (hh:mm)
            Later,       // an alarm of a later day, at `at`
            None
        } kind = None;
        QString time;
        QDateTime at;
        bool operator==(const Status&) const = default;
    };

    /// An alarm to come.
    struct Coming
    {
        QDateTime at;
        Alarm alarm;
        bool snoozed = false;
    };

    /// A running timer.
    struct Timer
    {
        QString id;
        QDateTime due;
        QString reason;
    };

    /// A change of weekly alarms: the row as it was (none for a new alarm), the days it is to
    /// be on, its values for a day it is new on, and what changes on the days it stays on.
    struct WeeklyEdit
    {
        std::optional<AlarmRow> before;
        unsigned days = 0;
        DayAlarm values;
        AlarmChange change;
    };
    /// How a change of weekly alarms ended.
    struct WeeklyResult
    {
        enum Outcome
        {
            Saved,
            NothingSaved,     // a day file refused it before anything was written: `refused`
            PartlySaved,      // written for `written`, then `failedDay` failed with `error`
            ChangedMeanwhile, // `file` no longer holds the alarm as it was: nothing written
        } outcome = Saved;
        QStringList refused; // "Monday: why", a line each
        unsigned written = 0;
        int failedDay = -1;
        QString error;
        QString file;
    };

    // What there is.
    /// The alarms of the day files as last read, Sunday's first.
    virtual const WeekAlarms& week() const = 0;
    /// The first of the alarms to come, earliest first.
    virtual const QList<Coming>& coming() const = 0;
    virtual std::optional<QDateTime> nextAlarm() const = 0;
    virtual Status status() const = 0;

    /// What the status line and the tooltip warn of: an alarm within the next 12 hours that
    /// the sound output would not let be heard.
    struct OutputWarning
    {
        enum Kind
        {
            None,
            Muted, // the output is muted
            Quiet  // the output is turned down below a tenth
        } kind = None;
        QString time; // the alarm's, hh:mm
        int volume = 0;
        bool operator==(const OutputWarning&) const = default;
    };
    virtual OutputWarning outputWarning() const { return {}; }
    virtual bool isArmed() const = 0;
    virtual bool isRinging() const = 0;
    /// The snooze length of what rings (or rang last), else of alarms without their own.
    virtual int snoozeMinutesNow() const = 0;
    virtual int defaultRingMinutes() const = 0;
    virtual int defaultSnoozeMinutes() const = 0;
    /// The running timers, earliest first.
    virtual QList<Timer> timers() const = 0;
    /// Every alarm of the next seven days, earliest first.
    virtual std::vector<ListedAlarm> list() const = 0;

    // Weekly alarms: each writes every day file it touches once, and refuses a change to an
    // alarm that its file no longer holds as it was.
    virtual WeeklyResult saveWeekly(const WeeklyEdit& edit) = 0;
    virtual WeeklyResult switchWeekly(const AlarmRow& row, bool on) = 0;
    virtual WeeklyResult deleteWeekly(const AlarmRow& row) = 0;
    /// Puts an alarm into a day's first section, in place of what it held.
    virtual bool putFirstDayAlarm(int weekday, const DayAlarm& alarm, std::string* error) = 0;
    /// Takes the alarm out of a day's first section.
    virtual bool clearFirstDayAlarm(int weekday, std::string* error) = 0;

    // The one-shot alarm.
    virtual void arm(const OneShotAlarm& alarm) = 0;
    /// "Alarm off": the one-shot alarm and its snoozes are forgotten; the ringing alarms stop.
    virtual void disarm() = 0;
    virtual void setOneShotTargets(const QStringList& targets) = 0;

    // Timers.
    /// Starts a timer of `seconds` (1 to 24 hours' worth); its id, or nothing with the reason
    /// in `refusal`.
    virtual std::optional<Timer> startTimer(qint64 seconds, const QString& reason,
                                            QString* refusal = nullptr) = 0;
    /// False when no timer has the id.
    virtual bool cancelTimer(const QString& id) = 0;

    // What rings. Without an id, everything that rings now (or, after the sound has ended,
    // what rang last); false when there was nothing.
    virtual bool stop(const QString& id = {}) = 0;
    virtual bool snooze(const QString& id = {}) = 0;
    /// Stops whatever plays: a ringing alarm, and a sound being tried.
    virtual void stopAllSound() = 0;
    /// Plays `file` once, to try it, as loud as an alarm of `volume` percent that fades in
    /// over `fadeSeconds` (none: the settings' fade-in) would.
    virtual void tryOutSound(const QString& file, int volume = 100,
                             std::optional<int> fadeSeconds = {}) = 0;
    /// The notice `alarm` will show, now and without sound.
    virtual void preview(const Alarm& alarm) = 0;

    // The settings every alarm without its own takes.
    virtual bool setDefaultRingMinutes(int minutes, std::string* error) = 0;
    virtual bool setDefaultSnoozeMinutes(int minutes, std::string* error) = 0;

signals:
    /// The alarms, the timers, or what the status line says of them changed.
    void changed();
    void ringingChanged(bool ringing);
    /// An alarm began to ring, and one stopped ringing (Stop, Snooze, its notice closed).
    void rang(const QString& id, const QString& reason);
    void stoppedRinging(const QString& id);
    /// An alarm passed while the program could not run; `text` is what the user was told.
    void missed(const QString& text);
    /// The clock was looked at (every second while a window shows it).
    void ticked();
};

} // namespace chimewell
