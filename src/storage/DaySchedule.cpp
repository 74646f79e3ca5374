#include "DaySchedule.h"

#include "IniFile.h"
#include "Loudness.h"
#include "Settings.h"
#include "platform/AtomicFile.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <unordered_map>

namespace chimewell {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The keys of an alarm; a section that loses its alarm keeps any other key it holds.
const std::vector<std::string_view> kAlarmKeys = {kReasonKey,      kTimeKey,          kMusicKey,
                                                  kRingMinutesKey, kSnoozeMinutesKey, kOffKey,
                                                  kVolumeKey,      kFadeSecondsKey};

DayAlarm alarmOf(const ini::Section& section)
{
    return {section.name,
            section.value(kReasonKey),
            section.value(kTimeKey),
            section.value(kMusicKey),
            section.value(kRingMinutesKey),
            section.value(kSnoozeMinutesKey),
            section.value(kOffKey) == "1",
            section.value(kVolumeKey),
            section.value(kFadeSecondsKey)};
}

std::vector<DayAlarm> alarmsOf(const std::vector<ini::Section>& sections)
{
    std::vector<DayAlarm> alarms;
    for (const ini::Section& section : sections) {
        if (!isAlarmSection(section.name))
            continue;
        DayAlarm alarm = alarmOf(section);
        // Delete leaves "alarm" with its keys, empty: the day has no alarm there.
        if (alarm.reason.empty() && alarm.time.empty() && alarm.music.empty() && !alarm.off)
            continue;
        alarms.push_back(std::move(alarm));
    }
    return alarms;
}

// Readable times first, earliest first; then the rest in file order.
bool earlier(const DayAlarm& a, const DayAlarm& b)
{
    const auto ma = a.minuteOfDay();
    const auto mb = b.minuteOfDay();
    return ma && (!mb || *ma < *mb);
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
                m_taken.insert(sectionNumber(section.name));
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
        if (!m_file.hasSection(section)) {
            // A new section is written in one go: the file may hold 20,000 alarms.
            std::vector<std::pair<std::string_view, std::string_view>> keys = {
                {kReasonKey, alarm.reason}, {kTimeKey, alarm.time}, {kMusicKey, alarm.music}};
            for (const auto& [key, value] : {std::pair{kRingMinutesKey, alarm.ringMinutes},
                                             std::pair{kSnoozeMinutesKey, alarm.snoozeMinutes},
                                             std::pair{kVolumeKey, alarm.volume},
                                             std::pair{kFadeSecondsKey, alarm.fadeSeconds}})
                if (!value.empty())
                    keys.emplace_back(key, value);
            if (alarm.off)
                keys.emplace_back(kOffKey, "1");
            m_file.addSection(section, keys);
        } else {
            m_file.set(section, kReasonKey, alarm.reason);
            m_file.set(section, kTimeKey, alarm.time);
            m_file.set(section, kMusicKey, alarm.music);
            setOrRemove(section, kRingMinutesKey, alarm.ringMinutes);
            setOrRemove(section, kSnoozeMinutesKey, alarm.snoozeMinutes);
            setOrRemove(section, kVolumeKey, alarm.volume);
            setOrRemove(section, kFadeSecondsKey, alarm.fadeSeconds);
            setOrRemove(section, kOffKey, alarm.off ? "1" : "");
        }
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
        if (change.volume)
            setOrRemove(section, kVolumeKey, *change.volume);
        if (change.fadeSeconds)
            setOrRemove(section, kFadeSecondsKey, *change.fadeSeconds);
        if (change.off)
            setOrRemove(section, kOffKey, *change.off ? "1" : "");
        DayAlarm changed = chimewell::changedAlarm(alarm, change);
        forget(section);
        m_alarms.push_back(changed);
    }
    // Takes the alarm of `section` out: its keys, and its header unless other keys stay in it
    // or it hides a later section of its name. Comments and blank lines stay where they stand.
    void vacate(const std::string& section)
    {
        for (const std::string_view key : kAlarmKeys)
            while (m_file.holdsKey(section, key))
                m_file.remove(section, key);
        if (!m_file.holdsOtherKeys(section, {}) && !m_file.hasHiddenTwin(section))
            m_file.removeHeader(section);
        forget(section);
    }
    // Gives the alarm of `from` the section `to`. Where `to` is free and nothing hides behind
    // `from`, only the header changes, and everything the section holds goes with the alarm.
    void move(const std::string& from, const std::string& to)
    {
        const DayAlarm* found = find(from);
        if (!found)
            return;
        DayAlarm alarm = *found;
        if (!m_file.hasSection(to) && !m_file.hasHiddenTwin(from)) {
            m_file.renameSection(from, to);
            forget(from);
            alarm.section = to;
            m_alarms.push_back(alarm);
            return;
        }
        vacate(from);
        put(to, alarm);
    }
    // "alarm" with empty values, as Delete has always left a day without alarms.
    void empty()
    {
        const std::string section(kAlarmSection);
        for (const std::string_view key : {kReasonKey, kTimeKey, kMusicKey})
            m_file.set(section, key, "");
        for (const std::string_view key :
             {kRingMinutesKey, kSnoozeMinutesKey, kOffKey, kVolumeKey, kFadeSecondsKey})
            m_file.remove(section, key);
        forget(section);
    }
    // A section name no alarm of the file uses: "alarm 2", "alarm 3"...
    std::string freshSection()
    {
        long number = 2;
        while (m_taken.count(number))
            ++number;
        m_taken.insert(number);
        return std::string(kAlarmSection) + " " + std::to_string(number);
    }

