#include "CoreTest.h"
#include "storage/AlarmTime.h"

#include <ostream>

using namespace chimewell;

namespace chimewell {
std::ostream& operator<<(std::ostream& out, AlarmDue due)
{
    return out << (due == AlarmDue::Ring ? "Ring" : due == AlarmDue::Missed ? "Missed" : "No");
}
} // namespace chimewell

namespace {

// A clock that counts real seconds from a local wall time on 2026-12-07 (a Monday).
ClockReading at(int hour, int minute, int second, int dayOffset = 0)
{
    ClockReading r;
    r.local = {2026, 12, 7 + dayOffset, hour, minute, second};
    r.epochSeconds =
        dayNumber(2026, 12, 7 + dayOffset) * 86400 + hour * 3600 + minute * 60 + second;
    return r;
}

bool rings(AlarmTrigger& trigger, std::optional<int> minute, const ClockReading& now)
{
    const std::vector<AlarmCheck> found = trigger.check(minute, now);
    return !found.empty() && found.front().due == AlarmDue::Ring;
}

// The trigger's answer for a day's minutes: nothing is "not known this time".
AlarmTrigger::MinutesOnDay minutesEveryDay(std::optional<std::vector<int>> minutes)
{
    return [minutes](std::int64_t) { return minutes; };
}

} // namespace

TEST_CASE("dayNamesAreEnglishAndFollowTheDate")
{
    const struct
    {
        int y, m, d;
        const char* name;
    } rows[] = {{2026, 12, 6, "Sunday"},
                {2026, 12, 12, "Saturday"},
                {2000, 2, 29, "Tuesday"},
                {1970, 1, 1, "Thursday"}};
    for (const auto& row : rows) {
        INFO(row.name);
        CHECK_EQ(dayNameOf({row.y, row.m, row.d, 23, 59, 59}), std::string(row.name));
    }
    std::string canonical;
    CHECK(isDayName("monDAY", &canonical));
    CHECK_EQ(canonical, std::string("Monday"));
    for (const char* text : {"Mondy", "../Chimewell", ""})
        CHECK(!isDayName(text));
}

TEST_CASE("typedTimesAreReadAsHoursAndMinutes")
{
    const struct
    {
        const char* text;
        std::optional<int> minutes;
    } rows[] = {{"13:00", 780}, {"7:30", 450},    {"07:30", 450},  {" 23:59 ", 1439},
                {"0:00", 0},    {"24:00", {}},    {"25:99", {}},   {"12:60", {}},
                {"13.00", {}},  {"13:00:30", {}}, {"1:00 PM", {}}, {"abc", {}},
                {"", {}},       {"7:5", {}},      {"123:00", {}},  {":30", {}}};
    for (const auto& row : rows) {
        INFO(row.text);
        CHECK_EQ(parseTimeOfDay(row.text), row.minutes);
    }
    CHECK_EQ(formatTimeOfDay(450), std::string("07:30"));
}

TEST_CASE("pendingMeansStrictlyLaterToday")
{
    const LocalDateTime before{2026, 12, 7, 12, 59, 59};
    const LocalDateTime atTime{2026, 12, 7, 13, 0, 0};
    CHECK(isPending("13:00", before));
    CHECK(!isPending("13:00", atTime));
    CHECK(isPending("7:30", {2026, 12, 7, 7, 29, 59}));
    CHECK(!isPending("abc", before));
    CHECK(!isPending("25:99", before));
    CHECK(!isPending("", before));
}

namespace {

ClockReading plusSeconds(ClockReading r, int seconds)
{
    const std::int64_t wall =
        (dayNumber(r.local.year, r.local.month, r.local.day) - dayNumber(2026, 12, 7)) * 86400 +
        r.local.hour * 3600 + r.local.minute * 60 + r.local.second + seconds;
    ClockReading out =
        at(static_cast<int>((wall % 86400) / 3600), static_cast<int>((wall % 3600) / 60),
           static_cast<int>(wall % 60), static_cast<int>(wall / 86400));
    out.epochSeconds = r.epochSeconds + seconds;
    return out;
}

} // namespace

