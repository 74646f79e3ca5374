#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
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

/// Decides, tick by tick, when alarms set for minutes of the day fall due. An alarm rings on
/// the first tick at or after its instant (the time at :00) when the previous tick was before
/// it and at most a minute of real time back. When the previous tick was longer ago, the
/// instants that passed in between are reported as missed instead, so a machine waking from
/// sleep long after the time tells the user rather than ringing late. Either way an alarm is
/// reported at most once per day for the same time, so a clock set back over the time does
/// not ring a second time that day.
class AlarmTrigger
{
public:
    static constexpr std::int64_t kMaxTickGapSeconds = 60;
    /// How many days back a long gap is searched for missed alarms: a week holds them all.
    static constexpr std::int64_t kMaxMissedDays = 8;

    /// The alarms' minutes on a given day (days since 1970-01-01), or nothing when they cannot
    /// be known on this tick (a file was being rewritten): the tick is then skipped, and the
    /// next one covers its time.
    using MinutesOnDay = std::function<std::optional<std::vector<int>>(std::int64_t day)>;

    /// Starts watching from `now`, forgetting what fired before.
    void restart(const ClockReading& now);

    /// One tick of alarms that may differ from day to day: every alarm instant that fell due,
    /// in time order.
    std::vector<AlarmCheck> check(const MinutesOnDay& minutesOn, const ClockReading& now);
    /// One tick of an alarm at the same minute every day, or of none.
    std::vector<AlarmCheck> check(std::optional<int> minuteOfDay, const ClockReading& now);

private:
    std::optional<ClockReading> m_previous;
    std::set<std::pair<std::int64_t, int>> m_fired; // (day, minute) already reported
};

/// A local wall time as seconds: days since 1970-01-01 times 86400 plus the second of the day.
/// Wall seconds order alarms as the clock on the wall does.
std::int64_t wallSeconds(const LocalDateTime& time);
LocalDateTime fromWallSeconds(std::int64_t wallSeconds);

/// An alarm still to come.
struct ComingAlarm
{
    enum Kind
    {
        OneShot,
        Weekly,
        Snoozed
    };
    std::int64_t wallSecond = 0;
    Kind kind = OneShot;
    int weekday = 0;       // Weekly: the day file's weekday (0 for Sunday)
    std::size_t index = 0; // Weekly: which of that day's alarms; Snoozed: which snooze
    bool operator==(const ComingAlarm&) const = default;
};

/// The alarms to come after `now`, earliest first: the armed one-shot alarm (today, else
/// tomorrow), every weekly alarm within the next seven days (one that passed today comes a week
/// on), and the snoozed alarms (as wall seconds). `weekly[w]` holds the minutes of weekday w's
/// switched-on alarms, nothing for a time that cannot be read (it never rings).
std::vector<ComingAlarm> comingAlarms(const LocalDateTime& now, std::optional<int> oneShotMinute,
                                      const std::array<std::vector<std::optional<int>>, 7>& weekly,
                                      const std::vector<std::int64_t>& snoozedWallSeconds);

/// When a program that only waits for alarms must next look at the clock, as seconds since
/// the epoch: the first coming alarm, the next midnight, the next of `instants` (the next
/// change of the clock's offset), and at the latest `heartbeatSeconds` from now, so that a
/// change nobody announced is seen in time. Always later than `now`; an alarm whose time has
/// come already wakes at the next second.
std::int64_t nextWakeEpoch(const ClockReading& now, const std::vector<ComingAlarm>& coming,
                           const std::vector<std::int64_t>& instants, int heartbeatSeconds);

/// The weekday (0 for Sunday) of a day number.
int weekdayOfDayNumber(std::int64_t day);

} // namespace chimewell