    // "alarm" holds the day's earliest switched-on alarm; with none, no alarm at all.
    void keepEarliestFirst()
    {
        const DayAlarm* current = find(kAlarmSection);
        const DayAlarm* earliest = current && !current->off ? current : nullptr;
        for (const DayAlarm& alarm : m_alarms)
            if (!alarm.off && (!earliest || earlier(alarm, *earliest)))
                earliest = &alarm;
        if (earliest == current && current)
            return;
        const std::string moving = earliest ? earliest->section : std::string();
        if (current) {
            move(current->section, freshSection());
            if (moving.empty())
                empty();
        }
        if (moving.empty())
            return;
        if (m_file.hasSection(kAlarmSection))
            vacate(std::string(kAlarmSection)); // what Delete left there
        move(moving, std::string(kAlarmSection));
    }
    bool hasSection(std::string_view section) const { return m_file.hasSection(section); }
    // Deletes the alarm of `section`. The day's last switched-on alarm, in "alarm", is blanked
    // in place, as Delete has always left it; else its section goes and the earliest moves up.
    void remove(const std::string& section)
    {
        const bool last = std::none_of(m_alarms.begin(), m_alarms.end(), [&](const DayAlarm& a) {
            return !a.off && !ini::equalsNoCase(a.section, section);
        });
        if (last && ini::equalsNoCase(section, kAlarmSection)) {
            empty();
            return;
        }
        vacate(section);
        keepEarliestFirst();
    }

private:
    // The number of "alarm 7" (7); 1 for "alarm" and for a number too large to be free.
    static long sectionNumber(std::string_view name)
    {
        const std::size_t digits = name.find_last_not_of("0123456789") + 1;
        const std::string_view number = name.substr(digits);
        return number.empty() || number.size() > 9 ? 1 : std::stol(std::string(number));
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
    std::set<long> m_taken;
};

bool editDay(const std::string& appDir, std::string_view day,
             const std::function<bool(DayEdit&, std::string*)>& edit, std::string* error,
             bool checkOnly = false)
{
    std::error_code ec;
    std::filesystem::create_directories(pathFromUtf8(appFile(appDir, kScheduleFolder)), ec);
    return editIniFile(
        dayFilePath(appDir, day),
        [&](IniEdit& file) {
            DayEdit dayEdit(file);
            return edit(dayEdit, error);
        },
        error, checkOnly);
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
           off == other.off && volume == other.volume && fadeSeconds == other.fadeSeconds;
}

DayAlarm changedAlarm(DayAlarm alarm, const AlarmChange& change)
{
    alarm.reason = change.reason.value_or(alarm.reason);
    alarm.time = change.time.value_or(alarm.time);
    alarm.music = change.music.value_or(alarm.music);
    alarm.ringMinutes = change.ringMinutes.value_or(alarm.ringMinutes);
    alarm.snoozeMinutes = change.snoozeMinutes.value_or(alarm.snoozeMinutes);
    alarm.off = change.off.value_or(alarm.off);
    alarm.volume = change.volume.value_or(alarm.volume);
    alarm.fadeSeconds = change.fadeSeconds.value_or(alarm.fadeSeconds);
    return alarm;
}

bool AlarmChange::isEmpty() const
{
    return !reason && !time && !music && !ringMinutes && !snoozeMinutes && !off && !volume &&
           !fadeSeconds;
}

unsigned AlarmRow::dayMask() const
{
    unsigned mask = 0;
    for (const auto& day : days)
        mask |= 1u << day.first;
    return mask;
}

std::vector<AlarmRow> alarmRows(const WeekAlarms& week)
{
    // Alarms alike in every value share a row, one alarm of a weekday per row: the rows of each
    // set of values, found by those values.
    std::vector<AlarmRow> rows;
    std::unordered_map<std::string, std::vector<std::size_t>> alike;
    for (int weekday = 0; weekday < 7; ++weekday) {
        if (!week[static_cast<std::size_t>(weekday)])
            continue;
        for (const DayAlarm& alarm : *week[static_cast<std::size_t>(weekday)]) {
            const std::string values = alarm.reason + '\x1f' + alarm.time + '\x1f' + alarm.music +
                                       '\x1f' + alarm.ringMinutes + '\x1f' + alarm.snoozeMinutes +
                                       '\x1f' + alarm.volume + '\x1f' + alarm.fadeSeconds +
                                       (alarm.off ? "\x1f"
                                                    "1"
                                                  : "\x1f"
                                                    "0");
            std::vector<std::size_t>& candidates = alike[values];
            const auto row = std::find_if(candidates.begin(), candidates.end(), [&](std::size_t r) {
                return !(rows[r].dayMask() & (1u << weekday));
            });
            if (row != candidates.end()) {
                rows[*row].days.emplace_back(weekday, alarm.section);
            } else {
                candidates.push_back(rows.size());
                rows.push_back({alarm, {{weekday, alarm.section}}});
            }
        }
    }
    // Sorted by each row's minute, read once (times that cannot be read last).
    std::vector<std::pair<int, std::size_t>> order;
    order.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        order.emplace_back(rows[r].alarm.minuteOfDay().value_or(24 * 60), r);
    std::stable_sort(order.begin(), order.end(), [&rows](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        return rows[a.second].alarm.reason < rows[b.second].alarm.reason;
    });
    std::vector<AlarmRow> sorted;
    sorted.reserve(rows.size());
    for (const auto& [minute, r] : order)
        sorted.push_back(std::move(rows[r]));
    return sorted;
}

std::vector<std::pair<int, int>> dayRuns(unsigned mask, int firstDay)
{
    mask &= 0x7F;
    if (mask == 0x7F)
        return {{firstDay, (firstDay + 6) % 7}};
    // Runs on the circle of the week, each starting after a day that is not in it...
    std::vector<std::pair<int, int>> runs;
    for (int day = 0; day < 7; ++day) {
        if (!(mask & (1u << day)) || (mask & (1u << ((day + 6) % 7))))
            continue;
        int last = day;
        while (mask & (1u << ((last + 1) % 7)))
            last = (last + 1) % 7;
        runs.emplace_back(day, last);
    }
    // ... in the order of the week, each where its first day is.
    std::sort(runs.begin(), runs.end(), [firstDay](const auto& a, const auto& b) {
        return (a.first - firstDay + 7) % 7 < (b.first - firstDay + 7) % 7;
    });
    return runs;
}

DayAlarms readDayAlarms(const std::string& appDir, std::string_view day)
{
    // The alarms made of each file's sections, kept as long as the sections are.
    static std::map<std::string,
                    std::pair<std::shared_ptr<const std::vector<ini::Section>>, AlarmList>>
        made;
    static const AlarmList none = std::make_shared<const std::vector<DayAlarm>>();
    const std::string file = dayFilePath(appDir, day);
    const IniSections read = readIniSections(file);
    DayAlarms out;
    out.refusal = read.refusal;
    out.state = read.state == IniSections::Torn      ? DayAlarms::Torn
                : read.state == IniSections::Refused ? DayAlarms::Refused
                                                     : DayAlarms::Read;
    out.alarms = none;
    if (!read.sections || read.sections->empty())
        return out;
    auto& [sections, alarms] = made[file];
    if (sections != read.sections) {
        if (made.size() > 16)
            made.clear();
        auto& entry = made[file];
        entry = {read.sections,
                 std::make_shared<const std::vector<DayAlarm>>(alarmsOf(*read.sections))};
        out.alarms = entry.second;
        return out;
    }
    out.alarms = alarms;
    return out;
}

bool addDayAlarm(const std::string& appDir, std::string_view day, const DayAlarm& alarm,
                 std::string* error, bool checkOnly)
{
    return editDay(
        appDir, day,
        [&alarm](DayEdit& file, std::string*) {
            file.put(file.freshSection(), alarm);
            file.keepEarliestFirst();
            return true;
        },
        error, checkOnly);
}

bool changeDayAlarm(const std::string& appDir, std::string_view day, const DayAlarm& before,
                    const AlarmChange& change, std::string* error, bool* changedMeanwhile,
                    bool checkOnly)
{
    return editDay(
        appDir, day,
        [&](DayEdit& file, std::string* why) {
            const DayAlarm* now = unchanged(file, before, why, changedMeanwhile);
            if (!now)
                return false;
            file.apply(*now, change);
            file.keepEarliestFirst();
            return true;
        },
        error, checkOnly);
}

bool deleteDayAlarm(const std::string& appDir, std::string_view day, const DayAlarm& before,
                    std::string* error, bool* changedMeanwhile, bool checkOnly)
{
    return editDay(
        appDir, day,
        [&](DayEdit& file, std::string* why) {
            const DayAlarm* now = unchanged(file, before, why, changedMeanwhile);
            if (!now)
                return false;
            file.remove(now->section);
            return true;
        },
        error, checkOnly);
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
            file.remove(std::string(kAlarmSection));
            return true;
        },
        error);
}

} // namespace chimewell
