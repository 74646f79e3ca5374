#include "PackSource.h"

#include <vector>

namespace chimewell::pack {
namespace {

constexpr std::string_view kDefaultTag = "LPK1";
constexpr std::string_view kStringsSection = "strings";

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Splits "a | "b|c" | d" into its fields.
bool splitFields(std::string_view text, std::vector<std::string>& fields, std::string& error)
{
    fields.clear();
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        std::string field;
        if (i < text.size() && text[i] == '"') {
            ++i;
            bool closed = false;
            while (i < text.size()) {
                char c = text[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\') {
                    if (i >= text.size())
                        break;
                    const char e = text[i++];
                    c = e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                    if (e != 'n' && e != 't' && e != 'r' && e != '"' && e != '\\')
                        return error = std::string("unknown escape \\") + e, false;
                }
                field += c;
            }
            if (!closed)
                return error = "a quoted text is not closed", false;
            while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
                ++i;
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

bool needsQuotes(const std::string& text)
{
    if (text.empty())
        return false;
    if (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' || text.back() == '\t')
        return true;
    for (char c : text)
        if (c == '|' || c == '"' || c == '\\' || c == '\n' || c == '\t' || c == '\r' || c == '#')
            return true;
    return false;
}

std::string quoteIfNeeded(const std::string& text)
{
    if (!needsQuotes(text))
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\', out += c;
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out + "\"";
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
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3)
                return fail("a section is written [WindowName]");
            const std::string name(trim(line.substr(1, line.size() - 2)));
            if (name == kStringsSection) {
                in = In::Strings;
            } else {
                in = In::Form;
                p.forms.emplace_back();
                p.forms.back().formName = name;
                p.forms.back().hasTable = true;
            }
            continue;
        }
        if (in == In::Nothing && line.substr(0, 5) == "pack ") {
            p.headerText = std::string(trim(line.substr(5)));
            if (p.headerText.size() > 32)
                return fail("the pack's header text has more than 32 bytes");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return fail("expected KEY = text");
        const std::string key(trim(line.substr(0, equals)));
        if (key.empty())
            return fail("a line without a key before =");
        std::vector<std::string> fields;
        std::string why;
        if (!splitFields(line.substr(equals + 1), fields, why))
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
        if (key == "title") {
            if (fields.size() > 2)
                return fail("a title has a text and an override at most");
            form.caption = fields[0];
            form.captionOverride = fields.size() > 1 ? fields[1] : std::string();
            continue;
        }
        if (key == "extra") {
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
    if (!header.empty() && header != "Chimewell language pack")
        out += "pack " + header + "\n";
    for (std::size_t i = 1; i < pack.forms.size(); ++i) {
        const FormEntry& f = pack.forms[i];
        if (!out.empty())
            out += "\n";
        out += "[" + f.formName + "]\n";
        out += "title = " + joinFields({f.caption, f.captionOverride}) + "\n";
        if (!f.extra.empty())
            out += "extra = " + quoteIfNeeded(f.extra) + "\n";
        for (int j = 1; j <= f.controlCount; ++j) {
            const ControlEntry& c = f.control(j);
            out +=
                c.key + " = " +
                joinFields({c.caption, c.toolTip, c.captionOverride, c.toolTipOverride, c.extra}) +
                "\n";
        }
    }
    if (pack.strings.size() > 1) {
        out += "\n[strings]\n";
        for (std::size_t i = 1; i < pack.strings.size(); ++i)
            out += pack.strings[i].name + " = " + quoteIfNeeded(pack.strings[i].value) + "\n";
    }
    return out;
}

} // namespace chimewell::pack
