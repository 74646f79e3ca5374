#include "DaySchedule.h"

#include "IniFile.h"
#include "Settings.h"
#include "platform/AtomicFile.h"

#include <filesystem>

namespace chimewell {

std::string dayFilePath(const std::string& appDir, std::string_view day)
{
    return appFile(appDir, kScheduleFolder, std::string(day) + ".ini");
}

std::string readDayValue(const std::string& appDir, std::string_view day, std::string_view key)
{
    return readIniValue(std::string(kAlarmSection), std::string(key), dayFilePath(appDir, day));
}

std::optional<std::string> tryReadDayValue(const std::string& appDir, std::string_view day,
                                           std::string_view key)
{
    return tryReadIniValue(std::string(kAlarmSection), std::string(key), dayFilePath(appDir, day));
}

bool writeDayAlarm(const std::string& appDir, std::string_view day, const std::string& reason,
                   const std::string& time, const std::string& music, std::string* error)
{
    std::error_code ec;
    std::filesystem::create_directories(pathFromUtf8(appFile(appDir, kScheduleFolder)), ec);
    const std::string path = dayFilePath(appDir, day);
    // One replacement of the file: a crash never leaves the new reason with the old time.
    return writeIniValues(std::string(kAlarmSection),
                          {{std::string(kReasonKey), reason},
                           {std::string(kTimeKey), time},
                           {std::string(kMusicKey), music}},
                          path, error);
}

} // namespace chimewell
