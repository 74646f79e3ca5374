#include "IniFile.h"

#include "TextCodec.h"
#include "platform/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <unordered_set>
#include <vector>

namespace chimewell {
namespace ini {

bool equalsNoCase(std::string_view a, std::string_view b);

namespace {

// The profile functions count Ctrl-Z (the old end-of-file mark) as a blank too.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == 0x1A;
}

std::string_view trimLeft(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view trimRight(std::string_view s)
{
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view trim(std::string_view s)
{
    return trimRight(trimLeft(s));
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

struct Line
{
    std::string_view content; // without the line end
    std::string_view end;     // "\r\n", "\n", "\r" or "" for a last line without one
};

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t stop = text.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            lines.push_back({text.substr(start), {}});
            break;
        }
        std::size_t endLength =
            (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n') ? 2 : 1;
        lines.push_back({text.substr(start, stop - start), text.substr(stop, endLength)});
        start = stop + endLength;
    }
    return lines;
}

// What one line means to the profile reader.
struct Parsed
{
    enum Kind
    {
        Blank,
        Section,
        Key
    } kind = Blank;
    std::string_view name;                 // section or key name
    std::optional<std::string_view> value; // a key line without "=" has no value
};

Parsed parse(std::string_view content)
{
    const std::string_view text = trim(content);
    if (text.empty())
        return {};
    if (text.front() == '[') {
        const std::size_t close = text.rfind(']');
        if (close != std::string_view::npos && close > 0)
            return {Parsed::Section, trim(text.substr(1, close - 1)), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return {Parsed::Key, text, {}};
    return {Parsed::Key, trimRight(text.substr(0, equals)), trimLeft(text.substr(equals + 1))};
}

// Index range [first, last) of the lines belonging to the first section named `section`;
// `header` is the index of its header line, or npos for the unnamed section at the top.
struct SectionRange
{
    std::size_t header = std::string_view::npos;
    std::size_t first = 0;
    std::size_t last = 0;
    bool found = false;
};

SectionRange findSection(const std::vector<Line>& lines, std::string_view section)
{
    SectionRange range;
    bool inside = section.empty(); // the unnamed section runs from the top to the first header
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = parse(lines[i].content);
        if (p.kind != Parsed::Section)
            continue;
        if (inside) {
            range.last = i;
            range.found = true;
            return range;
        }
        if (equalsNoCase(p.name, section)) {
            inside = true;
            range.header = i;
            range.first = i + 1;
        }
    }
    if (inside) {
        range.last = lines.size();
        range.found = true;
    }
    return range;
}

std::string_view copyEntry(std::string_view value, std::size_t longest, std::string& out)
{
    // One pair of enclosing quotes is dropped; a value too long for the buffer keeps its
    // closing quote cut off with the rest, as the profile reader does.
    char quote = 0;
    if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') &&
        value.back() == value.front()) {
        quote = value.front();
        value.remove_prefix(1);
    }
    out = utf8Left(value, longest);
    if (quote && longest + 1 >= utf8Length(value) && !out.empty()) {
        // remove the last character (the closing quote when the whole value fitted)
        std::size_t cut = out.size() - 1;
        while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80)
            --cut;
        out.erase(cut);
    }
    return out;
}

} // namespace

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

std::string Section::value(std::string_view key) const
{
    for (const auto& [name, value] : keys)
        if (equalsNoCase(name, key))
            return value;
    return {};
}

bool Section::has(std::string_view key) const
{
    return std::any_of(keys.begin(), keys.end(),
                       [key](const auto& entry) { return equalsNoCase(entry.first, key); });
}

std::vector<Section> sections(std::string_view text)
{
    std::vector<Section> out;
    std::unordered_set<std::string> seen; // the names so far, in capitals
    Section* current = nullptr; // null before the first header and inside a repeated section
    for (const Line& line : splitLines(text)) {
        const Parsed p = parse(line.content);
        if (p.kind == Parsed::Section) {
            const bool repeated = !seen.insert(toUpperAscii(p.name)).second;
            current = repeated ? nullptr : &out.emplace_back(Section{std::string(p.name), {}});
        } else if (p.kind == Parsed::Key && current) {
            std::string value;
            if (p.value)
                copyEntry(*p.value, kLongestIniValue, value);
            current->keys.emplace_back(std::string(p.name), std::move(value));
        }
    }
    return out;
}

std::optional<std::string> removeKey(std::string_view text, std::string_view section,
                                     std::string_view key)
{
    const std::vector<Line> lines = splitLines(text);
    const SectionRange range = findSection(lines, trim(section));
    if (!range.found)
        return std::nullopt;
    for (std::size_t i = range.first; i < range.last; ++i) {
        const Parsed p = parse(lines[i].content);
        if (p.kind == Parsed::Key && equalsNoCase(p.name, trim(key))) {
            const std::size_t start =
                static_cast<std::size_t>(lines[i].content.data() - text.data());
            const std::size_t stop = start + lines[i].content.size() + lines[i].end.size();
            return std::string(text.substr(0, start)) + std::string(text.substr(stop));
        }
    }
    return std::nullopt;
}

std::optional<std::string> removeSection(std::string_view text, std::string_view section)
{
    const std::vector<Line> lines = splitLines(text);
    const SectionRange range = findSection(lines, trim(section));
    if (!range.found || range.header == std::string_view::npos)
        return std::nullopt;
    const std::size_t start =
        static_cast<std::size_t>(lines[range.header].content.data() - text.data());
    const std::size_t stop =
        range.last < lines.size()
            ? static_cast<std::size_t>(lines[range.last].content.data() - text.data())
            : text.size();
    return std::string(text.substr(0, start)) + std::string(text.substr(stop));
}

std::optional<std::string> replaceHeader(std::string_view text, std::string_view section,
                                         std::optional<std::string_view> header)
{
    const std::vector<Line> lines = splitLines(text);
    const SectionRange range = findSection(lines, trim(section));
    if (!range.found || range.header == std::string_view::npos)
        return std::nullopt;
    const Line& line = lines[range.header];
    const std::size_t start = static_cast<std::size_t>(line.content.data() - text.data());
    std::string out(text.substr(0, start));
    if (header) {
        out += *header;
        out += line.end;
    }
    out += text.substr(start + line.content.size() + line.end.size());
    return out;
}

std::vector<std::string> keysOf(std::string_view text, std::string_view section)
{
    const std::vector<Line> lines = splitLines(text);
    const SectionRange range = findSection(lines, trim(section));
    std::vector<std::string> keys;
    for (std::size_t i = range.first; range.found && i < range.last; ++i)
        if (const Parsed p = parse(lines[i].content); p.kind == Parsed::Key)
            keys.emplace_back(p.name);
    return keys;
}

int sectionCount(std::string_view text, std::string_view section)
{
    int count = 0;
    for (const Line& line : splitLines(text))
        if (const Parsed p = parse(line.content);
            p.kind == Parsed::Section && equalsNoCase(p.name, trim(section)))
            ++count;
    return count;
}

std::string_view lineEnd(std::string_view text)
{
    std::size_t crlf = 0, lf = 0, cr = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++crlf, ++i;
        else if (text[i] == '\n')
            ++lf;
        else if (text[i] == '\r')
            ++cr;
    }
    if (lf > crlf && lf >= cr)
        return "\n";
    if (cr > crlf && cr > lf)
        return "\r";
    return "\r\n";
}

