#pragma once

#include "AlarmTime.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The weekly schedule: one day file per weekday in the schedule folder. Its section "alarm"
// holds the day's alarm (keys "reason", "time" and "music"), as every reader of these files
// knows it; further alarms of the day are sections "alarm 2", "alarm 3"... with the same keys.
// Any alarm section may also say how long it rings ("ringminutes"), how long a snooze lasts
// ("snoozeminutes"), how loud it plays ("volume") and fades in ("fadeseconds"), and that it is
// switched off ("off=1").
//
// A reader of the "alarm" section alone must keep seeing what is true: it never holds an alarm
// that was switched off, and it holds one of the day's switched-on alarms whenever the day has
// one. Every change below keeps that so.

namespace chimewell {

inline constexpr std::string_view kAlarmSection = "alarm";
inline constexpr std::string_view kReasonKey = "reason";
inline constexpr std::string_view kTimeKey = "time";
inline constexpr std::string_view kMusicKey = "music";
inline constexpr std::string_view kOffKey = "off";

/// The day file of `day`: application folder, schedule folder, day name, ".ini".
std::string dayFilePath(const std::string& appDir, std::string_view day);

std::string readDayValue(const std::string& appDir, std::string_view day, std::string_view key);

/// Whether a section name names an alarm: "alarm", or "alarm" and a number ("Alarm 7").
bool isAlarmSection(std::string_view name);

/// One alarm section of a day file, its values as read ("" for a missing key).
struct DayAlarm
{
    std::string section; // as the file spells it
    std::string reason;
    std::string time;
    std::string music;
    std::string ringMinutes;
    std::string snoozeMinutes;
    bool off = false;
    std::string volume;      // its own volume, percent
    std::string fadeSeconds; // its own fade-in

    bool isFirst() const; // the section "alarm"
    /// Minutes after midnight, or nothing for a time that cannot be read.
    std::optional<int> minuteOfDay() const { return parseTimeOfDay(time); }
    /// The values, whatever the section: two alarms alike in these ring alike.
    bool sameAs(const DayAlarm& other) const;
    bool operator==(const DayAlarm&) const = default;
};

/// The alarms of a day file, shared while the file stays as it is: a large file is not made
/// into alarms again at every look at the clock.
using AlarmList = std::shared_ptr<const std::vector<DayAlarm>>;
/// The alarms of each weekday (0 for Sunday).
using WeekAlarms = std::array<AlarmList, 7>;

/// The alarms of one day file in file order; a section without a reason, a time and a sound
/// (as Delete leaves "alarm") is none.
struct DayAlarms
{
    enum State
    {
        Read,
        Refused, // too large or unreadable: `refusal` says why
        Torn     // another program was rewriting it: not known this time
    } state = Read;
    std::string refusal;
    AlarmList alarms; // never null
};
DayAlarms readDayAlarms(const std::string& appDir, std::string_view day);

/// One row of the week's alarms: alarms alike in every value on several days are one row,
/// which holds at most one alarm of each weekday.
struct AlarmRow
{
    DayAlarm alarm;                                // the values (and the first day's section)
    std::vector<std::pair<int, std::string>> days; // weekday (0 for Sunday) and its section
    unsigned dayMask() const;                      // bit w for weekday w
};
/// The rows of a week of day files (`week[w]` the alarms of weekday w), by time (times that
/// cannot be read last), then reason.
std::vector<AlarmRow> alarmRows(const WeekAlarms& week);

/// The days of `mask` (bit w for weekday w) as runs of days that follow each other, {first,
/// last}, in the order of a week that starts on `firstDay`. The week is a circle: Saturday and
/// Sunday are one run whatever day the week starts on, placed where its first day is.
std::vector<std::pair<int, int>> dayRuns(unsigned mask, int firstDay);

/// What an edit changes in an alarm: the fields that are set.
struct AlarmChange
{
    std::optional<std::string> reason;
    std::optional<std::string> time;
    std::optional<std::string> music;
    std::optional<std::string> ringMinutes;
    std::optional<std::string> snoozeMinutes;
    std::optional<bool> off;
    std::optional<std::string> volume;
    std::optional<std::string> fadeSeconds;
    bool isEmpty() const;
};

/// `alarm` with what `change` sets.
DayAlarm changedAlarm(DayAlarm alarm, const AlarmChange& change);

/// Each of these writes the day file once, in one atomic replacement, creating the schedule
/// folder when it is missing; the lines they do not change keep their bytes. They return false,
/// with the reason in `error`, when the file could not be written, and when the alarm they are
/// to change is no longer in the file as `before` says (changed by hand meanwhile): then
/// nothing is written, and `changedMeanwhile` (when given) is set.
///
/// With `checkOnly` they write nothing, and return whether they would write and could.
///
/// Those of the Alarms window leave "alarm" holding the day's earliest switched-on alarm (with
/// none, empty values). An alarm moves between sections by the name of its section alone, so
/// its comments and other keys move with it; a section that goes takes only its header and its
/// alarm's keys, and keeps its header where other keys stay in it or where it hides a later
/// section of the same name.

/// Adds an alarm (its `section` is ignored).
bool addDayAlarm(const std::string& appDir, std::string_view day, const DayAlarm& alarm,
                 std::string* error = nullptr, bool checkOnly = false);
/// Changes the alarm `before`.
bool changeDayAlarm(const std::string& appDir, std::string_view day, const DayAlarm& before,
                    const AlarmChange& change, std::string* error = nullptr,
                    bool* changedMeanwhile = nullptr, bool checkOnly = false);
/// Removes the alarm `before`.
bool deleteDayAlarm(const std::string& appDir, std::string_view day, const DayAlarm& before,
                    std::string* error = nullptr, bool* changedMeanwhile = nullptr,
                    bool checkOnly = false);

/// The Schedule dialog: puts an alarm into "alarm" in the order reason, time, music, in place
/// of what it held.
bool writeDayAlarm(const std::string& appDir, std::string_view day, const std::string& reason,
                   const std::string& time, const std::string& music, std::string* error = nullptr);
/// The Delete dialog: removes the alarm in "alarm", as deleteDayAlarm does.
bool clearDayAlarm(const std::string& appDir, std::string_view day, std::string* error = nullptr);

} // namespace chimewell
