#include "DaySchedule.h"

#include "IniFile.h"
#include "Settings.h"
#include "platform/AtomicFile.h"

#include <algorithm>
#include <filesystem>

namespace chimewell {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

DayAlarm alarmOf(const ini::Section& section)
{
    return {section.name,
            section.value(kReasonKey),
            section.value(kTimeKey),
            section.value(kMusicKey),
            section.value(kRingMinutesKey),
            section.value(kSnoozeMinutesKey),
            section.value(kOffKey) == "1"};
}

std::vector<DayAlarm> alarmsOf(const std::vector<ini::Section>& sections)
{
    std::vector<DayAlarm> alarms;
    for (const ini::Section& section : sections) {
        if (!isAlarmSection(section.name))
            continue;
        DayAlarm alarm = alarmOf(section);
        // Delete leaves the section with its keys, empty: the day has no alarm there.
        if (alarm.isFirst() && alarm.reason.empty() && alarm.time.empty() && alarm.music.empty() &&
            !alarm.off)
            continue;
        alarms.push_back(std::move(alarm));
    }
    return alarms;
}

// One day file while it is being changed: its alarms as they stand after the changes so far,
// and the edit of its text.
class DayEdit
{
public:
    explicit DayEdit(IniEdit& file) : m_file(file)
    {
        for (const ini::Section& section : file.sections())
            if (isAlarmSection(section.name))
                m_taken.push_back(section.name);
        m_alarms = alarmsOf(file.sections());
    }

    const DayAlarm* find(std::string_view section) const
    {
        for (const DayAlarm& alarm : m_alarms)
            if (ini::equalsNoCase(alarm.section, section))
                return &alarm;
        return nullptr;
    }
    // The switched-on alarm that "alarm" holds, if any.
    const DayAlarm* first() const
    {
        const DayAlarm* alarm = find(kAlarmSection);
        return alarm && !alarm->off ? alarm : nullptr;
    }

    // Writes `alarm` into `section`, making the section when it is missing.
    void put(const std::string& section, const DayAlarm& alarm)
    {
        m_file.set(section, kReasonKey, alarm.reason);
        m_file.set(section, kTimeKey, alarm.time);
        m_file.set(section, kMusicKey, alarm.music);
        setOrRemove(section, kRingMinutesKey, alarm.ringMinutes);
        setOrRemove(section, kSnoozeMinutesKey, alarm.snoozeMinutes);
        setOrRemove(section, kOffKey, alarm.off ? "1" : "");
        forget(section);
        DayAlarm placed = alarm;
        placed.section = section;
        m_alarms.push_back(placed);
    }
    // Writes only what `change` changes in the alarm of `section`.
    void apply(const DayAlarm& alarm, const AlarmChange& change)
    {
        const std::string& section = alarm.section;
        if (change.reason)
            m_file.set(section, kReasonKey, *change.reason);
        if (change.time)
            m_file.set(section, kTimeKey, *change.time);
        if (change.music)
            m_file.set(section, kMusicKey, *change.music);
        if (change.ringMinutes)
            setOrRemove(section, kRingMinutesKey, *change.ringMinutes);
        if (change.snoozeMinutes)
            setOrRemove(section, kSnoozeMinutesKey, *change.snoozeMinutes);
        if (change.off)
            setOrRemove(section, kOffKey, *change.off ? "1" : "");
        DayAlarm changed = chimewell::changedAlarm(alarm, change);
        forget(section);
        m_alarms.push_back(changed);
    }
    void remove(const std::string& section)
    {
        m_file.removeSection(section);
        forget(section);
    }
    // "alarm" with empty values, as Delete has always left it.
    void empty()
    {
        const std::string section(kAlarmSection);
        m_file.set(section, kReasonKey, "");
        m_file.set(section, kTimeKey, "");
        m_file.set(section, kMusicKey, "");
        for (const std::string_view key : {kRingMinutesKey, kSnoozeMinutesKey, kOffKey})
            m_file.remove(section, key);
        forget(section);
    }
    // A section name no alarm of the file uses: "alarm 2", "alarm 3"...
    std::string freshSection()
    {
        for (int number = 2;; ++number) {
            const std::string name = std::string(kAlarmSection) + " " + std::to_string(number);
            if (std::none_of(m_taken.begin(), m_taken.end(), [&name](const std::string& taken) {
                    return ini::equalsNoCase(taken, name);
                })) {
                m_taken.push_back(name);
                return name;
            }
        }
    }