std::string toLowerAscii(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lowerAscii);
    return out;
}

std::string toUpperAscii(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return out;
}

std::string lookup(std::string_view text, std::string_view section, std::string_view key,
                   std::size_t longest)
{
    section = trim(section);
    key = trim(key);
    if (key.empty())
        return {};
    const std::vector<Line> lines = splitLines(text);
    const SectionRange range = findSection(lines, section);
    if (!range.found)
        return {};
    for (std::size_t i = range.first; i < range.last; ++i) {
        const Parsed p = parse(lines[i].content);
        if (p.kind == Parsed::Key && equalsNoCase(p.name, key)) {
            if (!p.value)
                return {};
            std::string out;
            copyEntry(*p.value, longest, out);
            return out;
        }
    }
    return {};
}

namespace {

// A value is one line: a line break in it would forge further keys or sections.
std::string oneLine(std::string_view value)
{
    std::string clean(value.substr(0, value.find('\0')));
    std::replace_if(
        clean.begin(), clean.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return std::string(trimLeft(clean));
}

} // namespace

std::string appendSection(std::string_view text, std::string_view section,
                          const std::vector<std::pair<std::string, std::string>>& keys)
{
    const std::string_view eol = lineEnd(text);
    std::string out(text);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r')
        out += eol;
    out += '[';
    out += trim(section);
    out += ']';
    out += eol;
    for (const auto& [key, value] : keys) {
        out += trim(key);
        out += '=';
        out += oneLine(value);
        out += eol;
    }
    return out;
}

std::optional<std::string> update(std::string_view text, std::string_view section,
                                  std::string_view key, std::string_view value)
{
    section = trim(section);
    key = trim(key);
    const std::string clean = oneLine(value);
    const std::string_view newValue = clean;

    std::vector<Line> lines = splitLines(text);
    const SectionRange range = findSection(lines, section);
    std::string replaced;
    std::size_t replaceAt = std::string_view::npos;
    std::size_t insertAfter = std::string_view::npos; // npos: append a new section

    if (range.found) {
        insertAfter = range.header;
        for (std::size_t i = range.first; i < range.last; ++i) {
            const Parsed p = parse(lines[i].content);
            if (p.kind == Parsed::Blank)
                continue;
            insertAfter = i;
            if (replaceAt == std::string_view::npos && p.kind == Parsed::Key &&
                equalsNoCase(p.name, key)) {
                replaceAt = i;
                if (p.value && *p.value == newValue)
                    return std::nullopt;
                const std::string_view content = lines[i].content;
                if (p.value) {
                    // keep the key as spelled in the file and everything up to the old value
                    const std::size_t valueStart =
                        static_cast<std::size_t>(p.value->data() - content.data());
                    replaced = std::string(content.substr(0, valueStart)) + std::string(newValue);
                } else {
                    replaced = std::string(trimRight(content)) + "=" + std::string(newValue);
                }
            }
        }
    }

    std::string out;
    out.reserve(text.size() + key.size() + newValue.size() + section.size() + 8);
    const std::string keyLine = std::string(key) + "=" + std::string(newValue);
    const std::string_view eol = lineEnd(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == replaceAt) {
            out += replaced;
            out += lines[i].end;
            continue;
        }
        out += lines[i].content;
        if (range.found && replaceAt == std::string_view::npos && i == insertAfter) {
            out += lines[i].end.empty() ? eol : lines[i].end;
            out += keyLine;
            out += eol;
            continue;
        }
        out += lines[i].end;
    }
    if (range.found && replaceAt == std::string_view::npos &&
        insertAfter == std::string_view::npos) {
        // the unnamed section with no lines yet: the key goes first
        out = keyLine + std::string(eol) + out;
    }
    if (!range.found) {
        if (!out.empty() && out.back() != '\n' && out.back() != '\r')
            out += eol;
        out += '[';
        out += section;
        out += ']';
        out += eol;
        out += keyLine;
        out += eol;
    }
    return out;
}

} // namespace ini

