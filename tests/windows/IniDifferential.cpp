// Applies the same reads and writes to INI files once through readIniValue/writeIniValue and
// once through Windows' own profile functions, and compares every value read. Run on Windows
// or under Wine.
//
// Values read must match exactly; a difference fails the run. The files' bytes are not
// compared: Windows rewrites lines that a write does not touch (blanks around "=" dropped,
// blank lines dropped, LF made CR LF), while ours keeps them as they are.

#include "CoreTest.h"
#include "storage/IniFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

using namespace chimewell;

namespace {

constexpr DWORD kBuffer = 750;

// The engine's output is fixed by the standard (unlike its distributions), so the cases are
// the same with every compiler and library.
struct Random : std::mt19937_64
{
    using std::mt19937_64::mt19937_64;
    std::size_t below(std::size_t n) { return (*this)() % n; }
    bool percent(unsigned p) { return below(100) < p; }
    template <typename T> const T& pick(const std::vector<T>& v) { return v[below(v.size())]; }
};

std::string longValue(std::size_t length)
{
    std::string out(length, 'a');
    for (std::size_t i = 0; i < length; ++i)
        out[i] = static_cast<char>('a' + i % 26);
    return out;
}

const std::vector<std::string> kSections = {
    "Settings", "settings", "SETTINGS",    "Alarm",   "ALARM",     "alarm", " Alarm",
    "Alarm ",   "Other",    "New Section", "'Alarm'", "\"Alarm\"", "Monday"};
const std::vector<std::string> kKeys = {"firstload", "FirstLoad", "FIRSTLOAD",  "firstLoad",
                                        "language",  "Language",  "startup",    "Time",
                                        "time",      "sound",     "Sound File", " time",
                                        "time ",     "'time'",    "\"time\"",   "Reason"};
const std::vector<std::string> kValues = [] {
    // One value per "|"; the first is the empty value.
    const std::string list = "|0|1|English.lpk|a=b|x = y|'quoted'|\"double\"|'lone|\"lone|lone'|"
                             "  padded  |; semicolon|C:\\Music\\alarm.mp3|07:30|'mixed\"|''|"
                             "\"\"|'|\"|tab\there|# hash|[not a section]|'  inner blanks  '|"
                             "\" both \"";
    std::vector<std::string> v;
    for (std::size_t start = 0, bar; start <= list.size(); start = bar + 1) {
        bar = std::min(list.find('|', start), list.size());
        v.push_back(list.substr(start, bar - start));
    }
    for (std::size_t n : {748, 749, 750, 751, 800})
        v.push_back(longValue(n));
    v.push_back("'" + longValue(748) + "'");
    v.push_back("\"" + longValue(749) + "\"");
    v.push_back("\"" + longValue(750) + "\"");
    return v;
}();

std::string blanks(Random& r)
{
    static const std::vector<std::string> kinds = {"", "", "", " ", "  ", "\t", " \t "};
    return r.pick(kinds);
}

std::string keyLine(Random& r)
{
    const std::string key = r.pick(kKeys);
    if (r.percent(8))
        return blanks(r) + key + blanks(r); // a line without "="
    return blanks(r) + key + blanks(r) + "=" + blanks(r) + r.pick(kValues) + blanks(r);
}

std::string randomLine(Random& r)
{
    switch (r.below(12)) {
    case 0:
        return "";
    case 1:
        return blanks(r);
    case 2:
        return r.percent(50) ? "; a comment" : ";" + r.pick(kKeys) + "=" + r.pick(kValues);
    case 3:
        return "# " + r.pick(kKeys) + "=hash";
    case 4:
    case 5:
        return blanks(r) + "[" + blanks(r) + r.pick(kSections) + blanks(r) + "]" + blanks(r);
    default:
        return keyLine(r);
    }
}

struct Case
{
    bool exists = true;
    std::string text;
};

Case randomFile(Random& r)
{
    Case c;
    if (r.percent(10)) {
        c.exists = false;
        return c;
    }
    const std::string eol = r.percent(50) ? "\r\n" : "\n";
    std::vector<std::string> lines;
    const std::size_t before = r.percent(25) ? 1 + r.below(3) : 0; // keys before any section
    for (std::size_t i = 0; i < before; ++i)
        lines.push_back(keyLine(r));
    const std::size_t count = r.below(14);
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back(randomLine(r));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        c.text += lines[i];
        if (i + 1 < lines.size() || !r.percent(30))
            c.text += eol;
    }
    return c;
}

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Every section and key named in a file, as a reader could be asked for them.
void namesIn(const std::string& text, std::set<std::pair<std::string, std::string>>& pairs)
{
    std::istringstream lines(text);
    std::string section;
    for (std::string raw; std::getline(lines, raw);) {
        const std::string line = trimmed(raw.substr(0, raw.find('\r')));
        if (!line.empty() && line.front() == '[' && line.find(']') != std::string::npos)
            section = trimmed(line.substr(1, line.rfind(']') - 1));
        else if (!line.empty() && line.front() != ';')
            pairs.insert({section, trimmed(line.substr(0, line.find('=')))});
    }
}

std::string windowsRead(const std::string& section, const std::string& key, const std::string& path)
{
    char buffer[kBuffer + 1] = {};
    const DWORD n = GetPrivateProfileStringA(section.c_str(), ini::toLowerAscii(key).c_str(), "",
                                             buffer, kBuffer, path.c_str());
    return std::string(buffer, n);
}

} // namespace

TEST_CASE("windowsReadsWhatWeReadAfterTheSameWrites")
{
    const long cases = 10000;
    coretest::TempDir folder;
    Random r(20261206);
    long reads = 0;
    long writes = 0;
    for (long n = 0; n < cases; ++n) {
        const std::string ours = folder.file("ours.ini");
        const std::string theirs = folder.file("windows.ini");
        DeleteFileA(ours.c_str());
        DeleteFileA(theirs.c_str());
        const Case start = randomFile(r);
        if (start.exists) {
            coretest::writeFile(ours, start.text);
            coretest::writeFile(theirs, start.text);
        }
        INFO("case ", n, ", the file was: ", start.text);
        for (std::size_t op = 1 + r.below(6); op > 0; --op) {
            const std::string section = r.pick(kSections);
            const std::string key = r.pick(kKeys);
            std::set<std::pair<std::string, std::string>> pairs = {{section, key}};
            if (r.percent(50)) {
                ++writes;
                const std::string value = r.pick(kValues);
                INFO("written: [", section, "] ", key, "=", value);
                CHECK_EQ(
                    writeIniValue(section, key, value, ours),
                    bool(WritePrivateProfileStringA(section.c_str(), ini::toUpperAscii(key).c_str(),
                                                    value.c_str(), theirs.c_str())));
                // After a write, every value that either reader finds must agree.
                namesIn(coretest::readFile(ours), pairs);
                namesIn(coretest::readFile(theirs), pairs);
            }
            for (const auto& [s, k] : pairs) {
                ++reads;
                INFO("read: [", s, "] ", k);
                if (!k.empty())
                    CHECK_EQ(readIniValue(s, k, ours), windowsRead(s, k, theirs));
            }
        }
    }
    std::printf("%ld cases: %ld reads, %ld writes\n", cases, reads, writes);
}
