#include "AlarmScheduler.h"

#include "AlarmBell.h"
#include "AlarmSound.h"
#include "OutputWatch.h"
#include "SecondTicker.h"
#include "lang/Texts.h"
#include "platform/Clock.h"
#include "platform/PlatformServices.h"
#include "platform/ShellOpen.h"
#include "platform/SystemEvents.h"
#include "storage/DaySchedule.h"
#include "storage/IniFile.h"
#include "storage/Loudness.h"
#include "storage/Settings.h"
#include "widgets/QtText.h"

#include <QtCore/QFileInfo>
#include <QtCore/QFileSystemWatcher>
#include <QtCore/QTimeZone>

namespace chimewell {
namespace {

QDateTime dateTimeOf(std::int64_t wallSecond)
{
    const LocalDateTime t = fromWallSeconds(wallSecond);
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

QDate dateOfDay(std::int64_t day)
{
    return dateTimeOf(day * 86400).date();
}

} // namespace

AlarmScheduler::AlarmScheduler(PlatformServices& services, const QString& appDir,
                               NoticeBoard& notices, const TextSource& texts, QObject* parent)
    : AlarmCommands(parent), m_services(services), m_appDir(appDir), m_texts(texts),
      m_sound(
          new AlarmSound(*services.sound, toQ(appFile(toStd(appDir), kDefaultSoundName)), this)),
      m_bell(new AlarmBell(*m_sound, notices, texts, this)),
      m_outputWatch(new OutputWatch(
          services.output, services.players, *m_bell, notices, texts,
          [appDir](std::string_view key) { return readSetting(toStd(appDir), key); }, this)),
      m_ticker(new SecondTicker(*services.clock, this)), m_watcher(new QFileSystemWatcher(this))
{
    m_timers = readTimers(toStd(appDir));
    const ClockReading now = reading();
    m_oneShotTrigger.restart(now);
    m_weeklyTrigger.restart(now);
    refreshComing(now);
    connect(m_ticker, &SecondTicker::tick, this, &AlarmScheduler::check);
    m_ticker->setPlanner([this]() -> std::optional<qint64> {
        if (m_watched && m_watched())
            return std::nullopt;
        return nextWake();
    });
    connect(m_bell, &AlarmBell::ringingChanged, this, &AlarmCommands::ringingChanged);
    connect(m_outputWatch, &OutputWatch::warningChanged, this, &AlarmCommands::changed);
    connect(m_bell, &AlarmBell::rang, this, &AlarmCommands::rang);
    connect(m_bell, &AlarmBell::stoppedRinging, this, &AlarmCommands::stoppedRinging);
    connect(m_bell, &AlarmBell::snoozed, this, [this](const Alarm& alarm) {
        // Whole seconds, as the wakes are planned: a snooze is due at its second.
        const qint64 due = m_services.clock->now().toSecsSinceEpoch() +
                           std::chrono::seconds(alarm.snoozeFor).count();
        m_snoozed.append({alarm, QDateTime::fromSecsSinceEpoch(due)});
        ++m_snoozeRevision;
        m_ticker->wake();
    });
    // A day file edited by hand takes effect at once, not at the next planned wake; so does
    // a schedule folder removed and made again. A burst of changes is read once.
    m_quiet.setSingleShot(true);
    connect(&m_quiet, &QTimer::timeout, this, &AlarmScheduler::readAgain);
    watchSchedule();
    // A folder that changed is let go until the batch is read: a storm of files made and
    // removed beside the program then costs nothing more than the first of them.
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString& path) {
        m_watcher->removePath(path);
        onDiskChange();
    });
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &AlarmScheduler::onDiskChange);
    if (SystemEvents* events = services.systemEvents) {
        connect(events, &SystemEvents::clockChanged, m_ticker, &SecondTicker::wake);
        connect(events, &SystemEvents::resumed, m_ticker, &SecondTicker::wake);
    }
}

AlarmScheduler::~AlarmScheduler() = default;

void AlarmScheduler::start()
{
    m_started = true;
    // A timer that fell due while the program did not run is told, never rung late.
    const QDateTime now = m_services.clock->now();
    QList<MissedAlarm> passed;
    const Defaults defaults = settingsDefaults();
    std::erase_if(m_timers, [&](const KeptTimer& timer) {
        if (timer.due > now.toSecsSinceEpoch())
            return false;
        passed << MissedAlarm{timerAlarm(timer, defaults),
                              QDateTime::fromSecsSinceEpoch(timer.due).date()};
        return true;
    });
    if (!passed.isEmpty()) {
        ++m_snoozeRevision;
        keepTimers();
        emit missed(m_bell->tellMissed(passed, now.date()));
    }
    readAgain();
    m_ticker->start();
}