TEST_CASE("triggerNeverMissesNorDoubles")
{
    struct Step
    {
        ClockReading now;
        bool fires;
        int minute = 780;
    };
    const struct
    {
        const char* name;
        std::vector<Step> steps;
    } rows[] = {
        {"on time", {{at(12, 59, 59), false}, {at(13, 0, 0), true}, {at(13, 0, 1), false}}},
        {"a skipped second fires late", {{at(12, 59, 59), false}, {at(13, 0, 1), true}}},
        {"two ticks in one second fire once",
         {{at(12, 59, 59), false}, {at(13, 0, 0), true}, {at(13, 0, 0), false}}},
        {"a gap of exactly a minute still fires", {{at(12, 59, 30), false}, {at(13, 0, 30), true}}},
        {"a gap of more than a minute is a sleep",
         {{at(12, 59, 30), false}, {at(13, 0, 31), false}}},
        {"waking from sleep long after stays quiet",
         {{at(12, 59, 0), false}, {at(15, 0, 0), false}}},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        AlarmTrigger trigger;
        trigger.restart(at(12, 58, 59));
        rings(trigger, 780, at(12, 59, 0));
        for (const auto& step : row.steps)
            CHECK_EQ(rings(trigger, step.minute, step.now), step.fires);
    }

    // A tick whose file was being rewritten is made up by the next; several alarms of one day
    // each ring at their minute, two at the same minute as one instant.
    AlarmTrigger torn;
    torn.restart(at(12, 59, 59));
    CHECK(torn.check(minutesEveryDay(std::nullopt), at(13, 0, 0)).empty());
    const std::vector<AlarmCheck> late = torn.check(minutesEveryDay({{780}}), at(13, 0, 1));
    CHECK_EQ(late.size(), std::size_t(1));
    AlarmTrigger day;
    day.restart(at(6, 59, 59));
    const auto three = minutesEveryDay({{480, 420, 420, 450}});
    std::vector<int> rang;
    for (ClockReading now = at(7, 0, 0); now.local.hour < 9; now = plusSeconds(now, 1))
        for (const AlarmCheck& found : day.check(three, now))
            rang.push_back(found.minuteOfDay * 100 + now.local.second);
    CHECK_EQ(rang, (std::vector<int>{42000, 45000, 48000}));

    AlarmTrigger unset;
    unset.restart(at(12, 59, 59));
    CHECK(!rings(unset, std::nullopt, at(13, 0, 0)));
}

TEST_CASE("triggerFiresOnceADayEvenWithTheClockSetBack")
{
    // the wall times at which it rings while `now` runs on for `seconds`
    const auto ringTimes = [](AlarmTrigger& trigger, int minute, ClockReading& now, int seconds) {
        std::vector<std::string> out;
        for (int s = 0; s < seconds; ++s) {
            now = plusSeconds(now, 1);
            if (rings(trigger, minute, now))
                out.push_back(formatTimeOfDay(now.local.hour * 60 + now.local.minute) + ":" +
                              std::to_string(now.local.second));
        }
        return out;
    };
    AlarmTrigger daily;
    ClockReading now = at(12, 0, 0);
    daily.restart(now);
    CHECK_EQ(ringTimes(daily, 780, now, 3 * 86400), std::vector<std::string>(3, "13:00:0"));

    AlarmTrigger trigger;
    trigger.restart(at(12, 59, 59));
    CHECK(rings(trigger, 780, at(13, 0, 0)));
    // the user sets the clock back two minutes: wall time goes back, real time goes on
    now = at(12, 58, 0);
    now.epochSeconds = at(13, 0, 1).epochSeconds;
    CHECK(!rings(trigger, 780, now));
    CHECK(ringTimes(trigger, 780, now, 300).empty());
    // another time set for later the same day still fires, once
    CHECK_EQ(now.local.minute, 3);
    CHECK_EQ(ringTimes(trigger, 785, now, 180), std::vector<std::string>{"13:05:0"});
}

