#include "AlarmTime.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace chimewell {
namespace {

constexpr std::array<std::string_view, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};

std::string twoDigits(int value)
{
    std::string text(2, '0');
    text[0] = static_cast<char>('0' + (value / 10) % 10);
    text[1] = static_cast<char>('0' + value % 10);
    return text;
}

} // namespace

std::int64_t wallSeconds(const LocalDateTime& t)
{
    return dayNumber(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

LocalDateTime fromWallSeconds(std::int64_t wall)
{
    // Howard Hinnant's civil_from_days.
    const std::int64_t days = (wall >= 0 ? wall : wall - 86399) / 86400;
    const std::int64_t secondOfDay = wall - days * 86400;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year,
            month,
            day,
            static_cast<int>(secondOfDay / 3600),
            static_cast<int>(secondOfDay % 3600 / 60),
            static_cast<int>(secondOfDay % 60)};
}

std::int64_t dayNumber(int year, int month, int day)
{
    // Howard Hinnant's days_from_civil.
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int weekdayIndex(int year, int month, int day)
{
    return weekdayOfDayNumber(dayNumber(year, month, day));
}

std::string_view dayName(int index)
{
    return kDayNames.at(static_cast<std::size_t>(index));
}

std::string dayNameOf(const LocalDateTime& now)
{
    return std::string(dayName(weekdayIndex(now.year, now.month, now.day)));
}

bool isDayName(std::string_view text, std::string* canonical)
{
    for (std::string_view name : kDayNames) {
        if (name.size() != text.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(name[i])) ==
                   std::tolower(static_cast<unsigned char>(text[i]));
        if (same) {
            if (canonical)
                *canonical = std::string(name);
            return true;
        }
    }
    return false;
}

std::optional<int> parseTimeOfDay(std::string_view text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 1 || colon > 2 || text.size() != colon + 3)
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != colon && (text[i] < '0' || text[i] > '9'))
            return std::nullopt;
    int hours = 0;
    for (std::size_t i = 0; i < colon; ++i)
        hours = hours * 10 + (text[i] - '0');
    const int minutes = (text[colon + 1] - '0') * 10 + (text[colon + 2] - '0');
    if (hours > 23 || minutes > 59)
        return std::nullopt;
    return hours * 60 + minutes;
}

std::string formatTimeOfDay(int minutes)
{
    return twoDigits(minutes / 60) + ":" + twoDigits(minutes % 60);
}

bool isPending(std::string_view timeText, const LocalDateTime& now)
{
    const auto minutes = parseTimeOfDay(timeText);
    if (!minutes)
        return false;
    return *minutes * 60 > now.hour * 3600 + now.minute * 60 + now.second;
}

void AlarmTrigger::restart(const ClockReading& now)
{
    m_previous = now;
    m_fired.clear();
}

std::vector<AlarmCheck> AlarmTrigger::check(std::optional<int> minuteOfDay, const ClockReading& now)
{
    return check(
        [minuteOfDay](std::int64_t) {
            return std::optional<std::vector<int>>(minuteOfDay ? std::vector<int>{*minuteOfDay}
                                                               : std::vector<int>{});
        },
        now);
}

