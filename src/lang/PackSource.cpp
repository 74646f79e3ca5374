#include "PackSource.h"

#include "storage/TextCodec.h"

#include <vector>

namespace chimewell::pack {
namespace {

constexpr std::string_view kDefaultTag = "LPK1";
constexpr std::string_view kStringsSection = "strings";
constexpr std::string_view kTitleKey = "title";
constexpr std::string_view kExtraKey = "extra";
constexpr std::string_view kWindows1252 = "windows-1252";

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads the quoted text that starts at text[i] (a quote) and leaves i after its closing quote.
bool readQuoted(std::string_view text, std::size_t& i, std::string& out, std::string& error)
{
    out.clear();
    ++i;
    while (i < text.size()) {
        char c = text[i++];
        if (c == '"')
            return true;
        if (c == '\\') {
            if (i >= text.size())
                break;
            const char e = text[i++];
            if (e == 'x') {
                const int high = i < text.size() ? hexDigit(text[i]) : -1;
                const int low = i + 1 < text.size() ? hexDigit(text[i + 1]) : -1;
                if (high < 0 || low < 0)
                    return error = "\\x takes two hex digits", false;
                c = static_cast<char>(high * 16 + low);
                i += 2;
            } else if (e == 'n' || e == 't' || e == 'r' || e == '"' || e == '\\') {
                c = e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
            } else {
                return error = std::string("unknown escape \\") + e, false;
            }
        }
        out += c;
    }
    return error = "a quoted text is not closed", false;
}

void skipBlanks(std::string_view text, std::size_t& i)
{
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
}

// Splits "a | "b|c" | d" into its fields.
bool splitFields(std::string_view text, std::vector<std::string>& fields, std::string& error)
{
    fields.clear();
    std::size_t i = 0;
    while (true) {
        skipBlanks(text, i);
        std::string field;
        if (i < text.size() && text[i] == '"') {
            if (!readQuoted(text, i, field, error))
                return false;
            skipBlanks(text, i);
            if (i < text.size() && text[i] != '|')
                return error = "text after a closing quote", false;
        } else {
            const std::size_t bar = text.find('|', i);
            const std::size_t end = bar == std::string_view::npos ? text.size() : bar;
            field = std::string(trim(text.substr(i, end - i)));
            if (field.find('"') != std::string::npos)
                return error = "a quote inside an unquoted text (quote the whole text)", false;
            i = end;
        }
        fields.push_back(field);
        if (i >= text.size())
            return true;
        ++i; // the bar
    }
}

// A name before "=" or inside "[...]": quoted, or plain up to `stop`.
bool readName(std::string_view line, std::size_t& i, char stop, std::string& name,
              std::string& error)
{
    skipBlanks(line, i);
    if (i < line.size() && line[i] == '"') {
        if (!readQuoted(line, i, name, error))
            return false;
        skipBlanks(line, i);
        if (i >= line.size() || line[i] != stop)
            return error = std::string("expected ") + stop + " after a quoted name", false;
    } else {
        const std::size_t end = line.find(stop, i);
        if (end == std::string_view::npos)
            return error =
                       stop == '=' ? "expected KEY = text" : "a section is written [WindowName]",
                   false;
        name = std::string(trim(line.substr(i, end - i)));
        i = end;
    }
    ++i;
    return true;
}

// Quoting keeps what a plain text would lose: outer blanks, bars, quotes, line breaks, and
// bytes that are control characters or not UTF-8 (written as \xHH).
bool needsQuotes(const std::string& text)
{
    if (text.empty())
        return false;
    if (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' || text.back() == '\t' ||
        !isValidUtf8(text))
        return true;
    for (char c : text)
        if (c == '|' || c == '"' || c == '\\' || c == '#' || static_cast<unsigned char>(c) < 0x20 ||
            c == 0x7F)
            return true;
    return false;
}

std::string quoted(const std::string& text)
{
    static const char* const digits = "0123456789ABCDEF";
    const bool utf8 = isValidUtf8(text);
    std::string out = "\"";
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += '\\', out += c;
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else if (b < 0x20 || b == 0x7F || (b >= 0x80 && !utf8))
            out += "\\x", out += digits[b >> 4], out += digits[b & 15];
        else
            out += c;
    }
    return out + "\"";
}

std::string quoteIfNeeded(const std::string& text)
{
    return needsQuotes(text) ? quoted(text) : text;
}

// Names are quoted also where they would read as something else: empty, holding "=" or "]",
// starting like a comment or a section, or, in a window, one of the window's own keys.
std::string formatName(const std::string& name, bool inWindow)
{
    const bool reserved = name.empty() || name.find_first_of("=[]") != std::string::npos ||
                          name.front() == '#' ||
                          (inWindow && (name == kTitleKey || name == kExtraKey));
    return reserved ? quoted(name) : quoteIfNeeded(name);
}

std::string joinFields(std::vector<std::string> fields)
{
    while (!fields.empty() && fields.back().empty())
        fields.pop_back();
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            out += " | ";
        out += quoteIfNeeded(fields[i]);
    }
    // "| tip" rather than " | tip" after an empty caption.
    if (out.rfind(" |", 0) == 0)
        out.erase(0, 1);
    return out;
}

} // namespace

