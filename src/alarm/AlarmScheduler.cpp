#include "AlarmScheduler.h"

#include "AlarmBell.h"
#include "AlarmSound.h"
#include "SecondTicker.h"
#include "platform/Clock.h"
#include "platform/PlatformServices.h"
#include "platform/ShellOpen.h"
#include "platform/SystemEvents.h"
#include "storage/DaySchedule.h"
#include "storage/Settings.h"
#include "widgets/QtText.h"

#include <QtCore/QFileInfo>
#include <QtCore/QFileSystemWatcher>
#include <QtCore/QTimeZone>

namespace chimewell {

AlarmScheduler::AlarmScheduler(PlatformServices& services, const QString& appDir, TrayModule& tray,
                               QObject* parent)
    : QObject(parent), m_services(services), m_appDir(appDir),
      m_sound(
          new AlarmSound(*services.sound, toQ(appFile(toStd(appDir), kDefaultSoundName)), this)),
      m_bell(new AlarmBell(*m_sound, tray, this)),
      m_ticker(new SecondTicker(*services.clock, this)), m_watcher(new QFileSystemWatcher(this))
{
    m_weeklyTrigger.restart(reading());
    connect(m_ticker, &SecondTicker::tick, this, &AlarmScheduler::check);
    m_ticker->setPlanner([this]() -> std::optional<qint64> {
        if (m_watched && m_watched())
            return std::nullopt;
        return nextWake();
    });
    connect(m_bell, &AlarmBell::snoozed, this, [this](const Alarm& alarm) {
        m_snoozed.append({alarm, m_services.clock->now().addSecs(kSnoozeSeconds)});
        m_ticker->wake();
        emit changed();
    });
    // A day file edited by hand takes effect at once, not at the next planned wake; so does
    // a schedule folder removed and made again.
    watchSchedule();
    const auto onDisk = [this] {
        watchSchedule();
        m_ticker->wake();
        emit changed();
    };
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, onDisk);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, onDisk);
    if (SystemEvents* events = services.systemEvents) {
        connect(events, &SystemEvents::clockChanged, m_ticker, &SecondTicker::wake);
        connect(events, &SystemEvents::resumed, m_ticker, &SecondTicker::wake);
    }
}

AlarmScheduler::~AlarmScheduler() = default;

void AlarmScheduler::start()
{
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
    QStringList paths{m_appDir, toQ(appFile(appDir, kScheduleFolder))};
    for (int day = 0; day < 7; ++day)
        paths << toQ(dayFilePath(appDir, dayName(day)));
    for (const QString& path : paths)
        if (QFileInfo::exists(path) && !m_watcher->files().contains(path) &&
            !m_watcher->directories().contains(path))
            m_watcher->addPath(path);
}

void AlarmScheduler::arm(const OneShotAlarm& alarm)
{
    m_oneShot = alarm;
    m_oneShotTrigger.restart(reading());
    m_ticker->wake();
    emit changed();
}

void AlarmScheduler::disarm()
{
    m_oneShot.reset();
    m_snoozed.removeIf([](const Snoozed& s) { return s.alarm.kind == Alarm::Kind::OneShot; });
    m_bell->cancel(Alarm::Kind::OneShot);
    emit changed();
}

void AlarmScheduler::setOneShotTargets(const QStringList& targets)
{
    if (m_oneShot)
        m_oneShot->targets = targets;
}

std::optional<int> AlarmScheduler::weeklyMinuteOn(std::int64_t day) const
{
    return parseTimeOfDay(
        readDayValue(toStd(m_appDir), dayName(weekdayOfDayNumber(day)), kTimeKey));
}

AlarmScheduler::Status AlarmScheduler::status(bool withOneShot) const
{
    const ClockReading now = reading();
    const std::string time = readDayValue(toStd(m_appDir), dayNameOf(now.local), kTimeKey);
    if (isPending(time, now.local))
        return {Status::WeeklyToday, toQ(time)};
    if (withOneShot && m_oneShot && isPending(formatTimeOfDay(m_oneShot->minuteOfDay), now.local))
        return {Status::OneShot, {}};
    return {};
}