void AlarmScheduler::withdrawAll()
{
    m_bell->withdrawAll();
}

void AlarmScheduler::watchNow()
{
    m_ticker->wake();
}

ClockReading AlarmScheduler::reading() const
{
    const QDateTime time = m_services.clock->now();
    const QDate d = time.date();
    const QTime t = time.time();
    return {{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()},
            time.toSecsSinceEpoch()};
}

void AlarmScheduler::watchSchedule()
{
    // A file or folder that was removed or replaced drops out of the watch: add what exists
    // now, again.
    const std::string appDir = toStd(m_appDir);
    QStringList paths{m_appDir, toQ(appFile(appDir, kScheduleFolder)),
                      toQ(settingsFilePath(appDir))};
    for (int day = 0; day < 7; ++day)
        paths << toQ(dayFilePath(appDir, dayName(day)));
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    for (const QString& path : paths)
        if (!watched.contains(path) && QFileInfo::exists(path))
            m_watcher->addPath(path);
}

void AlarmScheduler::onDiskChange()
{
    if (!m_quiet.isActive())
        m_batch.start();
    // Each change waits for quiet anew, but a stream of changes is read at least every second.
    if (!m_quiet.isActive() || m_batch.elapsed() < kLongestBatchMs)
        m_quiet.start(kQuietMs);
}

void AlarmScheduler::readAgain()
{
    watchSchedule();
    const std::string settings = settingsFilePath(toStd(m_appDir));
    tellRefusal(toQ(settings), iniFileRefusal(settings).value_or(std::string()), false);
    // A hand edit of the settings keeps the running timers.
    if (m_started && readTimers(toStd(m_appDir)) != m_timers)
        keepTimers();
    m_ticker->wake(); // looks at the clock, and at the day files, now
}

void AlarmScheduler::tellRefusal(const QString& file, const std::string& refusal, bool dayFile)
{
    // Told once, when first seen; told again only after the file was read in between.
    if (!m_started)
        return; // at start(), once there is somewhere to tell it
    if (refusal.empty()) {
        m_refused.remove(file);
        return;
    }
    const QString reason = toQ(refusal);
    if (m_refused.value(file) == reason)
        return;
    m_refused.insert(file, reason);
    m_bell->tellUrgent(
        m_texts.words(dayFile ? texts::dayFileRefused : texts::settingsRefused, {file, reason}));
}

void AlarmScheduler::arm(const OneShotAlarm& alarm)
{
    // A sound being tried ends as the alarm is armed; a ringing alarm rings on.
    if (!m_bell->isRinging())
        m_sound->stop();
    m_oneShot = alarm;
    m_oneShotTrigger.restart(reading());
    m_ticker->wake();
}

void AlarmScheduler::disarm()
{
    m_oneShot.reset();
    m_snoozeRevision +=
        m_snoozed.removeIf([](const Snoozed& s) { return s.alarm.kind == Alarm::Kind::OneShot; });
    // What "Alarm off" silences: the one-shot alarm, whatever rings, and the sound being tried.
    m_bell->alarmOff();
    m_sound->stop();
    refreshComing(reading());
}

void AlarmScheduler::setOneShotTargets(const QStringList& targets)
{
    if (m_oneShot)
        m_oneShot->targets = targets;
}

std::optional<QDateTime> AlarmScheduler::nextAlarm() const
{
    if (m_coming.isEmpty())
        return std::nullopt;
    return m_coming.first().at;
}

qint64 AlarmScheduler::nextWake() const
{
    const ClockReading now = reading();
    std::vector<std::int64_t> instants;
    const QTimeZone::OffsetData change =
        QTimeZone::systemTimeZone().nextTransition(m_services.clock->now());
    if (change.atUtc.isValid())
        instants.push_back(change.atUtc.toSecsSinceEpoch());
    // The tooltip names a date until the next alarm is within a day.
    if (!m_coming.isEmpty())
        instants.push_back(m_coming.first().at.toSecsSinceEpoch() - 86400);
    return nextWakeEpoch(now, m_comingTimes, instants, kHeartbeatSeconds);
}

