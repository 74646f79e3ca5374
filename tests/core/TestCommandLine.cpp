#include "CoreTest.h"
#include "app/CommandArguments.h"
#include "storage/AlarmList.h"
#include "storage/Timers.h"

using namespace chimewell;
using namespace coretest;

TEST_CASE("timerLengths")
{
    const std::vector<std::pair<std::string, std::optional<std::int64_t>>> rows = {
        {"25", 1500},     {"20m", 1200},
        {"90s", 90},      {"1h30m", 5400},
        {"1h 30m", 5400}, {"2H", 7200},
        {"1h1m1s", 3661}, {"24h", 86400},
        {"1s", 1},        {"1440", 86400},
        {"0", {}},        {"0s", {}},
        {"24h1s", {}},    {"25h", {}},
        {"1441", {}},     {"-5m", {}},
        {"abc", {}},      {"", {}},
        {"m", {}},        {"30m1h", {}},
        {"1h1h", {}},     {"5x", {}},
        {"10m ", 600},    {"9999999m", {}},
        {"1.5h", {}},     {"12345678901234567890", {}}};
    for (const auto& [text, seconds] : rows) {
        CAPTURE(text);
        CHECK_EQ(parseTimerLength(text), seconds);
    }
}

TEST_CASE("timerReasonsAreCleanedAndCut")
{
    CHECK_EQ(cleanTimerReason("  Tea\tpot\n "), "Tea pot");
    CHECK_EQ(cleanTimerReason("Tee \xc3\xa4"), "Tee \xc3\xa4");
    CHECK_EQ(cleanTimerReason("a\xff"
                              "b\xc3"),
             "a\xef\xbf\xbd"
             "b\xef\xbf\xbd");
    CHECK_EQ(cleanTimerReason("\xed\xa0\x80"), "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd");
    CHECK_EQ(cleanTimerReason(std::string(100000, 'x')), std::string(kLongestTimerReason, 'x'));
    // Cut by characters, never inside one.
    std::string umlauts;
    for (int i = 0; i < 300; ++i)
        umlauts += "\xc3\xb6";
    CHECK_EQ(cleanTimerReason(umlauts).size(), 2 * kLongestTimerReason);
}

TEST_CASE("theArguments")
{
    using V = CommandRequest;
    const auto parsed = [](std::vector<std::string> arguments) {
        return parseArguments(arguments);
    };
    CHECK_EQ(parsed({}).verb, V::Start);
    CHECK_EQ(parsed({"-minimized"}).verb, V::StartHidden);
    CHECK_EQ(parsed({"--background"}).verb, V::Background);
    CHECK_EQ(parsed({"--help"}).verb, V::Help);
    CHECK_EQ(parsed({"--version"}).verb, V::Version);
    const CommandRequest timer = parsed({"--timer", "20m", "Tea\x01pot"});
    CHECK_EQ(timer.verb, V::Timer);
    CHECK_EQ(timer.seconds, 1200);
    CHECK_EQ(timer.reason, "Tea pot");
    CHECK_EQ(parsed({"--timer", "90s"}).reason, "");
    CHECK_EQ(parsed({"--stop"}).id, "");
    CHECK_EQ(parsed({"--snooze", "monday.2"}).id, "monday.2");
    CHECK_EQ(parsed({"--snooze", "monday.2"}).verb, V::Snooze);
    CHECK_EQ(parsed({"--cancel", "t3"}).id, "t3");
    CHECK(parsed({"--list", "--json"}).json);
    CHECK_FALSE(parsed({"--list"}).json);
    CHECK(parsed({"--list"}).isForRunningCopy());
    CHECK_FALSE(parsed({"--help"}).isForRunningCopy());
    for (const std::vector<std::string>& refused :
         std::vector<std::vector<std::string>>{{"--timer"},
                                               {"--timer", "0"},
                                               {"--timer", "-5m"},
                                               {"--timer", "25h"},
                                               {"--timer", "abc"},
                                               {"--timer", "5m", "a", "b"},
                                               {"--cancel"},
                                               {"--stop", "a", "b"},
                                               {"--list", "--xml"},
                                               {"--help", "me"},
                                               {"-MINIMIZED"},
                                               {"/minimized"},
                                               {"-minimized", "x"},
                                               {"--frobnicate"}}) {
        CAPTURE(refused.front());
        const CommandRequest request = parsed(refused);
        CHECK_EQ(request.verb, V::Refused);
        CHECK_FALSE(request.refusal.empty());
    }
}

