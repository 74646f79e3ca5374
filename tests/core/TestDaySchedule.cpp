// The day files' alarms: which sections are alarms, what their values mean, how a change keeps
// the "alarm" section true for readers of it alone, and how the week becomes rows.
#include "CoreTest.h"
#include "storage/DaySchedule.h"
#include "storage/IniFile.h"
#include "storage/Settings.h"

using namespace chimewell;

namespace {

// A day file in a fresh application folder; `text` is what the day file holds.
struct Day
{
    coretest::TempDir dir;
    Day(const std::string& text = {})
    {
        coretest::fs::create_directory(coretest::fs::path(dir.path()) / "schedule");
        if (!text.empty())
            coretest::writeFile(file(), text);
    }
    std::string file() const { return dayFilePath(dir.path(), "Monday"); }
    std::string text() const { return coretest::readFile(file()); }
    std::vector<DayAlarm> alarms() const { return *readDayAlarms(dir.path(), "Monday").alarms; }
    // The alarm of `section` as the file holds it now.
    DayAlarm alarm(const std::string& section) const
    {
        for (const DayAlarm& a : alarms())
            if (a.section == section)
                return a;
        return {};
    }
};

std::string section(const std::string& name, const std::string& time, const std::string& more = {})
{
    return "[" + name + "]\r\nREASON=" + name + "\r\nTIME=" + time + "\r\nMUSIC=\r\n" + more;
}

} // namespace

TEST_CASE("whichSectionsAreAlarms")
{
    for (const char* name : {"alarm", "Alarm", "alarm 2", "ALARM  7", "alarm\t12"})
        CHECK_MESSAGE(isAlarmSection(name), name);
    for (const char* name : {"alarm2", "alarm x", "alarms", "alarm 2b", "", "options"})
        CHECK_MESSAGE(!isAlarmSection(name), name);

    // Read in file order; the first of two sections of one name holds; an "alarm" emptied by
    // Delete is no alarm; OFF is "1" or nothing.
    Day day("[alarm]\r\nreason=\r\ntime=\r\nmusic=\r\n" +
            section("alarm 7", "08:00", "OFF=yes\r\n") + section("options", "09:00") +
            section("Alarm 2", "07:30", "off=1\r\n") + section("alarm 2", "06:00") +
            section("alarm 9", "25:99", "RINGMINUTES=15\r\n"));
    const std::vector<DayAlarm> alarms = day.alarms();
    REQUIRE_EQ(alarms.size(), std::size_t(3));
    CHECK_EQ(alarms[0].section, std::string("alarm 7"));
    CHECK(!alarms[0].off);
    CHECK_EQ(alarms[1].time, std::string("07:30"));
    CHECK(alarms[1].off);
    CHECK_EQ(alarms[2].ringMinutes, std::string("15"));
    CHECK(!alarms[2].minuteOfDay());
}

TEST_CASE("everyChoiceReadFromAFile")
{
    const struct
    {
        const char* value;
        int ring;                     // the setting "ringminutes"
        std::optional<int> ownRing;   // an alarm's RINGMINUTES
        int snooze;                   // the setting "snoozeminutes"
        std::optional<int> ownSnooze; // an alarm's SNOOZEMINUTES
    } rows[] = {
        {"0", 0, 0, 5, {}},     {"1", 1, 1, 5, 1},  {"5", 5, 5, 5, 5},     {"10", 0, {}, 10, 10},
        {"15", 15, 15, 15, 15}, {"7", 0, {}, 5, 7}, {"60", 0, {}, 5, 60},  {"61", 0, {}, 5, {}},
        {"999", 0, {}, 5, {}},  {"", 0, {}, 5, {}}, {"abc", 0, {}, 5, {}}, {"-5", 0, {}, 5, {}},
    };
    for (const auto& row : rows) {
        INFO(row.value);
        CHECK_EQ(ringMinutes(row.value), row.ring);
        CHECK_EQ(alarmRingMinutes(row.value), row.ownRing);
        CHECK_EQ(snoozeMinutes(row.value), row.snooze);
        CHECK_EQ(alarmSnoozeMinutes(row.value), row.ownSnooze);
    }
    // Each choice Options writes reads back as itself, through the settings file.
    coretest::TempDir dir;
    for (const char* minutes : {"0", "1", "5", "15"}) {
        CHECK(writeSetting(dir.path(), kRingMinutesKey, minutes));
        CHECK_EQ(std::to_string(ringMinutes(readSetting(dir.path(), kRingMinutesKey))),
                 std::string(minutes));
    }
    for (const char* minutes : {"5", "10", "15"}) {
        CHECK(writeSetting(dir.path(), kSnoozeMinutesKey, minutes));
        CHECK_EQ(std::to_string(snoozeMinutes(readSetting(dir.path(), kSnoozeMinutesKey))),
                 std::string(minutes));
    }
}