std::vector<AlarmCheck> AlarmTrigger::check(const MinutesOnDay& minutesOn, const ClockReading& now)
{
    const std::optional<ClockReading> previous = m_previous;
    m_previous = now;
    if (!previous)
        return {};
    const std::int64_t gap = now.epochSeconds - previous->epochSeconds;
    if (gap <= 0)
        return {};
    // Instants are compared on the wall clock, so a daylight-saving jump forward rings the
    // alarm of the hour that does not exist, and the hour repeated in autumn rings once.
    const std::int64_t before = wallSeconds(previous->local);
    const std::int64_t after = wallSeconds(now.local);
    const std::int64_t today = dayNumber(now.local.year, now.local.month, now.local.day);
    const std::int64_t firstDay = std::max(before / 86400, today - kMaxMissedDays);
    const AlarmDue due = gap > kMaxTickGapSeconds ? AlarmDue::Missed : AlarmDue::Ring;
    std::vector<AlarmCheck> found;
    for (std::int64_t day = firstDay; day <= today; ++day) {
        const std::optional<std::vector<int>> minutes = minutesOn(day);
        if (!minutes) {
            m_previous = previous;
            return {};
        }
        std::vector<int> sorted = *minutes;
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
        for (const int minute : sorted) {
            const std::int64_t instant = day * 86400 + minute * 60;
            if (before < instant && instant <= after && !m_fired.count({day, minute}))
                found.push_back({due, day, minute});
        }
    }
    for (const AlarmCheck& alarm : found)
        m_fired.insert({alarm.day, alarm.minuteOfDay});
    // What fired more than the searched days back can never be found again.
    while (!m_fired.empty() && m_fired.begin()->first < today - kMaxMissedDays - 1)
        m_fired.erase(m_fired.begin());
    return found;
}

std::vector<ComingAlarm> comingAlarms(const LocalDateTime& now, std::optional<int> oneShotMinute,
                                      const std::array<std::vector<std::optional<int>>, 7>& weekly,
                                      const std::vector<std::int64_t>& snoozedWallSeconds)
{
    const std::int64_t nowWall = wallSeconds(now);
    const std::int64_t today = nowWall / 86400;
    std::vector<ComingAlarm> coming;
    if (oneShotMinute) {
        const std::int64_t todays = today * 86400 + *oneShotMinute * 60;
        coming.push_back({todays > nowWall ? todays : todays + 86400, ComingAlarm::OneShot, 0, 0});
    }
    // Every weekday comes round once in the next seven days; today's again a week on.
    for (std::int64_t day = today; day <= today + 7; ++day) {
        const int weekday = weekdayOfDayNumber(day);
        const auto& minutes = weekly[static_cast<std::size_t>(weekday)];
        for (std::size_t i = 0; i < minutes.size(); ++i) {
            if (!minutes[i])
                continue;
            const std::int64_t wall = day * 86400 + *minutes[i] * 60;
            if (wall > nowWall && wall <= nowWall + 7 * 86400)
                coming.push_back({wall, ComingAlarm::Weekly, weekday, i});
        }
    }
    for (std::size_t i = 0; i < snoozedWallSeconds.size(); ++i)
        coming.push_back({snoozedWallSeconds[i], ComingAlarm::Snoozed, 0, i});
    std::stable_sort(coming.begin(), coming.end(), [](const ComingAlarm& a, const ComingAlarm& b) {
        return a.wallSecond < b.wallSecond;
    });
    return coming;
}

std::int64_t nextWakeEpoch(const ClockReading& now, const std::vector<ComingAlarm>& coming,
                           const std::vector<std::int64_t>& instants, int heartbeatSeconds)
{
    const std::int64_t nowWall = wallSeconds(now.local);
    // Wall instants become real ones at today's offset. Across a daylight-saving change that
    // is an hour off, so the change itself is one of the instants: the wake at it finds an
    // alarm of the skipped hour due at once, and plans again at the new offset.
    std::int64_t wake = now.epochSeconds + std::max(1, heartbeatSeconds);
    const auto consider = [&](std::int64_t epoch) {
        wake = std::min(wake, std::max(epoch, now.epochSeconds + 1));
    };
    consider(now.epochSeconds + (nowWall / 86400 + 1) * 86400 - nowWall); // midnight
    if (!coming.empty())
        consider(now.epochSeconds + coming.front().wallSecond - nowWall);
    for (const std::int64_t instant : instants)
        if (instant > now.epochSeconds)
            consider(instant);
    return wake;
}

int weekdayOfDayNumber(std::int64_t day)
{
    // 1970-01-01 was a Thursday (index 4).
    return static_cast<int>(((day % 7) + 7 + 4) % 7);
}

} // namespace chimewell
