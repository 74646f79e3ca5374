// Kills a writer with SIGKILL at random moments and counts the damage: temporary files left
// behind (before and after the clean-up that every start does), settings files that lost
// their other lines, and day files holding part of one alarm and part of another.
//   killloop [KILLS]     (1000 by default; each kill is one settings write loop and one
//                         day-alarm save loop)
// Linux only: it forks.

#include "platform/AtomicFile.h"
#include "storage/DaySchedule.h"
#include "storage/IniFile.h"
#include "storage/Settings.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace chimewell;
namespace fs = std::filesystem;

namespace {

struct Alarm
{
    std::string reason, time, music;
    bool operator==(const Alarm&) const = default;
};
const Alarm kOld{"Old reason", "07:00", "old.mp3"};
const Alarm kNew{"A new and longer reason", "08:30", "/music/new alarm.mp3"};

int temporariesIn(const std::string& folder)
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".tmp")
            ++count;
    return count;
}

// Runs `writeForever` in a child and kills it after a random moment.
template <typename Write> void killDuringWrites(std::mt19937& random, Write writeForever)
{
    const pid_t child = fork();
    if (child == 0) {
        writeForever();
        _exit(0);
    }
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(500, 30000)(random)));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

} // namespace

int main(int argc, char** argv)
{
    const int kills = argc > 1 ? std::atoi(argv[1]) : 1000;
    const std::string folder = (fs::temp_directory_path() / "chimewell-killloop").string();
    fs::remove_all(folder);
    const std::string schedule = appFile(folder, kScheduleFolder);
    fs::create_directories(schedule);
    std::mt19937 random(12);

    // A settings file near the largest one read, so that a kill often lands inside a write.
    const std::string settings = settingsFilePath(folder);
    const std::string padding = "; " + std::string(kMaxIniFileBytes - 4096, 'x') + "\r\n";
    writeFileAtomically(settings, "[options]\r\nstartup=0\r\n" + padding, nullptr);
    int settingsLeftovers = 0, settingsAfterStart = 0, settingsDamaged = 0;
    for (int i = 0; i < kills; ++i) {
        killDuringWrites(random, [&] {
            for (int n = 0;; ++n)
                writeIniValue("options", "startup", n % 2 ? "1" : "0", settings);
        });
        settingsLeftovers += temporariesIn(folder);
        removeStaleTemporaries(folder, {std::string(kSettingsFileName)});
        settingsAfterStart += temporariesIn(folder);
        std::string bytes;
        readWholeFile(settings, bytes);
        if (bytes.find(padding) == std::string::npos || readSetting(folder, "startup").empty())
            ++settingsDamaged;
    }

    writeDayAlarm(folder, "Tuesday", kOld.reason, kOld.time, kOld.music, nullptr);
    int dayLeftovers = 0, dayAfterStart = 0, mixed = 0, newOnes = 0;
    for (int i = 0; i < kills; ++i) {
        killDuringWrites(random, [&] {
            for (int n = 0;; ++n) {
                const Alarm& a = n % 2 ? kOld : kNew;
                writeDayAlarm(folder, "Tuesday", a.reason, a.time, a.music, nullptr);
            }
        });
        dayLeftovers += temporariesIn(schedule);
        removeStaleTemporaries(schedule, {"Tuesday.ini"});
        dayAfterStart += temporariesIn(schedule);
        const Alarm read{readDayValue(folder, "Tuesday", kReasonKey),
                         readDayValue(folder, "Tuesday", kTimeKey),
                         readDayValue(folder, "Tuesday", kMusicKey)};
        if (read == kNew)
            ++newOnes;
        else if (!(read == kOld))
            ++mixed;
    }
    fs::remove_all(folder);

    std::printf("kills during settings writes: %d\n", kills);
    std::printf("  temporary files left by the kills: %d, after the next start: %d\n",
                settingsLeftovers, settingsAfterStart);
    std::printf("  settings files that lost lines: %d\n", settingsDamaged);
    std::printf("kills during day-alarm saves: %d\n", kills);
    std::printf("  temporary files left by the kills: %d, after the next start: %d\n", dayLeftovers,
                dayAfterStart);
    std::printf("  day files with the old alarm: %d, the new one: %d, a mix: %d\n",
                kills - newOnes - mixed, newOnes, mixed);
    return settingsAfterStart + settingsDamaged + dayAfterStart + mixed == 0 ? 0 : 1;
}