std::optional<QDateTime> AlarmScheduler::nextAlarm() const
{
    const QDateTime now = m_services.clock->now();
    const auto at = [&now](int daysOn, int minute) {
        return QDateTime(now.date().addDays(daysOn), QTime(minute / 60, minute % 60));
    };
    std::optional<QDateTime> next;
    const auto consider = [&next, &now](const QDateTime& time) {
        if (time > now && (!next || time < *next))
            next = time;
    };
    if (m_oneShot) {
        consider(at(0, m_oneShot->minuteOfDay));
        consider(at(1, m_oneShot->minuteOfDay));
    }
    // Within a week every weekday's file comes round once; today's again a week on.
    const ClockReading clock = reading();
    const std::int64_t today = dayNumber(clock.local.year, clock.local.month, clock.local.day);
    for (int days = 0; days <= 7; ++days) {
        if (const auto minute = weeklyMinuteOn(today + days); minute && at(days, *minute) > now) {
            consider(at(days, *minute));
            break;
        }
    }
    for (const Snoozed& snoozed : m_snoozed)
        consider(snoozed.due);
    return next;
}

qint64 AlarmScheduler::nextWake() const
{
    const ClockReading now = reading();
    const std::int64_t today = dayNumber(now.local.year, now.local.month, now.local.day);
    std::vector<int> todays;
    std::vector<int> tomorrows;
    if (m_oneShot) {
        todays.push_back(m_oneShot->minuteOfDay);
        tomorrows.push_back(m_oneShot->minuteOfDay);
    }
    if (const auto minute = weeklyMinuteOn(today))
        todays.push_back(*minute);
    if (const auto minute = weeklyMinuteOn(today + 1))
        tomorrows.push_back(*minute);
    std::vector<std::int64_t> instants;
    for (const Snoozed& snoozed : m_snoozed)
        instants.push_back(snoozed.due.toSecsSinceEpoch());
    const QTimeZone::OffsetData change =
        QTimeZone::systemTimeZone().nextTransition(m_services.clock->now());
    if (change.atUtc.isValid())
        instants.push_back(change.atUtc.toSecsSinceEpoch());
    return nextWakeEpoch(now, todays, tomorrows, instants, kHeartbeatSeconds);
}

void AlarmScheduler::check()
{
    const ClockReading now = reading();
    const QDateTime clock = m_services.clock->now();
    for (qsizetype i = 0; i < m_snoozed.size();) {
        if (m_snoozed[i].due <= clock)
            ring(m_snoozed.takeAt(i).alarm);
        else
            ++i;
    }
    if (m_oneShot) {
        const AlarmCheck due = m_oneShotTrigger.check(m_oneShot->minuteOfDay, now);
        if (due.due == AlarmDue::Ring)
            ring(oneShotAlarm());
        else if (due.due == AlarmDue::Missed)
            tellMissed(oneShotAlarm());
    }
    const std::string appDir = toStd(m_appDir);
    const AlarmCheck due = m_weeklyTrigger.check(
        [&appDir](std::int64_t day) -> std::optional<int> {
            const auto time = tryReadDayValue(appDir, dayName(weekdayOfDayNumber(day)), kTimeKey);
            if (!time)
                return AlarmTrigger::kUnknownMinute;
            return parseTimeOfDay(*time);
        },
        now);
    if (due.due == AlarmDue::Ring)
        ring(weeklyAlarm(due.day));
    else if (due.due == AlarmDue::Missed)
        tellMissed(weeklyAlarm(due.day));
}

Alarm AlarmScheduler::oneShotAlarm() const
{
    return {Alarm::Kind::OneShot,
            toQ(formatTimeOfDay(m_oneShot->minuteOfDay)),
            m_oneShot->reason,
            m_oneShot->soundFile,
            m_oneShot->targets,
            std::chrono::minutes(ringMinutes(readSetting(toStd(m_appDir), kRingMinutesKey)))};
}

Alarm AlarmScheduler::weeklyAlarm(std::int64_t day) const
{
    const std::string appDir = toStd(m_appDir);
    const std::string_view name = dayName(weekdayOfDayNumber(day));
    // The time as the file spells it, so the message shows what the user wrote.
    return {Alarm::Kind::Weekly,
            toQ(readDayValue(appDir, name, kTimeKey)),
            toQ(readDayValue(appDir, name, kReasonKey)),
            toQ(readDayValue(appDir, name, kMusicKey)),
            {},
            std::chrono::minutes(ringMinutes(readSetting(appDir, kRingMinutesKey)))};
}

void AlarmScheduler::ring(const Alarm& alarm)
{
    m_bell->ring(alarm);
    for (const QString& target : alarm.targets)
        if (!target.trimmed().isEmpty())
            m_services.shell->open(target);
    emit rang(alarm);
    emit changed();
}

void AlarmScheduler::tellMissed(const Alarm& alarm)
{
    emit missed(m_bell->tellMissed(alarm));
    emit changed();
}

} // namespace chimewell