TEST_CASE("alarmAtMidnightAndAcrossDaylightSaving")
{
    AlarmTrigger trigger;
    trigger.restart(at(23, 59, 58));
    CHECK(!rings(trigger, 0, at(23, 59, 59)));
    CHECK(rings(trigger, 0, at(0, 0, 0, 1)));

    // spring forward: the wall clock jumps from 01:59:59 to 03:00:00 in one real second;
    // an alarm at 02:30, which does not exist that night, rings at 03:00:00
    AlarmTrigger spring;
    spring.restart(at(1, 59, 58));
    CHECK(!rings(spring, 150, at(1, 59, 59)));
    ClockReading jumped = at(3, 0, 0);
    jumped.epochSeconds = at(1, 59, 59).epochSeconds + 1;
    CHECK(rings(spring, 150, jumped));
}

TEST_CASE("alarmsPassedInAGapAreToldOnceNeverRung")
{
    // The latest alarm told of a gap, or nothing.
    const auto missed = [](ClockReading before, ClockReading after,
                           const AlarmTrigger::MinutesOnDay& minutesOn) {
        AlarmTrigger trigger;
        trigger.restart(before);
        const std::vector<AlarmCheck> found = trigger.check(minutesOn, after);
        for (const AlarmCheck& each : found)
            CHECK_EQ(each.due, AlarmDue::Missed);
        // a second look at the same moment tells nothing more
        CHECK(trigger.check(minutesOn, plusSeconds(after, 1)).empty());
        return found.empty() ? AlarmCheck{} : found.back();
    };
    const auto daily = [](int minute) { return minutesEveryDay({{minute}}); };
    // asleep from 12:59:50 to 13:05: the 13:00 alarm is missed, not rung
    AlarmCheck found = missed(at(12, 59, 50), at(13, 5, 0), daily(780));
    CHECK_EQ(found.due, AlarmDue::Missed);
    CHECK_EQ(found.minuteOfDay, 780);
    CHECK_EQ(found.day, dayNumber(2026, 12, 7));
    // a gap without an instant in it says nothing
    CHECK_EQ(missed(at(13, 0, 30), at(15, 0, 0), daily(780)).due, AlarmDue::No);
    // eight days asleep: every instant is told, once each, up to the week searched
    AlarmTrigger asleep;
    asleep.restart(at(12, 0, 0));
    const std::vector<AlarmCheck> all = asleep.check(daily(780), at(14, 0, 0, 8));
    CHECK_EQ(all.size(), std::size_t(AlarmTrigger::kMaxMissedDays + 1));
    CHECK_EQ(all.front().day, dayNumber(2026, 12, 7));
    CHECK_EQ(all.back().day, dayNumber(2026, 12, 15));
    // a week's day files: Monday 13:00 and Tuesday 09:00, asleep from Monday noon to Tuesday
    // noon, tell Tuesday's alarm; Wednesday's, still to come, is not touched
    const auto week = [](std::int64_t day) -> std::optional<std::vector<int>> {
        switch (weekdayOfDayNumber(day)) {
        case 1:
            return {{780}};
        case 2:
            return {{540}};
        case 3:
            return {{600}};
        default:
            return {{}};
        }
    };
    found = missed(at(12, 0, 0), at(12, 0, 0, 1), week);
    CHECK_EQ(found.minuteOfDay, 540);
    CHECK_EQ(found.day, dayNumber(2026, 12, 8));

    // spring forward while asleep: 01:50 to 03:10 on the wall is 20 real minutes, and the
    // 02:30 alarm that night passed
    ClockReading woke = at(3, 10, 0);
    woke.epochSeconds = at(1, 50, 0).epochSeconds + 20 * 60;
    CHECK_EQ(missed(at(1, 50, 0), woke, daily(150)).due, AlarmDue::Missed);
    // autumn: asleep from 01:30 in the first pass of the hour to 01:40 in the second; the
    // 01:35 alarm passed in between, the 01:15 alarm had rung in the first pass already
    woke = at(1, 40, 0);
    woke.epochSeconds = at(1, 30, 0).epochSeconds + 70 * 60;
    CHECK_EQ(missed(at(1, 30, 0), woke, daily(95)).due, AlarmDue::Missed);
    CHECK_EQ(missed(at(1, 30, 0), woke, daily(75)).due, AlarmDue::No);
}

