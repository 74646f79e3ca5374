#pragma once

#include "Alarm.h"
#include "storage/AlarmTime.h"
#include "storage/DaySchedule.h"

#include <QtCore/QDateTime>
#include <QtCore/QElapsedTimer>
#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QTimer>
#include <functional>
#include <optional>

class QFileSystemWatcher;

namespace chimewell {

class AlarmBell;
class AlarmSound;
class NoticeBoard;
class SecondTicker;
class TextSource;
struct PlatformServices;

/// The one-shot alarm as it was armed.
struct OneShotAlarm
{
    int minuteOfDay = 0;
    QString reason;
    QString soundFile;
    /// What opens as it rings; the check boxes may change it while it is armed.
    QStringList targets;
};

/// The program's alarms and when they ring: the one-shot alarm, the weekly alarms of the day
/// files, and snoozed alarms. It keeps the one list of alarms to come, which the status line,
/// the tooltip and the wake planning read, and tells of every change to it by changed(). It
/// looks at the clock on every tick of its ticker, rings what is due through its bell and tells
/// what was missed; it plans the next tick for when nobody watches the clock, and looks again
/// when a day file or the settings change on disk.
class AlarmScheduler : public QObject
{
    Q_OBJECT
public:
    /// While nobody watches the clock, it is looked at at least this often, well within the
    /// minute after which a late tick counts as a sleep.
    static constexpr int kHeartbeatSeconds = 30;
    /// Changes on disk are read once they have been quiet this long, or at the latest after
    /// kLongestBatchMs of changes.
    static constexpr int kQuietMs = 200;
    static constexpr int kLongestBatchMs = 1000;

    /// What the status line tells: the alarm that comes next.
    struct Status
    {
        enum Kind
        {
            WeeklyToday, // a weekly alarm, today, at `time` as written
            OneShot,     // the armed one-shot alarm, today
            Snoozed,     // a snoozed alarm, today, at `time` (hh:mm)
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

    AlarmScheduler(PlatformServices& services, const QString& appDir, NoticeBoard& notices,
                   const TextSource& texts, QObject* parent = nullptr);
    ~AlarmScheduler() override;

    AlarmBell& bell() { return *m_bell; }
    AlarmSound& sound() { return *m_sound; }
    SecondTicker& ticker() { return *m_ticker; }
    /// Whether a window shows the clock: the ticker then ticks every second.
    void setWatched(std::function<bool()> watched) { m_watched = std::move(watched); }
    /// Tells the files that are not read, and starts looking at the clock.
    void start();

    void arm(const OneShotAlarm& alarm);
    /// "Alarm off": the one-shot alarm and its snoozes are forgotten; the ringing alarms stop.
    void disarm();
    bool isArmed() const { return m_oneShot.has_value(); }
    void setOneShotTargets(const QStringList& targets);

    /// The first kComingListed of the alarms to come, earliest first.
    const QList<Coming>& coming() const { return m_coming; }
    static constexpr qsizetype kComingListed = 100;
    std::optional<QDateTime> nextAlarm() const;
    Status status() const { return m_status; }
    /// The snooze length of alarms without one of their own.
    int defaultSnoozeMinutes() const { return settingsDefaults().snoozeMinutes; }
    /// The alarms of the day files as last read, Sunday's first.
    const WeekAlarms& week() const { return m_week; }
    /// Reads the files again and looks at the clock now (a window of the program wrote them).
    void lookNow() { readAgain(); }
    /// When the clock must next be looked at while nobody watches it, in seconds since the
    /// epoch.
    qint64 nextWake() const;

    /// Looks at the clock: rings what is due, tells what was missed. Every tick.
    void check();

signals:
    /// An alarm passed while the program could not run; `text` is what the user was told.
    void missed(const QString& text);
    /// The alarms to come, or what the status line says of them, changed.
    void changed();

private:
    ClockReading reading() const;
    void watchSchedule();
    void onDiskChange();
    void readAgain();
    void refreshComing(const ClockReading& now);
    /// The settings' ring time and snooze length, which alarms without their own take.
    struct Defaults
    {
        int ringMinutes = 0;
        int snoozeMinutes = 5;
        bool operator==(const Defaults&) const = default;
    };
    Defaults settingsDefaults() const;
    Alarm oneShotAlarm(const Defaults& defaults) const;
    Alarm weeklyAlarm(const DayAlarm& alarm, const Defaults& defaults) const;
    void ring(const QList<Alarm>& alarms);
    void tellRefusal(const QString& file, const std::string& refusal, bool dayFile);
    /// The minutes of a day's switched-on alarms, sorted, made once for each list.
    const std::vector<int>& switchedOnMinutes(int weekday, const AlarmList& alarms);
    /// Snoozes of weekly alarms that their day file no longer holds switched on go.
    void dropStaleSnoozes();

    PlatformServices& m_services;
    QString m_appDir;
    const TextSource& m_texts;
    AlarmSound* m_sound;
    AlarmBell* m_bell;
    SecondTicker* m_ticker;
    QFileSystemWatcher* m_watcher;
    QTimer m_quiet;
    QElapsedTimer m_batch;
    std::function<bool()> m_watched;
    std::optional<OneShotAlarm> m_oneShot;
    AlarmTrigger m_oneShotTrigger;
    AlarmTrigger m_weeklyTrigger;
    struct Snoozed
    {
        Alarm alarm;
        QDateTime due;
    };
    QList<Snoozed> m_snoozed;
    WeekAlarms m_week; // the day files' alarms, Sunday first
    std::array<std::pair<AlarmList, std::vector<int>>, 7> m_minutes; // switchedOnMinutes()
    qint64 m_lastLook = 0; // seconds since the epoch of the look at the clock before
    std::vector<ComingAlarm> m_comingTimes; // the same alarms as m_coming, in wall seconds
    QList<Coming> m_coming;
    Status m_status;
    bool m_withinADay = false;
    bool m_oneShotShown = false;
    qsizetype m_snoozeRevision = 0;    // counts every change to m_snoozed
    qsizetype m_snoozesShown = -1;     // the revision m_coming shows
    std::int64_t m_computedDay = 0;    // the day m_coming was worked out on
    Defaults m_defaults;               // the settings m_coming was worked out with
    QHash<QString, QString> m_refused; // file -> the refusal told of it
    bool m_started = false;
};

} // namespace chimewell