void AlarmScheduler::check()
{
    const ClockReading now = reading();
    const QDateTime clock = m_services.clock->now();
    // As for every alarm: one whose time passed in a gap of more than a minute between two
    // looks at the clock (a sleep, a stopped program, a clock set forward) is told, not rung.
    const bool gap =
        m_lastLook > 0 && now.epochSeconds - m_lastLook > AlarmTrigger::kMaxTickGapSeconds;
    m_lastLook = now.epochSeconds;
    QList<Alarm> due;
    QList<MissedAlarm> passed;
    for (qsizetype i = 0; i < m_snoozed.size();) {
        if (m_snoozed[i].due > clock) {
            ++i;
            continue;
        }
        const Snoozed snoozed = m_snoozed.takeAt(i);
        ++m_snoozeRevision;
        if (gap)
            passed << MissedAlarm{snoozed.alarm, snoozed.due.date()};
        else
            due << snoozed.alarm;
    }
    const Defaults defaults = settingsDefaults();
    const auto timersBefore = m_timers.size();
    std::erase_if(m_timers, [&](const KeptTimer& timer) {
        if (timer.due > now.epochSeconds)
            return false;
        if (gap)
            passed << MissedAlarm{timerAlarm(timer, defaults),
                                  QDateTime::fromSecsSinceEpoch(timer.due).date()};
        else
            due << timerAlarm(timer, defaults);
        return true;
    });
    if (m_timers.size() != timersBefore) {
        ++m_snoozeRevision;
        keepTimers();
    }
    if (m_oneShot) {
        for (const AlarmCheck& found : m_oneShotTrigger.check(m_oneShot->minuteOfDay, now)) {
            if (found.due == AlarmDue::Ring)
                due << oneShotAlarm(defaults);
            else
                passed << MissedAlarm{oneShotAlarm(defaults), dateOfDay(found.day)};
        }
    }
    const std::string appDir = toStd(m_appDir);
    QHash<std::int64_t, AlarmList> read;
    const auto minutesOn = [&](std::int64_t day) -> std::optional<std::vector<int>> {
        const int weekday = weekdayOfDayNumber(day);
        const DayAlarms day_ = readDayAlarms(appDir, dayName(weekday));
        if (day_.state == DayAlarms::Torn)
            return std::nullopt;
        read.insert(day, day_.alarms);
        return switchedOnMinutes(weekday, day_.alarms);
    };
    for (const AlarmCheck& found : m_weeklyTrigger.check(minutesOn, now)) {
        for (const DayAlarm& alarm : *read.value(found.day)) {
            if (alarm.off || alarm.minuteOfDay() != found.minuteOfDay)
                continue;
            const Alarm weekly = weeklyAlarm(alarm, weekdayOfDayNumber(found.day), defaults);
            if (found.due == AlarmDue::Ring)
                due << weekly;
            else
                passed << MissedAlarm{weekly, dateOfDay(found.day)};
        }
    }
    ring(due);
    refreshComing(now);
    m_outputWatch->look(nextAlarm(), clock);
    if (!passed.isEmpty())
        emit missed(m_bell->tellMissed(passed, clock.date()));
    emit ticked();
}

const std::vector<int>& AlarmScheduler::switchedOnMinutes(int weekday, const AlarmList& alarms)
{
    auto& [list, minutes] = m_minutes[static_cast<std::size_t>(weekday)];
    if (list != alarms) {
        list = alarms;
        minutes.clear();
        for (const DayAlarm& alarm : *alarms)
            if (const auto minute = alarm.minuteOfDay(); minute && !alarm.off)
                minutes.push_back(*minute);
        std::sort(minutes.begin(), minutes.end());
        minutes.erase(std::unique(minutes.begin(), minutes.end()), minutes.end());
    }
    return minutes;
}

void AlarmScheduler::dropStaleSnoozes()
{
    m_snoozeRevision += m_snoozed.removeIf([this](const Snoozed& snoozed) {
        const Alarm& a = snoozed.alarm;
        if (a.kind != Alarm::Kind::Weekly || a.weekday < 0)
            return false;
        const AlarmList& day = m_week[static_cast<std::size_t>(a.weekday)];
        return std::none_of(day->begin(), day->end(), [&a](const DayAlarm& alarm) {
            return !alarm.off && toQ(alarm.time) == a.time && toQ(alarm.reason) == a.reason &&
                   toQ(alarm.music) == a.soundFile;
        });
    });
}

