#pragma once

#include "AlarmTime.h"
#include "DaySchedule.h"
#include "Timers.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The alarms to come as the command line lists them, and the ids by which it names them:
// "once" for the one-shot alarm, the day and the section's number for a weekly alarm
// ("monday.1" for the "alarm" section of Monday.ini, "monday.3" for "alarm 3"), a timer's own
// id ("t7"). A snoozed alarm keeps the id of the alarm it snoozes.

namespace chimewell {

inline constexpr std::string_view kOneShotId = "once";

/// The id of the weekly alarm in section `section` of weekday `weekday`'s file.
std::string weeklyAlarmId(int weekday, std::string_view section);

/// An alarm to come, for the list.
struct ListedAlarm
{
    std::int64_t epochSeconds = 0;
    LocalDateTime local;
    std::string kind; // "once", "weekly", "snoozed", "timer"
    std::string id;
    std::string reason;
};

/// An alarm that comes at an instant: a snooze or a timer.
struct InstantAlarm
{
    std::int64_t epochSeconds = 0;
    std::string id;
    std::string reason;
};

/// What is to come within the next seven days from `now`, earliest first: the one-shot alarm
/// (`oneShotMinute` with `oneShotReason`), the switched-on weekly alarms of `week`, the snoozes and
/// the timers.
std::vector<ListedAlarm> listComing(const ClockReading& now, const WeekAlarms& week,
                                    std::optional<int> oneShotMinute,
                                    const std::string& oneShotReason,
                                    const std::vector<InstantAlarm>& snoozes,
                                    const std::vector<InstantAlarm>& timers);

/// One line per alarm: "YYYY-MM-DD HH:MM:SS", kind, id, reason, separated by tabs; control
/// characters of a reason become spaces.
std::string listText(const std::vector<ListedAlarm>& alarms);
/// The same as a JSON array of objects with "time", "due" (seconds since the epoch), "kind",
/// "id" and "reason".
std::string listJson(const std::vector<ListedAlarm>& alarms);

} // namespace chimewell