TEST_CASE("requestsAndRepliesTravelWhole")
{
    CHECK_EQ(decodeArguments(encodeArguments({"--list"})), std::vector<std::string>{"--list"});
    CHECK_EQ(decodeArguments(encodeArguments({})).size(), 0u);
    CHECK_EQ(decodeArguments(encodeArguments({"--timer", "5m", "Tea", ""})),
             std::vector<std::string>{"--timer", "5m", "Tea", ""});
    CommandReply reply{CommandStatus::NothingToDo, "out\n", "err"};
    CommandReply back;
    REQUIRE(decodeReply(encodeReply(reply), back));
    CHECK_EQ(back.status, CommandStatus::NothingToDo);
    CHECK_EQ(back.out, "out\n");
    CHECK_EQ(back.err, "err");
    using namespace std::string_literals;
    for (const std::string& garbage : {""s, "7\0a\0b"s, "1\0only"s, "x\0\0"s, "12\0\0"s})
        CHECK_FALSE(decodeReply(garbage, back));
}

TEST_CASE("timersKeptInTheSettingsFile")
{
    TempDir dir;
    const std::string settings = dir.file("Chimewell.ini");
    const std::string before = "; mine\r\n[options]\r\nlanguage=German.lpk\r\n[timers]\r\n"
                               "note=keep me\r\nT9=bad\r\n";
    writeFile(settings, before);
    REQUIRE(writeTimers(dir.path(), {{"t1", 1800000000, "Tea"}, {"t2", 1700000000, ""}}));
    CHECK_EQ(readFile(settings), before + "T1=1800000000 Tea\r\nT2=1700000000\r\n");
    // Earliest first; a key that is no timer stays as it is.
    CHECK_EQ(readTimers(dir.path()),
             std::vector<KeptTimer>{{"t2", 1700000000, ""}, {"t1", 1800000000, "Tea"}});
    REQUIRE(writeTimers(dir.path(), {{"t2", 1700000000, ""}}));
    CHECK_EQ(readFile(settings), before + "T2=1700000000\r\n");
    REQUIRE(writeTimers(dir.path(), {}));
    CHECK_EQ(readFile(settings), before);
    // The most timers there can be, with the longest reasons, fit well within the 1 MB limit.
    std::vector<KeptTimer> most;
    for (std::size_t i = 0; i < kMostTimers; ++i)
        most.push_back({std::string("t").append(std::to_string(i + 1)), 1800000000,
                        cleanTimerReason(std::string(1000, '\xf0'))});
    REQUIRE(writeTimers(dir.path(), most));
    const std::vector<KeptTimer> read = readTimers(dir.path());
    CHECK_EQ(read.size(), kMostTimers);
    CHECK_EQ(read.back().reason, most.back().reason);
    CHECK_LT(readFile(settings).size(), std::size_t(1) << 20);
    CHECK_EQ(nextTimerId({}), "t1");
    CHECK_EQ(nextTimerId({{"t2", 0, ""}, {"t10", 0, ""}}), "t11");
}

TEST_CASE("whatComesAsListed")
{
    // Monday 2026-12-07 12:00:00 local, the epoch as if local were UTC.
    const std::int64_t epoch = dayNumber(2026, 12, 7) * 86400 + 12 * 3600;
    const ClockReading now{{2026, 12, 7, 12, 0, 0}, epoch};
    WeekAlarms week;
    for (auto& day : week)
        day = std::make_shared<const std::vector<DayAlarm>>();
    week[1] = std::make_shared<const std::vector<DayAlarm>>(
        std::vector<DayAlarm>{{"alarm", "Gym", "7:30", "", "", "", false, "", ""},
                              {"Alarm 3", "Lunch", "12:30", "", "", "", false, "", ""},
                              {"alarm 2", "Off", "12:10", "", "", "", true, "", ""}});
    const std::vector<ListedAlarm> listed =
        listComing(now, week, 13 * 60, "Meeting", {{epoch + 300, "monday.1", "Gym"}},
                   {{epoch + 1200, "t1", "\"Tea\"\tpot"}});
    std::vector<std::string> lines;
    for (const ListedAlarm& alarm : listed)
        lines.push_back(alarm.kind + ' ' + alarm.id + ' ' +
                        std::to_string(alarm.epochSeconds - epoch));
    CHECK_EQ(lines, std::vector<std::string>{"snoozed monday.1 300", "timer t1 1200",
                                             "weekly monday.3 1800", "once once 3600",
                                             "weekly monday.1 588600"}); // next Monday 7:30
    CHECK_EQ(listText({listed[1]}), "2026-12-07 12:20:00\ttimer\tt1\t\"Tea\" pot\n");
    CHECK_EQ(
        listJson({listed[1]}),
        "[\n  {\"time\": \"2026-12-07 12:20:00\", \"due\": " + std::to_string(epoch + 1200) +
            ", \"kind\": \"timer\", \"id\": \"t1\", \"reason\": \"\\\"Tea\\\"\\u0009pot\"}\n]\n");
    CHECK_EQ(listJson({}), "[]\n");
    CHECK_EQ(weeklyAlarmId(0, "alarm"), "sunday.1");
    CHECK_EQ(weeklyAlarmId(6, "ALARM  12"), "saturday.12");
}
