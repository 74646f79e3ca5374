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
    std::vector<DayAlarm> alarms() const { return readDayAlarms(dir.path(), "Monday").alarms; }
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

TEST_CASE("theAlarmSectionAlwaysHoldsASwitchedOnAlarm")
{
    const std::string seven = section("alarm", "07:00");
    const std::string half = section("alarm 2", "07:30", "OFF=1\r\n");
    const std::string eight = section("alarm 7", "08:00");
    SUBCASE("switched off, the first alarm leaves for a section of its own and 08:00 moves up")
    {
        Day day(seven + half + eight);
        AlarmChange off;
        off.off = true;
        CHECK(changeDayAlarm(day.dir.path(), "Monday", day.alarm("alarm"), off));
        CHECK_EQ(day.text(), "[alarm]\r\nREASON=alarm 7\r\nTIME=08:00\r\nMUSIC=\r\n" + half +
                                 "[alarm 3]\r\nREASON=alarm\r\nTIME=07:00\r\nMUSIC=\r\nOFF=1\r\n");
        // switched on again, it stays where it is now: "alarm" holds one already
        AlarmChange on;
        on.off = false;
        CHECK(changeDayAlarm(day.dir.path(), "Monday", day.alarm("alarm 3"), on));
        CHECK(!day.alarm("alarm 3").off);
        CHECK_EQ(day.alarm("alarm").time, std::string("08:00"));
    }
    SUBCASE("deleted, the first alarm makes room for the earliest switched-on one")
    {
        Day day(seven + half + eight + section("alarm 9", "07:45"));
        CHECK(deleteDayAlarm(day.dir.path(), "Monday", day.alarm("alarm")));
        CHECK_EQ(day.text(),
                 "[alarm]\r\nREASON=alarm 9\r\nTIME=07:45\r\nMUSIC=\r\n" + half + eight);
        CHECK(clearDayAlarm(day.dir.path(), "Monday"));
        CHECK_EQ(day.text(), "[alarm]\r\nREASON=alarm 7\r\nTIME=08:00\r\nMUSIC=\r\n" + half);
        // and with none left but a switched-off one, "alarm" is left empty, as Delete leaves it
        CHECK(clearDayAlarm(day.dir.path(), "Monday"));
        CHECK_EQ(day.text(), "[alarm]\r\nREASON=\r\nTIME=\r\nMUSIC=\r\n" + half);
        CHECK_EQ(day.alarms().size(), std::size_t(1));
    }
    SUBCASE("switched on where the first section is empty, an alarm moves up into it")
    {
        Day day("[alarm]\r\nREASON=\r\nTIME=\r\nMUSIC=\r\n" + half);
        AlarmChange on;
        on.off = false;
        CHECK(changeDayAlarm(day.dir.path(), "Monday", day.alarm("alarm 2"), on));
        CHECK_EQ(day.text(), "[alarm]\r\nREASON=alarm 2\r\nTIME=07:30\r\nMUSIC=\r\n");
    }
    SUBCASE("an alarm is added to a section of its own, every other byte kept")
    {
        const std::string before = "; my alarms\r\n" + seven + eight;
        Day day(before);
        DayAlarm nine;
        nine.reason = "Stand-up";
        nine.time = "09:00";
        nine.snoozeMinutes = "10";
        CHECK(addDayAlarm(day.dir.path(), "Monday", nine));
        CHECK_EQ(day.text(), before + "[alarm 2]\r\nREASON=Stand-up\r\nTIME=09:00\r\nMUSIC=\r\n"
                                      "SNOOZEMINUTES=10\r\n");
        // and to a day without one, into "alarm"; switched off, never there
        Day empty;
        nine.off = true;
        CHECK(addDayAlarm(empty.dir.path(), "Monday", nine));
        CHECK_EQ(empty.alarms().front().section, std::string("alarm 2"));
        nine.off = false;
        CHECK(addDayAlarm(empty.dir.path(), "Monday", nine));
        CHECK_EQ(empty.alarm("alarm").time, std::string("09:00"));
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
    SUBCASE("a thousand sections: the one deleted goes, the rest stay byte for byte")
    {
        std::string text = seven;
        for (int i = 2; i <= 1000; ++i)
            text += section("alarm " + std::to_string(i), i % 3 ? "abc" : "7:5");
        Day day(text);
        CHECK_EQ(day.alarms().size(), std::size_t(1000));
        const std::string gone = section("alarm 500", "abc");
        CHECK(deleteDayAlarm(day.dir.path(), "Monday", day.alarm("alarm 500")));
        CHECK_EQ(day.text(),
                 text.substr(0, text.find(gone)) + text.substr(text.find(gone) + gone.size()));
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
    std::array<std::vector<DayAlarm>, 7> week;
    for (int weekday = 1; weekday <= 5; ++weekday)
        week[weekday] = {alarm("06:45", "Work")};
    week[3].push_back(alarm("06:45", "Work")); // twice on Wednesday: a row of its own
    week[5][0].snoozeMinutes = "10";           // Friday snoozes longer: a row of its own
    week[6] = {alarm("abc", "Broken"), alarm("09:00", "Weekend")};
    week[0] = {alarm("09:00", "Weekend")};
    const std::vector<AlarmRow> rows = alarmRows(week);
    REQUIRE_EQ(rows.size(), std::size_t(5));
    CHECK_EQ(rows[0].dayMask(), 0b0011110u); // Monday to Thursday
    CHECK_EQ(rows[0].alarm.reason, std::string("Work"));
    CHECK_EQ(rows[1].dayMask() | rows[2].dayMask(), 0b0101000u);
    CHECK_EQ(rows[3].dayMask(), 0b1000001u);               // Saturday and Sunday
    CHECK_EQ(rows[4].alarm.reason, std::string("Broken")); // a time that cannot be read last

    using Runs = std::vector<std::pair<int, int>>;
    CHECK_EQ(dayRuns(0b0111110, 1), (Runs{{1, 5}}));
    CHECK_EQ(dayRuns(0b1000001, 1), (Runs{{6, 0}}));
    CHECK_EQ(dayRuns(0b1000001, 0), (Runs{{0, 0}, {6, 6}}));
    CHECK_EQ(dayRuns(0b1111111, 1), (Runs{{1, 0}}));
    CHECK_EQ(dayRuns(0b0010101, 1), (Runs{{2, 2}, {4, 4}, {0, 0}}));
}
