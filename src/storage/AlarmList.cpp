#include "AlarmList.h"

#include <algorithm>
#include <cstdio>

namespace chimewell {
namespace {

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string timeText(const LocalDateTime& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::string withoutControls(std::string_view text)
{
    std::string clean(text);
    for (char& c : clean)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return clean;
}

std::string jsonString(std::string_view text)
{
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            json += escape;
        } else {
            json += c;
        }
    }
    return json + '"';
}

} // namespace

std::string weeklyAlarmId(int weekday, std::string_view section)
{
    // "alarm" is the first; "alarm 7" the seventh, whatever the spaces between.
    const std::size_t digits = section.find_last_not_of("0123456789") + 1;
    const std::string_view number = section.substr(digits);
    return lowerAscii(dayName(weekday)) + '.' +
           (number.empty() ? std::string("1") : std::string(number));
}

std::vector<ListedAlarm> listComing(const ClockReading& now, const WeekAlarms& week,
                                    std::optional<int> oneShotMinute,
                                    const std::string& oneShotReason,
                                    const std::vector<InstantAlarm>& snoozes,
                                    const std::vector<InstantAlarm>& timers)
{
    std::array<std::vector<std::optional<int>>, 7> minutes;
    for (std::size_t weekday = 0; weekday < 7; ++weekday)
        if (week[weekday])
            for (const DayAlarm& alarm : *week[weekday])
                minutes[weekday].push_back(alarm.off ? std::nullopt : alarm.minuteOfDay());
    // Snoozes and timers are instants: as wall seconds they are as far from now as they are.
    const std::int64_t nowWall = wallSeconds(now.local);
    std::vector<const InstantAlarm*> instants;
    std::vector<std::int64_t> instantWalls;
    for (const auto* list : {&snoozes, &timers})
        for (const InstantAlarm& alarm : *list) {
            instants.push_back(&alarm);
            instantWalls.push_back(nowWall + alarm.epochSeconds - now.epochSeconds);
        }
    std::vector<ListedAlarm> listed;
    // (The weekly alarms come within seven days; snoozes and timers within a day.)
    for (const ComingAlarm& c : comingAlarms(now.local, oneShotMinute, minutes, instantWalls)) {
        ListedAlarm alarm;
        alarm.local = fromWallSeconds(c.wallSecond);
        alarm.epochSeconds = now.epochSeconds + c.wallSecond - nowWall;
        if (c.kind == ComingAlarm::OneShot) {
            alarm.kind = "once";
            alarm.id = kOneShotId;
            alarm.reason = oneShotReason;
        } else if (c.kind == ComingAlarm::Weekly) {
            const DayAlarm& day = (*week[static_cast<std::size_t>(c.weekday)])[c.index];
            alarm.kind = "weekly";
            alarm.id = weeklyAlarmId(c.weekday, day.section);
            alarm.reason = day.reason;
        } else {
            const InstantAlarm& instant = *instants[c.index];
            alarm.kind = c.index < snoozes.size() ? "snoozed" : "timer";
            alarm.id = instant.id;
            alarm.reason = instant.reason;
            alarm.epochSeconds = instant.epochSeconds;
        }
        listed.push_back(std::move(alarm));
    }
    std::stable_sort(listed.begin(), listed.end(), [](const ListedAlarm& a, const ListedAlarm& b) {
        return a.epochSeconds < b.epochSeconds;
    });
    return listed;
}

std::string listText(const std::vector<ListedAlarm>& alarms)
{
    std::string text;
    for (const ListedAlarm& alarm : alarms)
        text += timeText(alarm.local) + '\t' + alarm.kind + '\t' + withoutControls(alarm.id) +
                '\t' + withoutControls(alarm.reason) + '\n';
    return text;
}

std::string listJson(const std::vector<ListedAlarm>& alarms)
{
    std::string json = "[";
    for (const ListedAlarm& alarm : alarms) {
        if (json.size() > 1)
            json += ',';
        json += "\n  {\"time\": " + jsonString(timeText(alarm.local)) +
                ", \"due\": " + std::to_string(alarm.epochSeconds) +
                ", \"kind\": " + jsonString(alarm.kind) + ", \"id\": " + jsonString(alarm.id) +
                ", \"reason\": " + jsonString(alarm.reason) + '}';
    }
    return json + (alarms.empty() ? "]\n" : "\n]\n");
}

} // namespace chimewell