void AlarmScheduler::refreshComing(const ClockReading& now)
{
    // Every look at the clock comes here. It reads the day files only when they changed, and
    // works out what comes only when the files, the one-shot alarm or the snoozes changed, or
    // the first alarm to come has passed: a large day file costs nothing while it waits.
    const std::string appDir = toStd(m_appDir);
    WeekAlarms week;
    for (int weekday = 0; weekday < 7; ++weekday) {
        const std::string_view day = dayName(weekday);
        DayAlarms read = readDayAlarms(appDir, day);
        tellRefusal(toQ(dayFilePath(appDir, day)), read.refusal, true);
        week[static_cast<std::size_t>(weekday)] = std::move(read.alarms);
    }
    const std::int64_t nowWall = wallSeconds(now.local);
    const bool weekChanged = week != m_week;
    if (weekChanged) {
        m_week = week;
        dropStaleSnoozes();
    }
    // The settings' ring time and snooze length are those of every alarm without its own.
    const Defaults defaults = settingsDefaults();
    const bool defaultsChanged = defaults != m_defaults;
    m_defaults = defaults;
    const std::int64_t today = nowWall / 86400;
    if (!weekChanged && !defaultsChanged && m_oneShotShown == m_oneShot.has_value() &&
        m_snoozesShown == m_snoozeRevision && today == m_computedDay &&
        (m_comingTimes.empty() || nowWall < m_comingTimes.front().wallSecond)) {
        const bool withinADay =
            !m_comingTimes.empty() && m_comingTimes.front().wallSecond - nowWall <= 86400;
        if (withinADay != m_withinADay) {
            m_withinADay = withinADay;
            emit changed();
        }
        return;
    }
    m_computedDay = today;
    std::array<std::vector<std::optional<int>>, 7> minutes;
    for (int weekday = 0; weekday < 7; ++weekday)
        for (const DayAlarm& alarm : *m_week[static_cast<std::size_t>(weekday)])
            minutes[static_cast<std::size_t>(weekday)].push_back(alarm.off ? std::nullopt
                                                                           : alarm.minuteOfDay());
    // Snoozes and then timers: both come at an instant, as far from now as they are.
    std::vector<std::int64_t> snoozedWall;
    for (const Snoozed& snoozed : std::as_const(m_snoozed))
        snoozedWall.push_back(nowWall + snoozed.due.toSecsSinceEpoch() - now.epochSeconds);
    for (const KeptTimer& timer : m_timers)
        snoozedWall.push_back(nowWall + timer.due - now.epochSeconds);
    const auto isTimer = [this](const ComingAlarm& c) {
        return c.kind == ComingAlarm::Snoozed && qsizetype(c.index) >= m_snoozed.size();
    };
    std::vector<ComingAlarm> times = comingAlarms(
        now.local, m_oneShot ? std::optional<int>(m_oneShot->minuteOfDay) : std::nullopt, minutes,
        snoozedWall);

    // The status line names what comes first, whatever it is.
    Status status;
    if (!times.empty()) {
        const ComingAlarm& c = times.front();
        // The armed one-shot alarm is "active" until it rings, today or tomorrow.
        if (c.kind == ComingAlarm::OneShot)
            status = {Status::OneShot, {}, {}};
        else if (c.wallSecond / 86400 != nowWall / 86400)
            status = {Status::Later, {}, dateTimeOf(c.wallSecond)};
        else if (c.kind == ComingAlarm::Weekly)
            status = {Status::WeeklyToday,
                      toQ((*m_week[static_cast<std::size_t>(c.weekday)])[c.index].time),
                      {}};
        else if (c.kind == ComingAlarm::Snoozed)
            status = {isTimer(c) ? Status::Timer : Status::Snoozed,
                      dateTimeOf(c.wallSecond).toString(QStringLiteral("hh:mm")),
                      {}};
    }
    // Within a day of the next alarm the tooltip words it without a date.
    const bool withinADay = !times.empty() && times.front().wallSecond - nowWall <= 86400;
    if (times == m_comingTimes && !weekChanged && !defaultsChanged && status == m_status &&
        withinADay == m_withinADay && m_oneShotShown == m_oneShot.has_value() &&
        m_snoozesShown == m_snoozeRevision)
        return;
    m_comingTimes = std::move(times);
    m_status = status;
    m_withinADay = withinADay;
    m_oneShotShown = m_oneShot.has_value();
    m_snoozesShown = m_snoozeRevision;

    m_coming.clear();
    for (const ComingAlarm& c : m_comingTimes) {
        if (m_coming.size() == kComingListed)
            break;
        if (isTimer(c)) {
            const KeptTimer& timer = m_timers[c.index - std::size_t(m_snoozed.size())];
            m_coming << Coming{QDateTime::fromSecsSinceEpoch(timer.due),
                               timerAlarm(timer, defaults), false};
        } else if (c.kind == ComingAlarm::Snoozed) {
            m_coming << Coming{m_snoozed[qsizetype(c.index)].due,
                               m_snoozed[qsizetype(c.index)].alarm, true};
        } else if (c.kind == ComingAlarm::OneShot) {
            m_coming << Coming{dateTimeOf(c.wallSecond), oneShotAlarm(defaults), false};
        } else {
            m_coming << Coming{dateTimeOf(c.wallSecond),
                               weeklyAlarm((*m_week[static_cast<std::size_t>(c.weekday)])[c.index],
                                           c.weekday, defaults),
                               false};
        }
    }
    emit changed();
}