TEST_CASE("theAlarmSectionHoldsTheEarliestSwitchedOnAlarm")
{
    const std::string seven = section("alarm", "07:00");
    const std::string half = section("alarm 2", "07:30", "OFF=1\r\n");
    const std::string eight = section("alarm 7", "08:00");
    const auto change = [](std::optional<bool> off, std::optional<std::string> time = {}) {
        AlarmChange c;
        c.off = off;
        c.time = time;
        return c;
    };
    SUBCASE("switched off and on: the sections change their names alone")
    {
        Day day(seven + half + eight);
        CHECK(changeDayAlarm(day.dir.path(), "Monday", day.alarm("alarm"), change(true)));
        CHECK_EQ(day.text(), "[alarm 3]\r\nREASON=alarm\r\nTIME=07:00\r\nMUSIC=\r\nOFF=1\r\n" +
                                 half + "[alarm]\r\nREASON=alarm 7\r\nTIME=08:00\r\nMUSIC=\r\n");
        // switched on again, 07:00 is the earliest: it is "alarm" again, 08:00 a section of its own
        CHECK(changeDayAlarm(day.dir.path(), "Monday", day.alarm("alarm 3"), change(false)));
        CHECK_EQ(day.text(),
                 seven + half + "[alarm 4]\r\nREASON=alarm 7\r\nTIME=08:00\r\nMUSIC=\r\n");
        // and so does an alarm moved earlier, or added earlier
        CHECK(changeDayAlarm(day.dir.path(), "Monday", day.alarm("alarm 4"), change({}, "06:00")));
        CHECK_EQ(day.alarm("alarm").time, std::string("06:00"));
        DayAlarm five;
        five.reason = "Early";
        five.time = "05:00";
        CHECK(addDayAlarm(day.dir.path(), "Monday", five));
        CHECK_EQ(day.alarm("alarm").reason, std::string("Early"));
        CHECK_EQ(day.alarms().size(), std::size_t(4));
    }
    SUBCASE("comments, blank lines and other keys stay with their sections or where they stand")
    {
        const std::string text = "; mine\n[alarm]\n; the early one\nreason=Swim\ntime=07:00\n"
                                 "URL=pool\n\n[alarm 2]\nreason=Work\ntime=08:00\n\n"
                                 "[alarm 3]\n; old\nURL=x\nreason=Gone\ntime=09:00\n";
        Day day(text);
        CHECK(changeDayAlarm(day.dir.path(), "Monday", day.alarm("alarm"), change(true)));
        CHECK(deleteDayAlarm(day.dir.path(), "Monday", day.alarm("alarm 3")));
        // LF lines stay LF, the new one too
        CHECK_EQ(day.text(), "; mine\n[alarm 4]\n; the early one\nreason=Swim\ntime=07:00\n"
                             "URL=pool\nOFF=1\n\n[alarm]\nreason=Work\ntime=08:00\n\n"
                             "[alarm 3]\n; old\nURL=x\n");
        DayAlarm late;
        late.reason = "Late";
        late.time = "21:00";
        CHECK(addDayAlarm(day.dir.path(), "Monday", late));
        CHECK(day.text().ends_with("]\nREASON=Late\nTIME=21:00\nMUSIC=\n"));
        // a section that goes keeps its header while it hides a later one of its name
        Day twins(seven + section("alarm 2", "08:00") + section("ALARM 2", "09:00"));
        CHECK(deleteDayAlarm(twins.dir.path(), "Monday", twins.alarm("alarm 2")));
        CHECK_EQ(twins.text(), seven + "[alarm 2]\r\n" + section("ALARM 2", "09:00"));
        CHECK_EQ(twins.alarms().size(), std::size_t(1));
        // nor does one that moves up out of it
        Day up(seven + section("alarm 2", "08:00") + section("ALARM 2", "09:00"));
        CHECK(deleteDayAlarm(up.dir.path(), "Monday", up.alarm("alarm")));
        CHECK_EQ(up.alarms().size(), std::size_t(1));
    }
    SUBCASE("deleted, the first alarm makes room for the earliest; with none left, empty values")
    {
        Day day(seven + half + eight + section("alarm 9", "07:45"));
        CHECK(deleteDayAlarm(day.dir.path(), "Monday", day.alarm("alarm")));
        CHECK_EQ(day.text(),
                 half + eight + "[alarm]\r\nREASON=alarm 9\r\nTIME=07:45\r\nMUSIC=\r\n");
        CHECK(clearDayAlarm(day.dir.path(), "Monday"));
        CHECK_EQ(day.text(), half + "[alarm]\r\nREASON=alarm 7\r\nTIME=08:00\r\nMUSIC=\r\n");
        CHECK(clearDayAlarm(day.dir.path(), "Monday"));
        CHECK_EQ(day.text(), half + "[alarm]\r\nREASON=\r\nTIME=\r\nMUSIC=\r\n");
        CHECK_EQ(day.alarms().size(), std::size_t(1));
        // switched on into that emptied "alarm"
        CHECK(changeDayAlarm(day.dir.path(), "Monday", day.alarm("alarm 2"), change(false)));
        CHECK_EQ(day.text(), "[alarm]\r\nREASON=alarm 2\r\nTIME=07:30\r\nMUSIC=\r\n");
    }
    SUBCASE("UTF-16 keeps every byte it does not change, unpaired surrogates and an odd byte too")
    {
        const auto utf16 = [](const std::string& ascii) {
            std::string out;
            for (char c : ascii)
                out += std::string{c, '\0'};
            return out;
        };
        const std::string lone = "\x00\xD8"; // a high surrogate alone
        const std::string text = "\xFF\xFE" + utf16("; note ") + lone + utf16("\r\n" + seven) + "!";
        Day day(text);
        AlarmChange reason;
        reason.reason = "Run";
        CHECK(changeDayAlarm(day.dir.path(), "Monday", day.alarm("alarm"), reason));
        CHECK_EQ(day.text(), "\xFF\xFE" + utf16("; note ") + lone +
                                 utf16("\r\n[alarm]\r\nREASON=Run\r\nTIME=07:00\r\nMUSIC=\r\n") +
                                 "!");
    }
    SUBCASE("a change writes only what changed, and never over a hand edit")
    {
        Day day(seven + "; note\r\n" + eight);
        const DayAlarm before = day.alarm("alarm 7");
        AlarmChange reason;
        reason.reason = "Gym";
        CHECK(changeDayAlarm(day.dir.path(), "Monday", before, reason));
        CHECK_EQ(day.text(),
                 seven + "; note\r\n[alarm 7]\r\nREASON=Gym\r\nTIME=08:00\r\nMUSIC=\r\n");
        const std::string edited = day.text();
        bool changed = false;
        std::string error;
        CHECK(!changeDayAlarm(day.dir.path(), "Monday", before, reason, &error, &changed));
        CHECK(changed);
        CHECK(!deleteDayAlarm(day.dir.path(), "Monday", before));
        CHECK_EQ(day.text(), edited);
    }
    SUBCASE("a write past 1 MB, or a check alone, changes nothing")
    {
        std::string text = seven + ";";
        text.resize(kMaxIniFileBytes - 40, 'x');
        Day day(text + "\r\n");
        DayAlarm nine;
        nine.reason = "Stand-up";
        nine.time = "09:00";
        std::string error;
        CHECK(!addDayAlarm(day.dir.path(), "Monday", nine, &error, true));
        CHECK(!addDayAlarm(day.dir.path(), "Monday", nine, &error));
        CHECK(error.find("would be larger than 1 MB") != std::string::npos);
        CHECK_EQ(day.text(), text + "\r\n");
        Day small(seven);
        CHECK(addDayAlarm(small.dir.path(), "Monday", nine, &error, true));
        CHECK_EQ(small.text(), seven);
    }
}

