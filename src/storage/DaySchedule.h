#pragma once

#include "AlarmTime.h"

#include <string>
#include <string_view>

// The weekly schedule: one day file per weekday in the schedule folder, section "alarm",
// keys "reason", "time" and "music"; and the rules of the main window's status line.

namespace chimewell {

inline constexpr std::string_view kAlarmSection = "alarm";
inline constexpr std::string_view kReasonKey = "reason";
inline constexpr std::string_view kTimeKey = "time";
inline constexpr std::string_view kMusicKey = "music";

inline constexpr std::string_view kScheduledActiveText = "Scheduled alarm active (";
inline constexpr std::string_view kAlarmActiveText = "Alarm active";
inline constexpr std::string_view kNoAlarmText = "No alarm active...";

/// The day file of `day`: application folder, schedule folder, day name, ".ini".
std::string dayFilePath(const std::string& appDir, std::string_view day);

std::string readDayValue(const std::string& appDir, std::string_view day, std::string_view key);
/// The same, but nothing when the file changed under the read (see tryReadIniValue).
std::optional<std::string> tryReadDayValue(const std::string& appDir, std::string_view day,
                                           std::string_view key);

/// Writes the day's alarm in the order reason, time, music, in one atomic replacement of the
/// day file, creating the schedule folder when it is missing. Returns false, with the
/// reason, when the write failed.
bool writeDayAlarm(const std::string& appDir, std::string_view day, const std::string& reason,
                   const std::string& time, const std::string& music, std::string* error = nullptr);

/// What the status panel shows: a text, and whether the alarm-active picture goes with it.
struct StatusText
{
    std::string text;
    bool alarmPicture = false;

    bool operator==(const StatusText&) const = default;
};

/// The status for today's weekly alarm, stored as `time`, when it is still to come.
bool weeklyStatus(std::string_view time, const LocalDateTime& now, StatusText& status);

/// The status of the one-shot alarm: armed with a time still to come today, or none.
StatusText oneShotStatus(bool armed, std::string_view time, const LocalDateTime& now);

} // namespace chimewell