TEST_CASE("comingAlarmsInTheOrderTheyRing")
{
    // Monday 2026-12-07. Weekday 1 (Monday) has 07:00 and 20:00 and one that cannot be read;
    // Tuesday 00:00; Sunday 23:59.
    std::array<std::vector<std::optional<int>>, 7> week;
    week[1] = {420, std::nullopt, 1200};
    week[2] = {0};
    week[0] = {1439};
    const auto times = [&week](const ClockReading& now, std::optional<int> oneShot,
                               std::vector<std::int64_t> snoozed = {}) {
        std::vector<std::string> out;
        for (const ComingAlarm& c : comingAlarms(now.local, oneShot, week, snoozed)) {
            const LocalDateTime t = fromWallSeconds(c.wallSecond);
            out.push_back(std::to_string(t.day) + " " + formatTimeOfDay(t.hour * 60 + t.minute) +
                          (c.kind == ComingAlarm::OneShot   ? " once"
                           : c.kind == ComingAlarm::Snoozed ? " snoozed"
                                                            : ""));
        }
        return out;
    };
    // at noon: tonight, midnight (tomorrow's file), Sunday late, and today's morning a week on
    CHECK_EQ(times(at(12, 0, 0), std::nullopt),
             (std::vector<std::string>{"7 20:00", "8 00:00", "13 23:59", "14 07:00"}));
    // at the alarm's own minute it has come: the next one is a week on; the one-shot alarm
    // that passed today comes tomorrow; a snoozed alarm where its time falls
    CHECK_EQ(times(at(20, 0, 0), 12 * 60, {wallSeconds({2026, 12, 7, 20, 5, 0})}),
             (std::vector<std::string>{"7 20:05 snoozed", "8 00:00", "8 12:00 once", "13 23:59",
                                       "14 07:00", "14 20:00"}));
    // a second before midnight, the week wraps round to next Monday
    CHECK_EQ(times(at(23, 59, 59, 6), std::nullopt).front(), std::string("14 07:00"));
    CHECK_EQ(times(at(23, 59, 59, 6), std::nullopt).back(), std::string("20 23:59"));
}

TEST_CASE("aWaitingProgramWakesOnlyWhenSomethingCanBeDue")
{
    const auto wakeIn = [](ClockReading now, std::vector<int> today,
                           std::vector<std::int64_t> instants = {}) {
        std::array<std::vector<std::optional<int>>, 7> week;
        for (const int minute : today)
            week[1].push_back(minute); // 2026-12-07 is a Monday
        const auto coming = comingAlarms(now.local, std::nullopt, week, {});
        return nextWakeEpoch(now, coming, instants, 30) - now.epochSeconds;
    };
    // nothing set: the heartbeat
    CHECK_EQ(wakeIn(at(9, 0, 0), {}), 30);
    // an alarm 10 s away wakes at its instant; one that has passed, or is this very second,
    // does not
    CHECK_EQ(wakeIn(at(12, 59, 50), {780}), 10);
    CHECK_EQ(wakeIn(at(13, 0, 0), {780}), 30);
    CHECK_EQ(wakeIn(at(14, 0, 0), {780, 600}), 30);
    // the next of several, whatever their order
    CHECK_EQ(wakeIn(at(12, 59, 58), {790, 780}), 2);
    // midnight, for the new day's status line and day file
    CHECK_EQ(wakeIn(at(23, 59, 50), {}), 10);
    // the clock's change of offset
    CHECK_EQ(wakeIn(at(9, 0, 0), {}, {at(9, 0, 9).epochSeconds, at(9, 0, 7).epochSeconds}), 7);
    CHECK_EQ(wakeIn(at(9, 0, 0), {}, {at(8, 0, 0).epochSeconds}), 30);
    // a snoozed alarm at its second, and one whose second has come already, at the next
    const ClockReading now = at(13, 5, 4);
    const auto snoozedIn = [&now](std::int64_t wall) {
        return nextWakeEpoch(now, comingAlarms(now.local, std::nullopt, {}, {wall}), {}, 30) -
               now.epochSeconds;
    };
    CHECK_EQ(snoozedIn(wallSeconds(now.local) + 5), 5);
    CHECK_EQ(snoozedIn(wallSeconds(now.local)), 1);
}
