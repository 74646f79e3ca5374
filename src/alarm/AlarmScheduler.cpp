#include "AlarmScheduler.h"

#include "AlarmBell.h"
#include "AlarmSound.h"
#include "SecondTicker.h"
#include "lang/Texts.h"
#include "platform/Clock.h"
#include "platform/PlatformServices.h"
#include "platform/ShellOpen.h"
#include "platform/SystemEvents.h"
#include "storage/DaySchedule.h"
#include "storage/IniFile.h"
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
    : QObject(parent), m_services(services), m_appDir(appDir), m_texts(texts),
      m_sound(
          new AlarmSound(*services.sound, toQ(appFile(toStd(appDir), kDefaultSoundName)), this)),
      m_bell(new AlarmBell(*m_sound, notices, texts, this)),
      m_ticker(new SecondTicker(*services.clock, this)), m_watcher(new QFileSystemWatcher(this))
{
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
    readAgain();
    m_ticker->start();
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
    m_oneShot = alarm;
    m_oneShotTrigger.restart(reading());
    m_ticker->wake();
}

void AlarmScheduler::disarm()
{
    m_oneShot.reset();
    m_snoozeRevision +=
        m_snoozed.removeIf([](const Snoozed& s) { return s.alarm.kind == Alarm::Kind::OneShot; });
    m_bell->alarmOff();
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
    if (m_oneShot) {
        for (const AlarmCheck& found : m_oneShotTrigger.check(m_oneShot->minuteOfDay, now)) {
            if (found.due == AlarmDue::Ring)
                due << oneShotAlarm(settingsDefaults());
            else
                passed << MissedAlarm{oneShotAlarm(settingsDefaults()), dateOfDay(found.day)};
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
            Alarm weekly = weeklyAlarm(alarm, settingsDefaults());
            weekly.weekday = weekdayOfDayNumber(found.day);
            if (found.due == AlarmDue::Ring)
                due << weekly;
            else
                passed << MissedAlarm{weekly, dateOfDay(found.day)};
        }
    }
    ring(due);
    refreshComing(now);
    if (!passed.isEmpty())
        emit missed(m_bell->tellMissed(passed, clock.date()));
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
    std::vector<std::int64_t> snoozedWall;
    for (const Snoozed& snoozed : std::as_const(m_snoozed))
        snoozedWall.push_back(nowWall + snoozed.due.toSecsSinceEpoch() - now.epochSeconds);
    std::vector<ComingAlarm> times = comingAlarms(
        now.local, m_oneShot ? std::optional<int>(m_oneShot->minuteOfDay) : std::nullopt, minutes,
        snoozedWall);

    // The status line names what comes first, whatever it is.
    Status status;
    if (!times.empty()) {
        const ComingAlarm& c = times.front();
        if (c.wallSecond / 86400 != nowWall / 86400)
            status = {Status::Later, {}, dateTimeOf(c.wallSecond)};
        else if (c.kind == ComingAlarm::Weekly)
            status = {Status::WeeklyToday,
                      toQ((*m_week[static_cast<std::size_t>(c.weekday)])[c.index].time),
                      {}};
        else if (c.kind == ComingAlarm::Snoozed)
            status = {
                Status::Snoozed, dateTimeOf(c.wallSecond).toString(QStringLiteral("hh:mm")), {}};
        else
            status = {Status::OneShot, {}, {}};
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
        if (c.kind == ComingAlarm::Snoozed) {
            m_coming << Coming{m_snoozed[qsizetype(c.index)].due,
                               m_snoozed[qsizetype(c.index)].alarm, true};
        } else if (c.kind == ComingAlarm::OneShot) {
            m_coming << Coming{dateTimeOf(c.wallSecond), oneShotAlarm(defaults), false};
        } else {
            Alarm weekly =
                weeklyAlarm((*m_week[static_cast<std::size_t>(c.weekday)])[c.index], defaults);
            weekly.weekday = c.weekday;
            m_coming << Coming{dateTimeOf(c.wallSecond), weekly, false};
        }
    }
    emit changed();
}

AlarmScheduler::Defaults AlarmScheduler::settingsDefaults() const
{
    const std::string appDir = toStd(m_appDir);
    return {ringMinutes(readSetting(appDir, kRingMinutesKey)),
            snoozeMinutes(readSetting(appDir, kSnoozeMinutesKey))};
}

Alarm AlarmScheduler::oneShotAlarm(const Defaults& defaults) const
{
    return {Alarm::Kind::OneShot,
            toQ(formatTimeOfDay(m_oneShot->minuteOfDay)),
            m_oneShot->reason,
            m_oneShot->soundFile,
            m_oneShot->targets,
            std::chrono::minutes(defaults.ringMinutes),
            std::chrono::minutes(defaults.snoozeMinutes)};
}

Alarm AlarmScheduler::weeklyAlarm(const DayAlarm& alarm, const Defaults& defaults) const
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
            alarmSnoozeMinutes(alarm.snoozeMinutes).value_or(defaults.snoozeMinutes))};
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

} // namespace chimewell
