#pragma once

#include "AlarmCommands.h"
#include "storage/AlarmTime.h"
#include "storage/DaySchedule.h"
#include "storage/Timers.h"

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
class OutputWatch;
class SecondTicker;
class TextSource;
struct PlatformServices;

/// The program's alarms and when they ring: the one-shot alarm, the weekly alarms of the day
/// files, and snoozed alarms. It keeps the one list of alarms to come, which the status line,
/// the tooltip and the wake planning read, and tells of every change to it by changed(). It
/// looks at the clock on every tick of its ticker, rings what is due through its bell and tells
/// what was missed; it plans the next tick for when nobody watches the clock, and looks again
/// when a day file or the settings change on disk.
class AlarmScheduler : public AlarmCommands
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

    AlarmScheduler(PlatformServices& services, const QString& appDir, NoticeBoard& notices,
                   const TextSource& texts, QObject* parent = nullptr);
    ~AlarmScheduler() override;

    /// Whether a window shows the clock: the ticker then ticks every second.
    void setWatched(std::function<bool()> watched) { m_watched = std::move(watched); }
    /// Tells the files that are not read and the timers that ended while the program did not
    /// run, and starts looking at the clock.
    void start();
    /// Silences everything and takes every notice away, as the program ends.
    void withdrawAll();
    /// The clock was looked at with a window showing it, or one came to show it: from now on
    /// it is looked at every second.
    void watchNow();

    const WeekAlarms& week() const override { return m_week; }
    /// The first kComingListed of the alarms to come, earliest first.
    const QList<Coming>& coming() const override { return m_coming; }
    static constexpr qsizetype kComingListed = 100;
    std::optional<QDateTime> nextAlarm() const override;
    Status status() const override { return m_status; }
    OutputWarning outputWarning() const override;
    bool isArmed() const override { return m_oneShot.has_value(); }
    bool isRinging() const override;
    int snoozeMinutesNow() const override;
    int defaultRingMinutes() const override { return settingsDefaults().ringMinutes; }
    int defaultSnoozeMinutes() const override { return settingsDefaults().snoozeMinutes; }
    QList<Timer> timers() const override;
    std::vector<ListedAlarm> list() const override;

    WeeklyResult saveWeekly(const WeeklyEdit& edit) override;
    WeeklyResult switchWeekly(const AlarmRow& row, bool on) override;
    WeeklyResult deleteWeekly(const AlarmRow& row) override;
    bool putFirstDayAlarm(int weekday, const DayAlarm& alarm, std::string* error) override;
    bool clearFirstDayAlarm(int weekday, std::string* error) override;

    void arm(const OneShotAlarm& alarm) override;
    void disarm() override;
    void setOneShotTargets(const QStringList& targets) override;

    std::optional<Timer> startTimer(qint64 seconds, const QString& reason,
                                    QString* refusal = nullptr) override;
    bool cancelTimer(const QString& id) override;

    bool stop(const QString& id = {}) override;
    bool snooze(const QString& id = {}) override;
    void stopAllSound() override;
    void tryOutSound(const QString& file, int volume = 100,
                     std::optional<int> fadeSeconds = {}) override;
    void preview(const Alarm& alarm) override;

    bool setDefaultRingMinutes(int minutes, std::string* error) override;
    bool setDefaultSnoozeMinutes(int minutes, std::string* error) override;

    /// Reads the files again and looks at the clock now.
    void lookNow() { readAgain(); }
    /// When the clock must next be looked at while nobody watches it, in seconds since the
    /// epoch.
    qint64 nextWake() const;

    /// Looks at the clock: rings what is due, tells what was missed. Every tick.
    void check();

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
        int fadeSeconds = 0;
        bool operator==(const Defaults&) const = default;
    };
    Defaults settingsDefaults() const;
    Alarm oneShotAlarm(const Defaults& defaults) const;
    Alarm weeklyAlarm(const DayAlarm& alarm, int weekday, const Defaults& defaults) const;
    Alarm timerAlarm(const KeptTimer& timer, const Defaults& defaults) const;
    /// Keeps the running timers in the settings file.
    void keepTimers();
    /// Whether every day of `row` still holds it as it was; the day file that does not, if any.
    std::optional<QString> changedDayOf(const AlarmRow& row);
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
    OutputWatch* m_outputWatch;
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
    std::vector<KeptTimer> m_timers; // earliest first
    WeekAlarms m_week;               // the day files' alarms, Sunday first
    std::array<std::pair<AlarmList, std::vector<int>>, 7> m_minutes; // switchedOnMinutes()
    qint64 m_lastLook = 0; // seconds since the epoch of the look at the clock before
    std::vector<ComingAlarm> m_comingTimes; // the same alarms as m_coming, in wall seconds
    QList<Coming> m_coming;
    Status m_status;
    bool m_withinADay = false;
    bool m_oneShotShown = false;
    qsizetype m_snoozeRevision = 0;    // counts every change to m_snoozed and m_timers
    qsizetype m_snoozesShown = -1;     // the revision m_coming shows
    std::int64_t m_computedDay = 0;    // the day m_coming was worked out on
    Defaults m_defaults;               // the settings m_coming was worked out with
    QHash<QString, QString> m_refused; // file -> the refusal told of it
    bool m_started = false;
};

} // namespace chimewell
