#include "Settings.h"

#include "IniFile.h"
#include "platform/PathSeparator.h"

#include <string>

namespace chimewell {

std::string appFile(const std::string& appDir, std::string_view name)
{
    std::string path = appDir;
    path += kPathSeparator;
    path += name;
    return path;
}

std::string appFile(const std::string& appDir, std::string_view folder, std::string_view name)
{
    std::string path = appFile(appDir, folder);
    path += kPathSeparator;
    path += name;
    return path;
}

std::string settingsFilePath(const std::string& appDir)
{
    return appFile(appDir, kSettingsFileName);
}

std::string readSetting(const std::string& appDir, std::string_view key)
{
    return readIniValue(std::string(kOptionsSection), std::string(key), settingsFilePath(appDir));
}

bool writeSetting(const std::string& appDir, std::string_view key, const std::string& value,
                  std::string* error)
{
    return writeIniValue(std::string(kOptionsSection), std::string(key), value,
                         settingsFilePath(appDir), error);
}

int ringMinutes(std::string_view setting)
{
    for (const int minutes : {1, 5, 15})
        if (setting == std::to_string(minutes))
            return minutes;
    return 0;
}

int snoozeMinutes(std::string_view setting)
{
    for (const int minutes : {5, 10, 15})
        if (setting == std::to_string(minutes))
            return minutes;
    return 5;
}

std::optional<int> alarmRingMinutes(std::string_view value)
{
    if (value == "0")
        return 0;
    if (const int minutes = ringMinutes(value))
        return minutes;
    return std::nullopt;
}

std::optional<int> alarmSnoozeMinutes(std::string_view value)
{
    if (value.empty() || value.size() > 2 ||
        value.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const int minutes = std::stoi(std::string(value));
    if (minutes < 1 || minutes > 60)
        return std::nullopt;
    return minutes;
}

bool isPackFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

} // namespace chimewell
