// Times the work of one weekly-alarm tick as the program does it: find today's day file, read
// its time, and ask the trigger whether it is due; with a small day file and one just under the
// largest size read (1 MB).
//   tickwork [ITERATIONS]     (default 20000)

#include "storage/AlarmTime.h"
#include "storage/DaySchedule.h"
#include "storage/IniFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

using namespace chimewell;
using Clock = std::chrono::steady_clock;

namespace {

// Times `iterations` ticks against a Monday file whose text is `fileText`; prints one line.
void timeTicks(const char* what, const std::string& fileText, int iterations)
{
    const auto dir = std::filesystem::temp_directory_path() / "chimewell-tickwork";
    std::filesystem::create_directories(dir / "schedule");
    const auto file = dir / "schedule" / "Monday.ini";
    std::ofstream(file, std::ios::binary) << fileText;
    // Written a while ago, as day files are: one changed in the last two seconds is read anew
    // at every look.
    std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::seconds(3));
    const std::string appDir = dir.string();

    ClockReading now;
    now.local = {2026, 12, 7, 9, 0, 0}; // a Monday, hours before the alarm
    now.epochSeconds = 1796634000;
    AlarmTrigger trigger;
    trigger.restart(now);

    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(iterations));
    int due = 0;
    for (int i = 0; i < iterations; ++i) {
        const auto start = Clock::now();
        const std::string day = dayNameOf(now.local);
        const std::string time = readDayValue(appDir, day, kTimeKey);
        due += trigger.check(parseTimeOfDay(time), now).due == AlarmDue::Ring ? 1 : 0;
        const auto stop = Clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
        ++now.epochSeconds;
    }
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) {
        return micros[static_cast<std::size_t>(q * (micros.size() - 1))];
    };
    std::printf("tick work, %s: %d ticks, min %.1f us, median %.1f us, p99 %.1f us, max %.1f "
                "us%s\n",
                what, iterations, micros.front(), at(0.5), at(0.99), micros.back(),
                due ? " (fired: unexpected)" : "");
    std::filesystem::remove_all(dir);
}

} // namespace

int main(int argc, char* argv[])
{
    const int iterations = argc > 1 ? std::max(100, std::atoi(argv[1])) : 20000;
    const std::string alarm =
        "[alarm]\r\nreason=Stand-up meeting\r\ntime=13:00\r\nmusic=/home/me/Music/chime.mp3\r\n";
    timeTicks("a small day file", alarm, iterations);
    // A day file of almost 1 MB (a long comment after the alarm): read once, then kept until it
    // changes.
    const std::string line = "; a line of a very long comment that someone pasted in\r\n";
    std::string large = alarm;
    while (large.size() + line.size() <= chimewell::kMaxIniFileBytes)
        large += line;
    timeTicks("a 1 MB day file", large, std::max(100, iterations / 100));
    return 0;
}