namespace {

// The files last read, decoded, with the values looked up in them, kept until the file's
// stamp changes: the day file is consulted on every tick, and a large one read afresh each
// second cost a noticeable share of a core.
struct CachedFile
{
    FileStamp stamp;
    std::string text;
    std::map<std::pair<std::string, std::string>, std::string> values;
    std::shared_ptr<const std::vector<ini::Section>> sections; // made at first use
};
std::map<std::string, CachedFile>& fileCache()
{
    static std::map<std::string, CachedFile> cache;
    return cache;
}
constexpr std::size_t kCachedFiles = 16;

// File times are coarse (a few milliseconds on Linux, more elsewhere): two writes of the same
// size inside one tick of them look alike. A file changed in the last two seconds is
// therefore read again rather than trusted, as git treats "racily clean" files.
bool recentlyModified(const FileStamp& stamp)
{
    const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::filesystem::file_time_type::clock::now().time_since_epoch())
                                 .count();
    // A file time far in the future (a copy from a machine whose clock ran ahead) is no sign
    // of a write now: a write gives it the present time, which the stamp then tells.
    return std::abs(now - stamp.modifiedNs) < 2'000'000'000;
}

enum class ReadState
{
    Read,
    Missing,
    Refused,
    Torn
};

// The file's text; a read that sees the file change under it (another program writing it
// in place) is tried once more, and a torn read is never kept.
CachedFile* readCached(const std::string& fileName, ReadState& state)
{
    auto& cache = fileCache();
    for (int attempt = 0; attempt < 2; ++attempt) {
        const FileStamp before = fileStamp(fileName);
        if (!before.exists || before.size > kMaxIniFileBytes) {
            cache.erase(fileName);
            // Something that is not a file (a folder, a pipe, a loop of links) where the file
            // should be is refused too, unopened.
            state = before.exists || notAnOrdinaryFile(fileName) ? ReadState::Refused
                                                                 : ReadState::Missing;
            return nullptr;
        }
        const auto found = cache.find(fileName);
        if (found != cache.end() && found->second.stamp == before && !recentlyModified(before)) {
            state = ReadState::Read;
            return &found->second;
        }
        std::string bytes;
        if (!readWholeFile(fileName, bytes)) {
            state = ReadState::Refused;
            return nullptr;
        }
        if (fileStamp(fileName) != before || bytes.size() != before.size)
            continue;
        if (cache.size() >= kCachedFiles && found == cache.end())
            cache.clear();
        CachedFile& entry = cache[fileName];
        entry = {before, decodeText(bytes), {}, {}};
        state = ReadState::Read;
        return &entry;
    }
    state = ReadState::Torn;
    return nullptr;
}