    // "alarm" holds a switched-on alarm whenever the day has one: the earliest moves up.
    void fillFirst()
    {
        if (first())
            return;
        if (const DayAlarm* switchedOff = find(kAlarmSection)) {
            const DayAlarm kept = *switchedOff;
            put(freshSection(), kept);
        }
        const DayAlarm* earliest = nullptr;
        for (const DayAlarm& alarm : m_alarms) {
            if (alarm.off || alarm.isFirst())
                continue;
            if (!earliest || earlier(alarm, *earliest))
                earliest = &alarm;
        }
        if (!earliest) {
            empty();
            return;
        }
        const DayAlarm moving = *earliest;
        remove(moving.section);
        put(std::string(kAlarmSection), moving);
    }

private:
    // Readable times first, earliest first; then the rest in file order.
    static bool earlier(const DayAlarm& a, const DayAlarm& b)
    {
        const auto ma = a.minuteOfDay();
        const auto mb = b.minuteOfDay();
        return ma && (!mb || *ma < *mb);
    }
    void setOrRemove(const std::string& section, std::string_view key, std::string_view value)
    {
        if (value.empty())
            m_file.remove(section, key);
        else
            m_file.set(section, key, value);
    }
    void forget(std::string_view section)
    {
        std::erase_if(m_alarms, [section](const DayAlarm& alarm) {
            return ini::equalsNoCase(alarm.section, section);
        });
    }

    IniEdit& m_file;
    std::vector<DayAlarm> m_alarms;
    std::vector<std::string> m_taken;
};

bool editDay(const std::string& appDir, std::string_view day,
             const std::function<bool(DayEdit&, std::string*)>& edit, std::string* error)
{
    std::error_code ec;
    std::filesystem::create_directories(pathFromUtf8(appFile(appDir, kScheduleFolder)), ec);
    return editIniFile(
        dayFilePath(appDir, day),
        [&](IniEdit& file) {
            DayEdit dayEdit(file);
            return edit(dayEdit, error);
        },
        error);
}

// The alarm `before` as the file holds it now; nothing, with the reason, when it changed.
const DayAlarm* unchanged(const DayEdit& day, const DayAlarm& before, std::string* error,
                          bool* changedMeanwhile)
{
    const DayAlarm* now = day.find(before.section);
    if (now && *now == before)
        return now;
    if (error)
        *error = "the file was changed by another program meanwhile";
    if (changedMeanwhile)
        *changedMeanwhile = true;
    return nullptr;
}

} // namespace

std::string dayFilePath(const std::string& appDir, std::string_view day)
{
    return appFile(appDir, kScheduleFolder, std::string(day) + ".ini");
}

std::string readDayValue(const std::string& appDir, std::string_view day, std::string_view key)
{
    return readIniValue(std::string(kAlarmSection), std::string(key), dayFilePath(appDir, day));
}

bool isAlarmSection(std::string_view name)
{
    if (name.size() < kAlarmSection.size() ||
        !ini::equalsNoCase(name.substr(0, kAlarmSection.size()), kAlarmSection))
        return false;
    std::string_view rest = name.substr(kAlarmSection.size());
    if (rest.empty())
        return true;
    if (!isBlank(rest.front()))
        return false;
    while (!rest.empty() && isBlank(rest.front()))
        rest.remove_prefix(1);
    return !rest.empty() && rest.find_first_not_of("0123456789") == std::string_view::npos;
}

bool DayAlarm::isFirst() const
{
    return ini::equalsNoCase(section, kAlarmSection);
}

bool DayAlarm::sameAs(const DayAlarm& other) const
{
    return reason == other.reason && time == other.time && music == other.music &&
           ringMinutes == other.ringMinutes && snoozeMinutes == other.snoozeMinutes &&
           off == other.off;
}

DayAlarm changedAlarm(DayAlarm alarm, const AlarmChange& change)
{
    alarm.reason = change.reason.value_or(alarm.reason);
    alarm.time = change.time.value_or(alarm.time);
    alarm.music = change.music.value_or(alarm.music);
    alarm.ringMinutes = change.ringMinutes.value_or(alarm.ringMinutes);
    alarm.snoozeMinutes = change.snoozeMinutes.value_or(alarm.snoozeMinutes);
    alarm.off = change.off.value_or(alarm.off);
    return alarm;
}

bool AlarmChange::isEmpty() const
{
    return !reason && !time && !music && !ringMinutes && !snoozeMinutes && !off;
}

unsigned AlarmRow::dayMask() const
{
    unsigned mask = 0;
    for (const auto& day : days)
        mask |= 1u << day.first;
    return mask;
}

