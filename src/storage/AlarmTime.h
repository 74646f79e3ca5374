#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
std::string dayNameOf(const LocalDateTime& now);

/// True for one of the seven English day names, compared without regard to letter case;
/// `canonical` then receives the name as it is spelt in day files.
bool isDayName(std::string_view text, std::string* canonical = nullptr);

/// A typed time of day "h:mm" or "hh:mm" (hours 0-23, minutes 00-59, blanks around it
/// ignored) as minutes after midnight; nothing for any other text.
std::optional<int> parseTimeOfDay(std::string_view text);

/// Minutes after midnight as "hh:mm".
std::string formatTimeOfDay(int minutes);

/// Whether an alarm stored as `timeText` is still to come today: a readable time strictly
/// later than now (a time equal to now has already come).
bool isPending(std::string_view timeText, const LocalDateTime& now);

/// What one tick found: nothing, an alarm to ring now, or an alarm whose instant passed while
/// no tick came (the machine slept, the program was stopped, the clock was set forward).
enum class AlarmDue
{
    No,
    Ring,
    Missed
};

struct AlarmCheck
{
    AlarmDue due = AlarmDue::No;
    /// The alarm's day (days since 1970-01-01, local) and minute; for a missed alarm the
    /// latest one that passed.
    std::int64_t day = 0;
    int minuteOfDay = 0;
};

/// Decides, tick by tick, when an alarm set for a minute of the day falls due. It rings on
/// the first tick at or after the alarm's instant (the time at :00) when the previous tick
/// was before it and at most a minute of real time back. When the previous tick was longer
/// ago, the instants that passed in between are reported as missed instead, so a machine
/// waking from sleep long after the time tells the user rather than ringing late. Either way
/// an alarm is reported at most once per day for the same time, so a clock set back over
/// the time does not ring a second time that day.
class AlarmTrigger
{
public:
    static constexpr std::int64_t kMaxTickGapSeconds = 60;
    /// How many days back a long gap is searched for missed alarms: a week holds them all.
    static constexpr std::int64_t kMaxMissedDays = 8;

    /// The alarm's minute on a given day (days since 1970-01-01), nothing on that day, or
    /// kUnknownMinute when it cannot be known on this tick (its file was being rewritten):
    /// the tick is then skipped, and the next one covers its time.
    static constexpr int kUnknownMinute = -1;
    using MinuteOnDay = std::function<std::optional<int>(std::int64_t day)>;

    /// Starts watching from `now`, forgetting what fired before.
    void restart(const ClockReading& now);

    /// One tick of an alarm that may differ from day to day.
    AlarmCheck check(const MinuteOnDay& minuteOn, const ClockReading& now);
    /// One tick of an alarm at the same minute every day, or of none.
    AlarmCheck check(std::optional<int> minuteOfDay, const ClockReading& now);

private:
    std::optional<ClockReading> m_previous;
    std::int64_t m_firedDay = INT64_MIN;
    int m_firedMinute = -1;
};

/// When a program that only waits for alarms must next look at the clock, as seconds since
/// the epoch: the next alarm instant (`minutesToday` are today's alarm times, `minutesTomorrow`
/// tomorrow's), the next midnight, the next of `instants` (snoozed alarms, the next change of
/// the clock's offset), and at the latest `heartbeatSeconds` from now, so that a change nobody
/// announced is seen in time. Always later than `now`.
std::int64_t nextWakeEpoch(const ClockReading& now, const std::vector<int>& minutesToday,
                           const std::vector<int>& minutesTomorrow,
                           const std::vector<std::int64_t>& instants, int heartbeatSeconds);

/// The weekday (0 for Sunday) of a day number.
int weekdayOfDayNumber(std::int64_t day);

} // namespace chimewell
