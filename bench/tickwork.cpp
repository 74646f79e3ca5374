// Times one look at the clock as the program makes it (AlarmScheduler::check: the snoozes, the
// one-shot alarm, today's day file and the list of coming alarms from all seven), for a week of
// small day files, for seven days of 20 alarms each, and with a day file just under the largest
// size read (1 MB).
//   tickwork [ITERATIONS]     (default 20000)

#include "alarm/AlarmScheduler.h"
#include "lang/LanguagePack.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/QtTrayIcon.h"
#include "platform/SoundDevice.h"
#include "storage/AlarmTime.h"
#include "storage/IniFile.h"
#include "tray/TrayModule.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

using namespace chimewell;
using Steady = std::chrono::steady_clock;

namespace {

struct SteppedClock final : Clock
{
    QDateTime time = QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0)); // a Monday morning
    QDateTime now() const override { return time; }
};

struct NoMessages final : MessageBox
{
    void show(const QString&, MessageIcon) override {}
    bool ask(const QString&) override { return false; }
};

// Times `iterations` looks at the clock, one second apart, with the day files `write` makes.
void timeChecks(const char* what, const std::function<void(const QString&)>& write, int iterations)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("schedule"));
    write(dir.path() + QStringLiteral("/schedule/"));
    // Written a while ago, as day files are: one changed in the last two seconds is read anew
    // at every look.
    for (const QString& name :
         QDir(dir.path() + QStringLiteral("/schedule")).entryList(QDir::Files))
        std::filesystem::last_write_time(
            (dir.path() + QStringLiteral("/schedule/") + name).toStdString(),
            std::filesystem::file_time_type::clock::now() - std::chrono::seconds(3));

    SteppedClock clock;
    NoMessages messages;
    const auto sound = makeSoundDevice();
    QtTrayIcon icon;
    PlatformServices services;
    services.clock = &clock;
    services.messages = &messages;
    services.sound = sound.get();
    services.tray = &icon;
    LanguagePack texts(messages);
    TrayModule tray(icon, nullptr);
    AlarmScheduler alarms(services, dir.path(), tray, texts);

    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(iterations));
    for (int i = 0; i < iterations; ++i) {
        clock.time = clock.time.addSecs(1);
        const auto start = Steady::now();
        alarms.check();
        const auto stop = Steady::now();
        micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) {
        return micros[static_cast<std::size_t>(q * double(micros.size() - 1))];
    };
    std::printf("a look at the clock, %s: %d looks, min %.1f us, median %.1f us, p99 %.1f us, "
                "max %.1f us; %lld alarms to come\n",
                what, iterations, micros.front(), at(0.5), at(0.99), micros.back(),
                static_cast<long long>(alarms.coming().size()));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray section(const QByteArray& name, int minute)
{
    return "[" + name + "]\r\nREASON=Stand-up meeting\r\nTIME=" +
           QByteArray::fromStdString(formatTimeOfDay(minute)) +
           "\r\nMUSIC=/home/me/Music/chime.mp3\r\n";
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int iterations = argc > 1 ? std::max(100, std::atoi(argv[1])) : 20000;
    const QStringList days = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                              "Thursday", "Friday", "Saturday"};
    timeChecks(
        "one alarm a day",
        [&](const QString& folder) {
            for (const QString& day : days)
                writeFile(folder + day + ".ini", section("alarm", 13 * 60));
        },
        iterations);
    timeChecks(
        "20 alarms a day, 7 days",
        [&](const QString& folder) {
            for (const QString& day : days) {
                QByteArray text = section("alarm", 6 * 60);
                for (int i = 2; i <= 20; ++i)
                    text += section("alarm " + QByteArray::number(i), 6 * 60 + i * 47);
                writeFile(folder + day + ".ini", text);
            }
        },
        iterations);
    // Monday's file of almost 1 MB (a long comment after the alarm): read once, then kept until
    // it changes.
    timeChecks(
        "a 1 MB day file",
        [&](const QString& folder) {
            const QByteArray line = "; a line of a very long comment that someone pasted in\r\n";
            QByteArray large = section("alarm", 13 * 60);
            while (std::uintmax_t(large.size() + line.size()) <= kMaxIniFileBytes)
                large += line;
            writeFile(folder + "Monday.ini", large);
        },
        std::max(100, iterations / 10));
    return 0;
}