AlarmScheduler::Defaults AlarmScheduler::settingsDefaults() const
{
    const std::string appDir = toStd(m_appDir);
    return {ringMinutes(readSetting(appDir, kRingMinutesKey)),
            snoozeMinutes(readSetting(appDir, kSnoozeMinutesKey)),
            fadeSecondsSetting(readSetting(appDir, kFadeSecondsKey))};
}

Alarm AlarmScheduler::oneShotAlarm(const Defaults& defaults) const
{
    return {Alarm::Kind::OneShot,
            toQ(formatTimeOfDay(m_oneShot->minuteOfDay)),
            m_oneShot->reason,
            m_oneShot->soundFile,
            m_oneShot->targets,
            std::chrono::minutes(defaults.ringMinutes),
            std::chrono::minutes(defaults.snoozeMinutes),
            -1,
            toQ(kOneShotId),
            100,
            defaults.fadeSeconds};
}

Alarm AlarmScheduler::weeklyAlarm(const DayAlarm& alarm, int weekday,
                                  const Defaults& defaults) const
{
    // The time as the file spells it, so the message shows what the user wrote.
    return {
        Alarm::Kind::Weekly,
        toQ(alarm.time),
        toQ(alarm.reason),
        toQ(alarm.music),
        {},
        std::chrono::minutes(alarmRingMinutes(alarm.ringMinutes).value_or(defaults.ringMinutes)),
        std::chrono::minutes(
            alarmSnoozeMinutes(alarm.snoozeMinutes).value_or(defaults.snoozeMinutes)),
        weekday,
        toQ(weeklyAlarmId(weekday, alarm.section)),
        alarmVolume(alarm.volume),
        alarmFadeSeconds(alarm.fadeSeconds).value_or(defaults.fadeSeconds)};
}

Alarm AlarmScheduler::timerAlarm(const KeptTimer& timer, const Defaults& defaults) const
{
    // Told by the time it is due, as every alarm is; a timer without a name is "Timer".
    return {Alarm::Kind::Timer,
            QDateTime::fromSecsSinceEpoch(timer.due).toString(QStringLiteral("H:mm")),
            timer.reason.empty() ? m_texts.words(texts::timerName) : toQ(timer.reason),
            {},
            {},
            std::chrono::minutes(defaults.ringMinutes),
            std::chrono::minutes(defaults.snoozeMinutes),
            -1,
            toQ(timer.id),
            100,
            defaults.fadeSeconds};
}

void AlarmScheduler::ring(const QList<Alarm>& alarms)
{
    if (alarms.isEmpty())
        return;
    m_bell->ring(alarms);
    for (const Alarm& alarm : alarms)
        for (const QString& target : alarm.targets)
            if (!target.trimmed().isEmpty())
                m_services.shell->open(target);
}

bool AlarmScheduler::isRinging() const
{
    return m_bell->isRinging();
}

int AlarmScheduler::snoozeMinutesNow() const
{
    const auto minutes = m_bell->snoozeFor().count();
    return minutes > 0 ? int(minutes) : defaultSnoozeMinutes();
}

