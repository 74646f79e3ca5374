#pragma once

#include "AlarmTime.h"

#include <string>
#include <string_view>

// The weekly schedule: one day file per weekday in the schedule folder, section "alarm",
// keys "reason", "time" and "music".

namespace chimewell {

inline constexpr std::string_view kAlarmSection = "alarm";
inline constexpr std::string_view kReasonKey = "reason";
inline constexpr std::string_view kTimeKey = "time";
inline constexpr std::string_view kMusicKey = "music";

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

} // namespace chimewell