// A rewrite in place is seen empty between its truncation and its write.
bool maybeHalfWritten(const CachedFile& file)
{
    return file.stamp.size == 0 && recentlyModified(file.stamp);
}

} // namespace

std::string readIniValue(const std::string& section, const std::string& key,
                         const std::string& fileName)
{
    return tryReadIniValue(section, key, fileName).value_or(std::string());
}

std::optional<std::string> tryReadIniValue(const std::string& section, const std::string& key,
                                           const std::string& fileName)
{
    ReadState state = ReadState::Read;
    CachedFile* file = readCached(fileName, state);
    if (!file)
        return state == ReadState::Torn ? std::nullopt : std::optional<std::string>(std::string());
    auto& values = file->values;
    const auto id = std::make_pair(section, ini::toLowerAscii(key));
    auto found = values.find(id);
    if (found == values.end())
        found = values.emplace(id, ini::lookup(file->text, section, id.second)).first;
    if (maybeHalfWritten(*file))
        return std::nullopt;
    return found->second;
}

IniSections readIniSections(const std::string& fileName)
{
    static const auto none = std::make_shared<const std::vector<ini::Section>>();
    ReadState state = ReadState::Read;
    CachedFile* file = readCached(fileName, state);
    if (state == ReadState::Torn || (file && maybeHalfWritten(*file)))
        return {IniSections::Torn, {}, none};
    if (state == ReadState::Refused)
        return {IniSections::Refused, iniFileRefusal(fileName).value_or("not readable"), none};
    if (!file)
        return {IniSections::Read, {}, none};
    if (!file->sections)
        file->sections =
            std::make_shared<const std::vector<ini::Section>>(ini::sections(file->text));
    return {IniSections::Read, {}, file->sections};
}

std::optional<std::string> iniFileRefusal(const std::string& fileName)
{
    // What is not an ordinary file is never opened: a pipe would hold the program for good.
    if (auto reason = notAnOrdinaryFile(fileName))
        return reason;
    const FileStamp stamp = fileStamp(fileName);
    if (!stamp.exists)
        return std::nullopt;
    if (stamp.size > kMaxIniFileBytes)
        return "larger than 1 MB";
    errno = 0;
    std::ifstream in(pathFromUtf8(fileName), std::ios::binary);
    if (!in)
        return "not readable" + (errno ? " (" + std::string(std::strerror(errno)) + ")" : "");
    return std::nullopt;
}

void IniEdit::set(std::string_view section, std::string_view key, std::string_view value)
{
    std::string encoded(value);
    if (std::string narrow; m_ansi && utf8ToWindows1252(value, narrow))
        encoded = std::move(narrow);
    if (auto updated = ini::update(m_text, section, ini::toUpperAscii(key), encoded)) {
        m_text = std::move(*updated);
        m_changed = true;
    }
}

void IniEdit::addSection(std::string_view section,
                         const std::vector<std::pair<std::string_view, std::string_view>>& keys)
{
    std::vector<std::pair<std::string, std::string>> lines;
    for (const auto& [key, value] : keys) {
        std::string encoded(value);
        if (std::string narrow; m_ansi && utf8ToWindows1252(value, narrow))
            encoded = std::move(narrow);
        lines.emplace_back(ini::toUpperAscii(key), std::move(encoded));
    }
    m_text = ini::appendSection(m_text, section, lines);
    m_changed = true;
}

void IniEdit::remove(std::string_view section, std::string_view key)
{
    if (auto updated = ini::removeKey(m_text, section, key)) {
        m_text = std::move(*updated);
        m_changed = true;
    }
}