QList<AlarmCommands::Timer> AlarmScheduler::timers() const
{
    QList<Timer> timers;
    for (const KeptTimer& timer : m_timers)
        timers << Timer{toQ(timer.id), QDateTime::fromSecsSinceEpoch(timer.due),
                        timer.reason.empty() ? m_texts.words(texts::timerName) : toQ(timer.reason)};
    return timers;
}

std::vector<ListedAlarm> AlarmScheduler::list() const
{
    std::vector<InstantAlarm> snoozes;
    for (const Snoozed& snoozed : m_snoozed)
        snoozes.push_back(
            {snoozed.due.toSecsSinceEpoch(), toStd(snoozed.alarm.id), toStd(snoozed.alarm.reason)});
    std::vector<InstantAlarm> timers;
    for (const Timer& timer : this->timers())
        timers.push_back({timer.due.toSecsSinceEpoch(), toStd(timer.id), toStd(timer.reason)});
    return listComing(reading(), m_week,
                      m_oneShot ? std::optional<int>(m_oneShot->minuteOfDay) : std::nullopt,
                      m_oneShot ? toStd(m_oneShot->reason) : std::string(), snoozes, timers);
}

std::optional<QString> AlarmScheduler::changedDayOf(const AlarmRow& row)
{
    // Every day of the row is looked at before anything is written: a hand edit meanwhile is
    // refused, never written over.
    const std::string appDir = toStd(m_appDir);
    for (const auto& [weekday, section] : row.days) {
        const DayAlarms now = readDayAlarms(appDir, dayName(weekday));
        DayAlarm expected = row.alarm;
        expected.section = section;
        if (std::none_of(now.alarms->begin(), now.alarms->end(),
                         [&expected](const DayAlarm& a) { return a == expected; }))
            return toQ(dayFilePath(appDir, dayName(weekday)));
    }
    return std::nullopt;
}

AlarmCommands::WeeklyResult AlarmScheduler::saveWeekly(const WeeklyEdit& edit)
{
    WeeklyResult result;
    const AlarmRow* row = edit.before ? &*edit.before : nullptr;
    if (row) {
        if (const auto file = changedDayOf(*row)) {
            readAgain();
            return {WeeklyResult::ChangedMeanwhile, {}, 0, -1, {}, *file};
        }
    }
    // Only what the user changed is written where the alarm was; a new day gets all of it.
    const DayAlarm added = row ? changedAlarm(row->alarm, edit.change) : edit.values;
    const std::string appDir = toStd(m_appDir);
    const unsigned had = row ? row->dayMask() : 0;
    const auto onDay = [row](int weekday) {
        DayAlarm alarm = row->alarm;
        for (const auto& [day, section] : row->days)
            if (day == weekday)
                alarm.section = section;
        return alarm;
    };
    const auto write = [&](int weekday, bool checkOnly, std::string* error) {
        const bool was = had & (1u << weekday);
        const bool is = edit.days & (1u << weekday);
        const std::string_view day = dayName(weekday);
        if (was && is && !edit.change.isEmpty())
            return changeDayAlarm(appDir, day, onDay(weekday), edit.change, error, nullptr,
                                  checkOnly);
        if (was && !is)
            return deleteDayAlarm(appDir, day, onDay(weekday), error, nullptr, checkOnly);
        if (!was && is)
            return addDayAlarm(appDir, day, added, error, checkOnly);
        return true;
    };
    // Every day is written, or none: each write is tried first without writing.
    for (int weekday = 0; weekday < 7; ++weekday)
        if (std::string error; !write(weekday, true, &error))
            result.refused << toQ(dayName(weekday)) + QStringLiteral(": ") + toQ(error);
    if (!result.refused.isEmpty()) {
        result.outcome = WeeklyResult::NothingSaved;
        return result;
    }
    for (int weekday = 0; weekday < 7; ++weekday) {
        std::string error;
        if (write(weekday, false, &error)) {
            result.written |= 1u << weekday;
            continue;
        }
        // A write that failed after its check (a full disk).
        result.outcome = WeeklyResult::PartlySaved;
        result.failedDay = weekday;
        result.error = toQ(error);
        break;
    }
    readAgain();
    return result;
}

AlarmCommands::WeeklyResult AlarmScheduler::switchWeekly(const AlarmRow& row, bool on)
{
    if (row.alarm.off == !on)
        return {};
    AlarmChange change;
    change.off = !on;
    return saveWeekly({row, row.dayMask(), row.alarm, change});
}