bool parseSource(std::string_view source, Pack& pack, std::string& error)
{
    Pack p;
    p.headerTag = std::string(kDefaultTag);
    p.headerText = "Chimewell language pack";
    p.forms.resize(1);
    p.strings.resize(1);
    enum class In
    {
        Nothing,
        Form,
        Strings
    } in = In::Nothing;
    int lineNumber = 0;
    std::size_t start = 0;
    auto fail = [&](const std::string& text) {
        error = "line " + std::to_string(lineNumber) + ": " + text;
        return false;
    };
    while (start <= source.size()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string_view::npos)
            end = source.size();
        const std::string_view line = trim(source.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == '#')
            continue;
        std::string why;
        if (line.front() == '[') {
            std::size_t i = 1;
            std::string name;
            if (!readName(line, i, ']', name, why))
                return fail(why);
            if (i != line.size())
                return fail("text after a section's ]");
            if (name == kStringsSection && line[1] != '"') {
                in = In::Strings;
            } else {
                in = In::Form;
                p.forms.emplace_back();
                p.forms.back().formName = name;
                p.forms.back().hasTable = true;
            }
            continue;
        }
        if (in == In::Nothing) {
            // The pack's header: "pack TEXT", "tag TEXT", "encoding windows-1252".
            const std::size_t blank = line.find_first_of(" \t");
            const std::string_view word = line.substr(0, blank);
            std::string value(blank == std::string_view::npos ? "" : trim(line.substr(blank)));
            std::size_t i = 0;
            if (!value.empty() && value.front() == '"') {
                const std::string plain = value;
                if (!readQuoted(plain, i, value, why))
                    return fail(why);
                if (i != plain.size())
                    return fail("text after a closing quote");
            }
            if (word == "pack" && value.size() <= 32) {
                p.headerText = value;
                continue;
            }
            if (word == "tag" && value.size() <= 4) {
                p.headerTag = value;
                continue;
            }
            if (word == "encoding" && value == kWindows1252) {
                p.windows1252 = true;
                continue;
            }
            if (word == "pack" || word == "tag" || word == "encoding")
                return fail("the header is \"pack\" and at most 32 bytes, \"tag\" and at most 4 "
                            "bytes, or \"encoding windows-1252\"");
        }
        std::size_t i = 0;
        const bool quotedKey = line.front() == '"';
        std::string key;
        if (!readName(line, i, '=', key, why))
            return fail(why);
        if (key.empty() && !quotedKey)
            return fail("a line without a key before =");
        std::vector<std::string> fields;
        if (!splitFields(line.substr(i), fields, why))
            return fail(why);
        if (in == In::Nothing)
            return fail("\"" + key + "\" comes before any [WindowName] or [strings] section");
        if (in == In::Strings) {
            if (fields.size() > 1)
                return fail("a string has one value");
            p.strings.push_back({key, fields[0]});
            continue;
        }
        FormEntry& form = p.forms.back();
        if (key == kTitleKey && !quotedKey) {
            if (fields.size() > 2)
                return fail("a title has a text and an override at most");
            form.caption = fields[0];
            form.captionOverride = fields.size() > 1 ? fields[1] : std::string();
            continue;
        }
        if (key == kExtraKey && !quotedKey) {
            if (fields.size() > 1)
                return fail("extra has one value");
            form.extra = fields[0];
            continue;
        }
        if (fields.size() > 5)
            return fail("a control has at most five texts: caption | tooltip | caption override | "
                        "tooltip override | extra");
        fields.resize(5);
        form.controls.push_back({fields[4], key, fields[0], fields[1], fields[2], fields[3]});
    }
    if (p.forms.size() > 32768 || p.strings.size() > 32768)
        return fail("too many windows or strings");
    for (FormEntry& f : p.forms) {
        if (f.controls.size() > 32767)
            return error = "window " + f.formName + " has too many controls", false;
        f.controlCount = static_cast<std::int16_t>(f.controls.size());
    }
    p.formCount = static_cast<std::int16_t>(p.forms.size() - 1);
    p.stringCount = static_cast<std::int16_t>(p.strings.size() - 1);
    pack = std::move(p);
    return true;
}

std::string formatSource(const Pack& pack)
{
    std::string out;
    std::string header = pack.headerText;
    while (!header.empty() && header.back() == ' ')
        header.pop_back();
    if (header != "Chimewell language pack")
        out += "pack " + (header.empty() ? std::string("\"\"") : quoteIfNeeded(header)) + "\n";
    if (pack.headerTag != kDefaultTag)
        out += "tag " + quoted(pack.headerTag) + "\n";
    if (pack.windows1252)
        out += "encoding " + std::string(kWindows1252) + "\n";
    for (std::size_t i = 1; i < pack.forms.size(); ++i) {
        const FormEntry& f = pack.forms[i];
        if (!out.empty())
            out += "\n";
        const bool plainName = f.formName != kStringsSection && !f.formName.empty() &&
                               f.formName.find_first_of("[]") == std::string::npos;
        out += "[" + (plainName ? quoteIfNeeded(f.formName) : quoted(f.formName)) + "]\n";
        out += "title = " + joinFields({f.caption, f.captionOverride}) + "\n";
        if (!f.extra.empty())
            out += "extra = " + quoteIfNeeded(f.extra) + "\n";
        for (int j = 1; j <= f.controlCount; ++j) {
            const ControlEntry& c = f.control(j);
            out +=
                formatName(c.key, true) + " = " +
                joinFields({c.caption, c.toolTip, c.captionOverride, c.toolTipOverride, c.extra}) +
                "\n";
        }
    }
    if (pack.strings.size() > 1) {
        out += "\n[strings]\n";
        for (std::size_t i = 1; i < pack.strings.size(); ++i)
            out += formatName(pack.strings[i].name, false) + " = " +
                   quoteIfNeeded(pack.strings[i].value) + "\n";
    }
    return out;
}

} // namespace chimewell::pack
