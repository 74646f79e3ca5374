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

bool isPackFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

} // namespace chimewell
