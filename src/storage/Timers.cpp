#include "Timers.h"

#include "IniFile.h"
#include "Settings.h"
#include "TextCodec.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

namespace chimewell {
namespace {

bool isDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A number of up to six digits, or nothing.
std::optional<std::int64_t> smallNumber(std::string_view text)
{
    if (!isDigits(text) || text.size() > 6)
        return std::nullopt;
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The length of the UTF-8 sequence at `text[i]`, or 0 where it is not one.
std::size_t sequenceLength(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = lead < 0x80                   ? 1
                         : lead >= 0xC2 && lead < 0xE0 ? 2
                         : lead >= 0xE0 && lead < 0xF0 ? 3
                         : lead >= 0xF0 && lead < 0xF5 ? 4
                                                       : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if ((lead == 0xE0 && byte(i + 1) < 0xA0) || (lead == 0xED && byte(i + 1) >= 0xA0) ||
        (lead == 0xF0 && byte(i + 1) < 0x90) || (lead == 0xF4 && byte(i + 1) >= 0x90))
        return 0;
    return length;
}

std::optional<KeptTimer> keptTimer(const std::string& key, const std::string& value)
{
    const std::string id = ini::toLowerAscii(key);
    if (id.size() < 2 || id[0] != 't' || !isDigits(std::string_view(id).substr(1)) ||
        id.size() > 10)
        return std::nullopt;
    const std::size_t space = value.find(' ');
    const std::string_view due = std::string_view(value).substr(0, space);
    if (!isDigits(due) || due.size() > 12)
        return std::nullopt;
    KeptTimer timer;
    timer.id = id;
    std::from_chars(due.data(), due.data() + due.size(), timer.due);
    if (space != std::string::npos)
        timer.reason = cleanTimerReason(std::string_view(value).substr(space + 1));
    return timer;
}

std::int64_t idNumber(const std::string& id)
{
    std::int64_t number = 0;
    std::from_chars(id.data() + 1, id.data() + id.size(), number);
    return number;
}

} // namespace

std::optional<std::int64_t> parseTimerLength(std::string_view text)
{
    std::string compact;
    for (const char c : text)
        if (c != ' ')
            compact += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::int64_t seconds = 0;
    if (const auto minutes = smallNumber(compact)) {
        seconds = *minutes * 60;
    } else {
        // Parts in the order hours, minutes, seconds, each at most once.
        std::string_view rest = compact;
        const std::string_view units = "hms";
        std::size_t nextUnit = 0;
        if (rest.empty())
            return std::nullopt;
        while (!rest.empty()) {
            const std::size_t end = rest.find_first_not_of("0123456789");
            if (end == 0 || end == std::string_view::npos)
                return std::nullopt;
            const auto number = smallNumber(rest.substr(0, end));
            const std::size_t unit = units.find(rest[end], nextUnit);
            if (!number || unit == std::string_view::npos)
                return std::nullopt;
            seconds += *number * (unit == 0 ? 3600 : unit == 1 ? 60 : 1);
            nextUnit = unit + 1;
            rest.remove_prefix(end + 1);
        }
    }
    if (seconds < 1 || seconds > kLongestTimerSeconds)
        return std::nullopt;
    return seconds;
}

std::string cleanTimerReason(std::string_view text)
{
    std::string clean;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size() && characters < kLongestTimerReason;) {
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) {
            clean += "\xEF\xBF\xBD"; // U+FFFD
            ++i;
        } else {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            if (length == 1 && (c < 0x20 || c == 0x7F))
                clean += ' ';
            else
                clean.append(text.substr(i, length));
            i += length;
        }
        ++characters;
    }
    const std::size_t first = clean.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

std::vector<KeptTimer> readTimers(const std::string& appDir)
{
    std::vector<KeptTimer> timers;
    const IniSections read = readIniSections(settingsFilePath(appDir));
    if (!read.sections)
        return timers;
    for (const ini::Section& section : *read.sections) {
        if (!ini::equalsNoCase(section.name, kTimersSection))
            continue;
        for (const auto& [key, value] : section.keys)
            if (auto timer = keptTimer(key, value);
                timer && std::none_of(timers.begin(), timers.end(),
                                      [&](const KeptTimer& t) { return t.id == timer->id; }))
                timers.push_back(std::move(*timer));
        break;
    }
    std::stable_sort(timers.begin(), timers.end(),
                     [](const KeptTimer& a, const KeptTimer& b) { return a.due < b.due; });
    return timers;
}

bool writeTimers(const std::string& appDir, const std::vector<KeptTimer>& timers,
                 std::string* error)
{
    return editIniFile(
        settingsFilePath(appDir),
        [&](IniEdit& edit) {
            // Only the keys that change are touched: a thousand timers cost one pass each.
            std::map<std::string, std::string> wanted;
            for (const KeptTimer& timer : timers)
                wanted[timer.id] = timer.reason.empty()
                                       ? std::to_string(timer.due)
                                       : std::to_string(timer.due) + ' ' + timer.reason;
            for (const ini::Section& section : edit.sections()) {
                if (!ini::equalsNoCase(section.name, kTimersSection))
                    continue;
                for (const auto& [key, value] : section.keys) {
                    if (!keptTimer(key, value))
                        continue;
                    const auto it = wanted.find(ini::toLowerAscii(key));
                    if (it == wanted.end())
                        edit.remove(kTimersSection, key);
                    else if (it->second == value)
                        wanted.erase(it);
                }
                break; // the reader sees the first section of the name only
            }
            for (const auto& [id, value] : wanted)
                edit.set(kTimersSection, id, value);
            return true;
        },
        error);
}

std::string nextTimerId(const std::vector<KeptTimer>& timers)
{
    std::int64_t highest = 0;
    for (const KeptTimer& timer : timers)
        highest = std::max(highest, idNumber(timer.id));
    std::string id(1, 't');
    return id += std::to_string(highest + 1);
}

} // namespace chimewell
