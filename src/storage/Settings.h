#pragma once

#include <optional>
#include <string>
#include <string_view>

// The settings file Chimewell.ini beside the executable and the files named from the
// application folder. Paths are composed anew at every access, by plain concatenation.

namespace chimewell {

inline constexpr std::string_view kOptionsSection = "options";
inline constexpr std::string_view kLanguageKey = "language";
inline constexpr std::string_view kFirstLoadKey = "firstload";
inline constexpr std::string_view kStartupKey = "startup";
inline constexpr std::string_view kRingMinutesKey = "ringminutes";
inline constexpr std::string_view kSnoozeMinutesKey = "snoozeminutes";

inline constexpr std::string_view kSettingsFileName = "Chimewell.ini";
inline constexpr std::string_view kDefaultSoundName = "alarm.mp3";
inline constexpr std::string_view kTrayIconName = "ra2.ico";
inline constexpr std::string_view kChangelogName = "changelog.txt";
inline constexpr std::string_view kPictureName = "timer.jpg";
inline constexpr std::string_view kPacksFolder = "packs";
inline constexpr std::string_view kScheduleFolder = "schedule";

/// `appDir` & separator & `name`, with no test for a separator already at the end.
std::string appFile(const std::string& appDir, std::string_view name);

/// `appDir` & separator & `folder` & separator & `name`.
std::string appFile(const std::string& appDir, std::string_view folder, std::string_view name);

std::string settingsFilePath(const std::string& appDir);

/// Whether a `language` value names a file inside the packs folder: not empty, no path
/// separator, not "." or "..". Anything else could point start-up at any file of the system.
bool isPackFileName(std::string_view name);

/// How long an alarm rings, from the `ringminutes` setting: 1, 5 or 15 minutes, or 0 (its
/// sound once) for anything else.
int ringMinutes(std::string_view setting);
/// How long a snooze lasts, from the `snoozeminutes` setting: 5, 10 or 15 minutes; 5 for
/// anything else.
int snoozeMinutes(std::string_view setting);

/// An alarm's own ring time: 0 (once), 1, 5 or 15 minutes; nothing (the setting holds) for
/// anything else.
std::optional<int> alarmRingMinutes(std::string_view value);
/// An alarm's own snooze length: 1 to 60 minutes; nothing (the setting holds) for anything
/// else.
std::optional<int> alarmSnoozeMinutes(std::string_view value);

/// One value of the `options` section of the settings file.
std::string readSetting(const std::string& appDir, std::string_view key);
bool writeSetting(const std::string& appDir, std::string_view key, const std::string& value,
                  std::string* error = nullptr);

} // namespace chimewell