void IniEdit::removeSection(std::string_view section)
{
    if (auto updated = ini::removeSection(m_text, section)) {
        m_text = std::move(*updated);
        m_changed = true;
    }
}

void IniEdit::renameSection(std::string_view from, std::string_view to)
{
    std::string header(1, '[');
    header.append(to).push_back(']');
    if (auto updated = ini::replaceHeader(m_text, from, header)) {
        m_text = std::move(*updated);
        m_changed = true;
    }
}

void IniEdit::removeHeader(std::string_view section)
{
    if (auto updated = ini::replaceHeader(m_text, section, std::nullopt)) {
        m_text = std::move(*updated);
        m_changed = true;
    }
}

bool IniEdit::holdsOtherKeys(std::string_view section,
                             const std::vector<std::string_view>& keys) const
{
    for (const std::string& key : ini::keysOf(m_text, section))
        if (std::none_of(keys.begin(), keys.end(),
                         [&key](std::string_view k) { return ini::equalsNoCase(k, key); }))
            return true;
    return false;
}

bool IniEdit::hasHiddenTwin(std::string_view section) const
{
    return ini::sectionCount(m_text, section) > 1;
}

bool IniEdit::hasSection(std::string_view section) const
{
    return ini::sectionCount(m_text, section) > 0;
}

bool IniEdit::holdsKey(std::string_view section, std::string_view key) const
{
    for (const std::string& name : ini::keysOf(m_text, section))
        if (ini::equalsNoCase(name, key))
            return true;
    return false;
}

bool editIniFile(const std::string& fileName, const std::function<bool(IniEdit&)>& edit,
                 std::string* error, bool checkOnly)
{
    std::string bytes;
    std::error_code ec;
    if (const auto reason = notAnOrdinaryFile(fileName)) {
        if (error)
            *error = fileName + " is " + *reason;
        return false;
    }
    if (fileStamp(fileName).size > kMaxIniFileBytes) {
        if (error)
            *error = fileName + " is larger than 1 MB";
        return false;
    }
    if (!readWholeFile(fileName, bytes) && std::filesystem::exists(pathFromUtf8(fileName), ec)) {
        if (error)
            *error = "cannot read " + fileName;
        return false;
    }
    // Every line but the ones changed keeps its bytes: the text is edited in the file's own
    // encoding. UTF-16 is edited as UTF-8 and written back as UTF-16 with its mark, keeping
    // unpaired surrogates and an odd last byte as they were.
    const std::optional<bool> utf16BigEndian = utf16ByteOrder(bytes);
    std::string mark;
    std::string oddByte;
    IniEdit file;
    if (utf16BigEndian) {
        mark = bytes.substr(0, 2);
        if (bytes.size() % 2)
            oddByte = bytes.substr(bytes.size() - 1);
        file.m_text = utf16ToUtf8(std::string_view(bytes).substr(2), *utf16BigEndian, true);
    } else {
        if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
            mark = bytes.substr(0, 3);
        file.m_text = bytes.substr(mark.size());
    }
    // A file that already holds Windows-1252 gets its new text in that code page where it
    // fits; UTF-8 otherwise.
    file.m_ansi = !utf16BigEndian && !isValidUtf8(file.m_text);
    file.m_sections = ini::sections(decodeText(file.m_text));
    if (!edit(file))
        return false;
    if (!file.m_changed)
        return true;
    const std::string written =
        mark + (utf16BigEndian ? utf8ToUtf16(file.m_text, *utf16BigEndian) : file.m_text) + oddByte;
    // A file the program would no longer read is not written at all.
    if (written.size() > kMaxIniFileBytes) {
        if (error)
            *error = fileName + " would be larger than 1 MB";
        return false;
    }
    if (checkOnly)
        return canWriteFile(fileName, error);
    return writeFileAtomically(fileName, written, error);
}

bool writeIniValue(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& fileName, std::string* error)
{
    return writeIniValues(section, {{key, value}}, fileName, error);
}

bool writeIniValues(const std::string& section,
                    const std::vector<std::pair<std::string, std::string>>& values,
                    const std::string& fileName, std::string* error)
{
    return editIniFile(
        fileName,
        [&](IniEdit& file) {
            for (const auto& [key, value] : values)
                file.set(section, key, value);
            return true;
        },
        error);
}

} // namespace chimewell
