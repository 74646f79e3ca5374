#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Time rules shared by both alarm kinds and the status line: reading a typed time of day,
// rendering the clock, the weekday names, and the rule that decides when an alarm fires.

namespace chimewell {

/// A reading of the local wall clock, to the second.
struct LocalDateTime
{
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

/// A clock reading: the local wall time and the same moment as seconds since the epoch, so
/// that a jump of the wall time (daylight saving, a clock set by hand) is told from real time.
struct ClockReading
{
    LocalDateTime local;
    std::int64_t epochSeconds = 0;
};

/// Days since 1970-01-01 of a civil date (proleptic Gregorian calendar).
std::int64_t dayNumber(int year, int month, int day);

/// 0 for Sunday to 6 for Saturday.
int weekdayIndex(int year, int month, int day);

/// "Sunday" .. "Saturday" for 0..6: always English, whatever the locale.
std::string_view dayName(int weekdayIndex);

/// Today's day name for the given reading.
std::string GetDay(const LocalDateTime& now);

/// True for one of the seven English day names, compared without regard to letter case;
/// `canonical` then receives the name as it is spelt in day files.
bool isDayName(std::string_view text, std::string* canonical = nullptr);

/// The clock as "hh:mm:ss" on the 24-hour clock.
std::string renderClock(const LocalDateTime& now);

/// A typed time of day "h:mm" or "hh:mm" (hours 0-23, minutes 00-59, blanks around it
/// ignored) as minutes after midnight; nothing for any other text.
std::optional<int> parseTimeOfDay(std::string_view text);

/// What the user is told when a typed time is not a time of day.
inline constexpr std::string_view kTimeFormatText =
    "Please enter the time as hh:mm, for example 07:30.";

/// Minutes after midnight as "hh:mm".
std::string formatTimeOfDay(int minutes);

/// Whether an alarm stored as `timeText` is still to come today: a readable time strictly
/// later than now (a time equal to now has already come).
bool isPending(std::string_view timeText, const LocalDateTime& now);

/// Decides, tick by tick, when an alarm set for a minute of the day falls due. It fires on
/// the first tick at or after the alarm's instant (the time at :00) when the previous tick
/// was before it and at most a minute of real time back; and at most once per day for
/// the same time. A late tick therefore still fires, two ticks in one second fire once, a
/// machine waking from sleep long after the time stays quiet, and a clock set back over the
/// time does not fire a second time that day.
class AlarmTrigger
{
public:
    static constexpr std::int64_t kMaxTickGapSeconds = 60;

    /// Starts watching from `now`, forgetting what fired before.
    void restart(const ClockReading& now);

    /// One tick. `minuteOfDay` is the alarm's time, or nothing when no alarm is set.
    bool check(std::optional<int> minuteOfDay, const ClockReading& now);

private:
    std::optional<ClockReading> m_previous;
    std::int64_t m_firedDay = INT64_MIN;
    int m_firedMinute = -1;
};

} // namespace chimewell