AlarmCommands::WeeklyResult AlarmScheduler::deleteWeekly(const AlarmRow& row)
{
    return saveWeekly({row, 0, row.alarm, {}});
}

bool AlarmScheduler::putFirstDayAlarm(int weekday, const DayAlarm& alarm, std::string* error)
{
    const bool written = writeDayAlarm(toStd(m_appDir), dayName(weekday), alarm.reason, alarm.time,
                                       alarm.music, error);
    readAgain();
    return written;
}

bool AlarmScheduler::clearFirstDayAlarm(int weekday, std::string* error)
{
    const bool cleared = clearDayAlarm(toStd(m_appDir), dayName(weekday), error);
    readAgain();
    return cleared;
}

void AlarmScheduler::keepTimers()
{
    // A folder that cannot be written was told at start: the timers run on, unkept.
    writeTimers(toStd(m_appDir), m_timers);
}

std::optional<AlarmCommands::Timer>
AlarmScheduler::startTimer(qint64 seconds, const QString& reason, QString* refusal)
{
    const auto refuse = [refusal](const QString& why) {
        if (refusal)
            *refusal = why;
        return std::nullopt;
    };
    if (seconds < 1 || seconds > kLongestTimerSeconds)
        return refuse(QStringLiteral("a timer runs from 1 second to 24 hours"));
    if (m_timers.size() >= kMostTimers)
        return refuse(
            QStringLiteral("%1 timers run already; cancel one first").arg(qsizetype(kMostTimers)));
    KeptTimer timer{nextTimerId(m_timers), m_services.clock->now().toSecsSinceEpoch() + seconds,
                    cleanTimerReason(toStd(reason))};
    const auto at =
        std::upper_bound(m_timers.begin(), m_timers.end(), timer,
                         [](const KeptTimer& a, const KeptTimer& b) { return a.due < b.due; });
    m_timers.insert(at, timer);
    ++m_snoozeRevision;
    keepTimers();
    m_ticker->wake();
    return Timer{toQ(timer.id), QDateTime::fromSecsSinceEpoch(timer.due),
                 timer.reason.empty() ? m_texts.words(texts::timerName) : toQ(timer.reason)};
}

bool AlarmScheduler::cancelTimer(const QString& id)
{
    const std::string wanted = toStd(id).substr(0, 16);
    if (!std::erase_if(m_timers,
                       [&](const KeptTimer& t) { return ini::equalsNoCase(t.id, wanted); }))
        return false;
    ++m_snoozeRevision;
    keepTimers();
    refreshComing(reading());
    return true;
}

bool AlarmScheduler::stop(const QString& id)
{
    if (id.isEmpty())
        return m_bell->stop();
    // A snoozed alarm is stopped too: it does not come back.
    const bool snoozed = m_snoozed.removeIf([&id](const Snoozed& s) { return s.alarm.id == id; });
    m_snoozeRevision += snoozed;
    const bool rung = m_bell->stop(id);
    if (snoozed)
        refreshComing(reading());
    return rung || snoozed;
}

bool AlarmScheduler::snooze(const QString& id)
{
    return id.isEmpty() ? m_bell->snooze() : m_bell->snooze(id);
}

void AlarmScheduler::stopAllSound()
{
    if (m_bell->isRinging())
        m_bell->stop();
    m_sound->stop();
}

void AlarmScheduler::tryOutSound(const QString& file, int volume, std::optional<int> fadeSeconds)
{
    m_sound->play(file, {volume, fadeSeconds.value_or(settingsDefaults().fadeSeconds)});
}

AlarmCommands::OutputWarning AlarmScheduler::outputWarning() const
{
    return m_outputWatch->warning();
}

void AlarmScheduler::preview(const Alarm& alarm)
{
    m_bell->preview(alarm);
}

bool AlarmScheduler::setDefaultRingMinutes(int minutes, std::string* error)
{
    const bool written =
        writeSetting(toStd(m_appDir), kRingMinutesKey, std::to_string(minutes), error);
    refreshComing(reading());
    return written;
}

bool AlarmScheduler::setDefaultSnoozeMinutes(int minutes, std::string* error)
{
    const bool written =
        writeSetting(toStd(m_appDir), kSnoozeMinutesKey, std::to_string(minutes), error);
    refreshComing(reading());
    return written;
}

} // namespace chimewell