TEST_CASE("theWeekAsRows")
{
    const auto alarm = [](const std::string& time, const std::string& reason,
                          const std::string& snooze = {}) {
        DayAlarm a;
        a.section = "alarm";
        a.time = time;
        a.reason = reason;
        a.snoozeMinutes = snooze;
        return a;
    };
    std::array<std::vector<DayAlarm>, 7> days;
    for (int weekday = 1; weekday <= 5; ++weekday)
        days[weekday] = {alarm("06:45", "Work")};
    days[3].push_back(alarm("06:45", "Work")); // twice on Wednesday: a row of its own
    days[5][0].snoozeMinutes = "10";           // Friday snoozes longer: a row of its own
    days[6] = {alarm("abc", "Broken"), alarm("09:00", "Weekend")};
    days[0] = {alarm("09:00", "Weekend")};
    WeekAlarms week;
    for (std::size_t d = 0; d < 7; ++d)
        week[d] = std::make_shared<const std::vector<DayAlarm>>(days[d]);
    const std::vector<AlarmRow> rows = alarmRows(week);
    REQUIRE_EQ(rows.size(), std::size_t(5));
    CHECK_EQ(rows[0].dayMask(), 0b0011110u); // Monday to Thursday
    CHECK_EQ(rows[0].alarm.reason, std::string("Work"));
    CHECK_EQ(rows[1].dayMask() | rows[2].dayMask(), 0b0101000u);
    CHECK_EQ(rows[3].dayMask(), 0b1000001u);               // Saturday and Sunday
    CHECK_EQ(rows[4].alarm.reason, std::string("Broken")); // a time that cannot be read last

    // Runs of days as a person reads them, whatever day the week starts on (1: Monday, 0:
    // Sunday): the weekend is one run, Saturday first.
    using Runs = std::vector<std::pair<int, int>>;
    CHECK_EQ(dayRuns(0b0111110, 1), (Runs{{1, 5}}));
    CHECK_EQ(dayRuns(0b1000001, 1), (Runs{{6, 0}}));
    CHECK_EQ(dayRuns(0b1000001, 0), (Runs{{6, 0}}));
    CHECK_EQ(dayRuns(0b1111101, 0), (Runs{{2, 0}}));
    CHECK_EQ(dayRuns(0b1111111, 1), (Runs{{1, 0}}));
    CHECK_EQ(dayRuns(0b0010101, 1), (Runs{{2, 2}, {4, 4}, {0, 0}}));
    CHECK_EQ(dayRuns(0b1001011, 0), (Runs{{3, 3}, {6, 1}}));
}