std::vector<AlarmRow> alarmRows(const std::array<std::vector<DayAlarm>, 7>& week)
{
    std::vector<AlarmRow> rows;
    for (int weekday = 0; weekday < 7; ++weekday) {
        for (const DayAlarm& alarm : week[static_cast<std::size_t>(weekday)]) {
            const auto row = std::find_if(rows.begin(), rows.end(), [&](const AlarmRow& r) {
                return r.alarm.sameAs(alarm) && !(r.dayMask() & (1u << weekday));
            });
            if (row != rows.end())
                row->days.emplace_back(weekday, alarm.section);
            else
                rows.push_back({alarm, {{weekday, alarm.section}}});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const AlarmRow& a, const AlarmRow& b) {
        const auto ma = a.alarm.minuteOfDay();
        const auto mb = b.alarm.minuteOfDay();
        if (ma.has_value() != mb.has_value())
            return ma.has_value();
        if (ma != mb)
            return ma < mb;
        return a.alarm.reason < b.alarm.reason;
    });
    return rows;
}

std::vector<std::pair<int, int>> dayRuns(unsigned mask, int firstDay)
{
    std::vector<std::pair<int, int>> runs;
    bool inRun = false;
    for (int i = 0; i < 7; ++i) {
        const int day = (firstDay + i) % 7;
        if (!(mask & (1u << day))) {
            inRun = false;
            continue;
        }
        if (inRun)
            runs.back().second = day;
        else
            runs.emplace_back(day, day);
        inRun = true;
    }
    return runs;
}

DayAlarms readDayAlarms(const std::string& appDir, std::string_view day)
{
    const IniSections read = readIniSections(dayFilePath(appDir, day));
    DayAlarms out;
    out.refusal = read.refusal;
    out.state = read.state == IniSections::Torn      ? DayAlarms::Torn
                : read.state == IniSections::Refused ? DayAlarms::Refused
                                                     : DayAlarms::Read;
    if (read.sections)
        out.alarms = alarmsOf(*read.sections);
    return out;
}

bool addDayAlarm(const std::string& appDir, std::string_view day, const DayAlarm& alarm,
                 std::string* error)
{
    return editDay(
        appDir, day,
        [&alarm](DayEdit& file, std::string*) {
            if (!alarm.off && !file.first()) {
                // Into "alarm", and what it held, switched off by hand, to a section of its own.
                if (const DayAlarm* switchedOff = file.find(kAlarmSection)) {
                    const DayAlarm kept = *switchedOff;
                    file.put(file.freshSection(), kept);
                }
                file.put(std::string(kAlarmSection), alarm);
            } else {
                file.put(file.freshSection(), alarm);
            }
            return true;
        },
        error);
}

bool changeDayAlarm(const std::string& appDir, std::string_view day, const DayAlarm& before,
                    const AlarmChange& change, std::string* error, bool* changedMeanwhile)
{
    return editDay(
        appDir, day,
        [&](DayEdit& file, std::string* why) {
            const DayAlarm* now = unchanged(file, before, why, changedMeanwhile);
            if (!now)
                return false;
            if (change.off.value_or(now->off) && now->isFirst()) {
                // Switched off, it leaves "alarm" for a section of its own.
                file.put(file.freshSection(), changedAlarm(*now, change));
                file.empty();
            } else {
                file.apply(*now, change);
            }
            file.fillFirst();
            return true;
        },
        error);
}

bool deleteDayAlarm(const std::string& appDir, std::string_view day, const DayAlarm& before,
                    std::string* error, bool* changedMeanwhile)
{
    return editDay(
        appDir, day,
        [&](DayEdit& file, std::string* why) {
            const DayAlarm* now = unchanged(file, before, why, changedMeanwhile);
            if (!now)
                return false;
            if (now->isFirst())
                file.empty();
            else
                file.remove(now->section);
            file.fillFirst();
            return true;
        },
        error);
}

bool writeDayAlarm(const std::string& appDir, std::string_view day, const std::string& reason,
                   const std::string& time, const std::string& music, std::string* error)
{
    return editDay(
        appDir, day,
        [&](DayEdit& file, std::string*) {
            // One replacement of the file: a crash never leaves the new reason with the old time.
            DayAlarm alarm;
            alarm.reason = reason;
            alarm.time = time;
            alarm.music = music;
            file.put(std::string(kAlarmSection), alarm);
            return true;
        },
        error);
}

bool clearDayAlarm(const std::string& appDir, std::string_view day, std::string* error)
{
    return editDay(
        appDir, day,
        [](DayEdit& file, std::string*) {
            file.empty();
            file.fillFirst();
            return true;
        },
        error);
}

} // namespace chimewell
