#pragma once

#include "Alarm.h"
#include "storage/AlarmTime.h"

#include <QtCore/QDateTime>
#include <QtCore/QList>
#include <QtCore/QObject>
#include <functional>
#include <optional>

class QFileSystemWatcher;

namespace chimewell {

class AlarmBell;
class AlarmSound;
class SecondTicker;
class TrayModule;
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
/// files, and snoozed alarms. It looks at the clock on every tick of its ticker, rings what is
/// due through its bell, and tells what was missed; it plans the next tick for when nobody
/// watches the clock, and wakes when a day file changes.
class AlarmScheduler : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSnoozeSeconds = 5 * 60;
    /// While nobody watches the clock, it is looked at at least this often, well within the
    /// minute after which a late tick counts as a sleep.
    static constexpr int kHeartbeatSeconds = 30;

    /// What the status line tells.
    struct Status
    {
        enum Kind
        {
            WeeklyToday, // today's weekly alarm is still to come, at `time`
            OneShot,     // the armed one-shot alarm is still to come today
            None
        } kind = None;
        QString time;
    };

    AlarmScheduler(PlatformServices& services, const QString& appDir, TrayModule& tray,
                   QObject* parent = nullptr);
    ~AlarmScheduler() override;

    AlarmBell& bell() { return *m_bell; }
    AlarmSound& sound() { return *m_sound; }
    SecondTicker& ticker() { return *m_ticker; }
    /// Whether a window shows the clock: the ticker then ticks every second.
    void setWatched(std::function<bool()> watched) { m_watched = std::move(watched); }
    void start();

    void arm(const OneShotAlarm& alarm);
    void disarm();
    bool isArmed() const { return m_oneShot.has_value(); }
    void setOneShotTargets(const QStringList& targets);

    /// Today's weekly alarm when it is still to come; else, with `withOneShot`, the armed
    /// one-shot alarm when it is still to come today.
    Status status(bool withOneShot) const;
    /// When the next alarm rings: the one-shot, a weekly or a snoozed one.
    std::optional<QDateTime> nextAlarm() const;
    /// When the clock must next be looked at while nobody watches it, in seconds since the
    /// epoch.
    qint64 nextWake() const;

    /// Looks at the clock: rings what is due, tells what was missed. Every tick.
    void check();

signals:
    void rang(const Alarm& alarm);
    /// An alarm passed while the program could not run; `text` is what the user was told.
    void missed(const QString& text);
    /// The next alarm may have changed.
    void changed();

private:
    ClockReading reading() const;
    void watchSchedule();
    std::optional<int> weeklyMinuteOn(std::int64_t day) const;
    Alarm weeklyAlarm(std::int64_t day) const;
    Alarm oneShotAlarm() const;
    void ring(const Alarm& alarm);
    void tellMissed(const Alarm& alarm);

    PlatformServices& m_services;
    QString m_appDir;
    AlarmSound* m_sound;
    AlarmBell* m_bell;
    SecondTicker* m_ticker;
    QFileSystemWatcher* m_watcher;
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
};

} // namespace chimewell