TEST_CASE("anAlarmsVolumeAndFadeInAreKeptAsWritten")
{
    // Values that mean nothing, or repeated, stay byte for byte when something else changes;
    // the first of a repeated key is the one that counts, and the one a change writes.
    const std::string odd = "VOLUME=150\r\nFADESECONDS=100000\r\nVOLUME=40\r\n";
    Day day(section("alarm", "07:00", odd));
    CHECK_EQ(day.alarm("alarm").volume, "150");
    AlarmChange reason;
    reason.reason = "Run";
    CHECK(changeDayAlarm(day.dir.path(), "Monday", day.alarm("alarm"), reason));
    CHECK_EQ(day.text(), "[alarm]\r\nREASON=Run\r\nTIME=07:00\r\nMUSIC=\r\n" + odd);
    AlarmChange volume;
    volume.volume = "60";
    volume.fadeSeconds = "";
    CHECK(changeDayAlarm(day.dir.path(), "Monday", day.alarm("alarm"), volume));
    CHECK_EQ(day.text(),
             "[alarm]\r\nREASON=Run\r\nTIME=07:00\r\nMUSIC=\r\nVOLUME=60\r\nVOLUME=40\r\n");
    // Alarms of two days alike but for their volume, or their fade-in, are rows of their own.
    WeekAlarms week;
    for (auto& d : week)
        d = std::make_shared<const std::vector<DayAlarm>>();
    DayAlarm monday = day.alarm("alarm"), tuesday = monday;
    for (std::string DayAlarm::*key : {&DayAlarm::volume, &DayAlarm::fadeSeconds}) {
        tuesday = monday;
        tuesday.*key = "20";
        week[1] = std::make_shared<const std::vector<DayAlarm>>(std::vector{monday});
        week[2] = std::make_shared<const std::vector<DayAlarm>>(std::vector{tuesday});
        CHECK_EQ(alarmRows(week).size(), 2u);
    }
}
