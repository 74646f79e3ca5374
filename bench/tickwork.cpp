// Times one look at the clock as the program makes it (AlarmScheduler::check: the snoozes, the
// one-shot alarm, today's day file and the list of coming alarms from all seven), for a week of
// small day files, for seven days of 20 alarms each, and with a day file just under the largest
// size read (1 MB). Then the Alarms window shown over one day file of 20,000 alarms: the
// time of an Add (OK to the list shown again), of a switch off, and of the looks at the clock
// with that file (written a while ago, and with its time in the future).
//   tickwork [ITERATIONS]     (default 20000)

#include "alarm/AlarmScheduler.h"
#include "lang/LanguagePack.h"
#include "platform/Clock.h"
#include "platform/FilePicker.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/QtTrayIcon.h"
#include "platform/SoundDevice.h"
#include "schedule/AlarmEditor.h"
#include "schedule/AlarmListModel.h"
#include "schedule/AlarmsWindow.h"
#include "storage/AlarmTime.h"
#include "storage/IniFile.h"
#include "tray/TrayModule.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
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

struct NoPicker final : FilePicker
{
    std::optional<QString> openFile(QWidget*, const QList<FileFilter>&, int) override
    {
        return std::nullopt;
    }
};

// The program's alarm model over the application folder `dir`, on a clock the benchmark moves.
struct Model
{
    SteppedClock clock;
    NoMessages messages;
    NoPicker picker;
    std::unique_ptr<SoundDevice> sound = makeSoundDevice();
    QtTrayIcon icon;
    PlatformServices services;
    LanguagePack texts{messages};
    TrayModule tray{icon, nullptr};
    std::unique_ptr<AlarmScheduler> alarms;

    explicit Model(const QString& dir)
    {
        services.clock = &clock;
        services.messages = &messages;
        services.sound = sound.get();
        services.tray = &icon;
        services.picker = &picker;
        alarms = std::make_unique<AlarmScheduler>(services, dir, tray, texts);
    }
};

double millisecondsSince(Steady::time_point start)
{
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

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

    Model model(dir.path());
    SteppedClock& clock = model.clock;
    AlarmScheduler& alarms = *model.alarms;

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

// Monday's file of 20,000 alarms, each with its reason and time; a little room is left for
// the alarm the benchmark adds.
QByteArray twentyThousandAlarms()
{
    QByteArray text;
    for (int i = 0; i < 20000; ++i) {
        text += (i ? "[alarm " + QByteArray::number(i + 1) + "]" : QByteArray("[alarm]")) +
                "\r\nREASON=Task " + QByteArray::number(i) +
                "\r\nTIME=" + QByteArray::fromStdString(formatTimeOfDay(i % 1440)) + "\r\n";
    }
    return text;
}

// The Alarms window as a person uses it, over the 20,000 alarms of one day.
void timeALargeDay(const std::function<void(const QString&)>& write)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("schedule"));
    write(dir.path() + QStringLiteral("/schedule/Monday.ini"));
    Model model(dir.path());
    SteppedClock& clock = model.clock;
    AlarmScheduler& alarms = *model.alarms;
    auto start = Steady::now();
    AlarmsWindow window(model.services, dir.path(), alarms, model.texts);
    window.show();
    QApplication::processEvents();
    const double shown = millisecondsSince(start);

    const AlarmEditorNames& name = alarmEditorNames;
    window.addAlarm();
    AlarmEditor* editor = window.editor();
    editor->findChild<QLineEdit*>(QLatin1String(name.reason))->setText(QStringLiteral("Added"));
    editor->findChild<QLineEdit*>(QLatin1String(name.time))->setText(QStringLiteral("07:31"));
    editor->findChildren<QCheckBox*>(QLatin1String(name.day)).at(1)->setChecked(true);
    start = Steady::now();
    editor->findChild<QPushButton*>(QLatin1String(name.ok))->click();
    QApplication::processEvents();
    const double added = millisecondsSince(start);
    const qsizetype rows = window.model()->rowCount();

    // The first row (00:00, in [alarm]) switched off: the earliest switched-on moves up.
    start = Steady::now();
    window.table()->setFocus();
    window.table()->selectRow(0);
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(window.table(), &key);
    }
    QApplication::processEvents();
    const double switched = millisecondsSince(start);

    std::vector<double> looks;
    for (int i = 0; i < 2000; ++i) {
        clock.time = clock.time.addSecs(1);
        start = Steady::now();
        alarms.check();
        looks.push_back(millisecondsSince(start) * 1000);
    }
    std::sort(looks.begin(), looks.end());
    std::printf("the Alarms window over one day file of 20,000 alarms: opened in %.0f ms, an Add "
                "%.0f ms (%lld rows), a switch off %.0f ms; a look at the clock: median %.1f us, "
                "p99 %.1f us\n",
                shown, added, static_cast<long long>(rows), switched, looks[looks.size() / 2],
                looks[looks.size() * 99 / 100]);
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
    const auto aWhileAgo = [](const QString& path, std::chrono::seconds age) {
        writeFile(path, twentyThousandAlarms());
        std::filesystem::last_write_time(path.toStdString(),
                                         std::filesystem::file_time_type::clock::now() - age);
    };
    timeALargeDay([&](const QString& path) { aWhileAgo(path, std::chrono::seconds(3)); });
    std::printf("(the same, the file's time a day in the future) ");
    timeALargeDay([&](const QString& path) { aWhileAgo(path, std::chrono::hours(-24)); });
    return 0;
}
