#include "PackFormat.h"

#include "storage/TextCodec.h"

#include <cmath>
#include <limits>

namespace chimewell::pack {
namespace {

// Reads little-endian fields and checks every length against the bytes that are left.
class Reader
{
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

    std::size_t left() const { return m_bytes.size() - m_pos; }

    bool raw(std::size_t size, std::string& out)
    {
        if (left() < size)
            return false;
        out.assign(m_bytes.substr(m_pos, size));
        m_pos += size;
        return true;
    }
    bool u16(std::uint16_t& v)
    {
        if (left() < 2)
            return false;
        v = static_cast<std::uint16_t>(byte(0) | (byte(1) << 8));
        m_pos += 2;
        return true;
    }
    bool i16(std::int16_t& v)
    {
        std::uint16_t u = 0;
        if (!u16(u))
            return false;
        v = static_cast<std::int16_t>(u);
        return true;
    }
    bool i32(std::int32_t& v)
    {
        if (left() < 4)
            return false;
        const std::uint32_t u = byte(0) | (byte(1) << 8) | (byte(2) << 16) |
                                (static_cast<std::uint32_t>(byte(3)) << 24);
        v = static_cast<std::int32_t>(u);
        m_pos += 4;
        return true;
    }
    bool text(std::string& out)
    {
        std::uint16_t length = 0;
        return u16(length) && raw(length, out);
    }

private:
    std::uint32_t byte(std::size_t i) const
    {
        return static_cast<unsigned char>(m_bytes[m_pos + i]);
    }
    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

void putU16(std::string& out, std::uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void putI32(std::string& out, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((u >> (8 * i)) & 0xFF);
}

// Smallest stored sizes, used to refuse counts that the rest of the file cannot hold.
constexpr std::size_t kMinControlRecord = 6 * 2;
constexpr std::size_t kMinFormRecord = 4 * 2 + 2 + 2;
constexpr std::size_t kMinStringRecord = 2 * 2;

std::string truncated(const std::string& where)
{
    return "the file ends inside " + where;
}

std::string formLabel(std::size_t i)
{
    return "form entry " + std::to_string(i);
}

bool readControls(Reader& r, FormEntry& form, const std::string& where, std::string& error)
{
    std::uint16_t dimensions = 0;
    if (!r.u16(dimensions))
        return error = truncated(where + " (its control table)"), false;
    if (dimensions == 0)
        return true;
    if (dimensions != 1)
        return error = where + " has a control table of " + std::to_string(dimensions) +
                       " dimensions; only 0 or 1 can be read",
               false;
    std::int32_t count = 0;
    if (!r.i32(count) || !r.i32(form.firstIndex))
        return error = truncated(where + " (its control table)"), false;
    if (count < 0)
        return error =
                   where + " has a negative control record count (" + std::to_string(count) + ")",
               false;
    if (static_cast<std::size_t>(count) > r.left() / kMinControlRecord)
        return error = where + " claims " + std::to_string(count) + " control records but only " +
                       std::to_string(r.left()) + " bytes are left (damaged or truncated file)",
               false;
    form.hasTable = true;
    form.controls.resize(static_cast<std::size_t>(count));
    for (std::size_t j = 0; j < form.controls.size(); ++j) {
        ControlEntry& c = form.controls[j];
        if (!r.text(c.extra) || !r.text(c.key) || !r.text(c.caption) || !r.text(c.toolTip) ||
            !r.text(c.captionOverride) || !r.text(c.toolTipOverride))
            return error = truncated(where + ", control record " + std::to_string(j)), false;
    }
    return true;
}

// Calls visit(field, where, scrambled) for every text field the program reads; stops at the
// first visit that fails, or at a form whose table does not hold its controls.
template <typename Visit> bool forEachText(Pack& p, std::string& error, Visit visit)
{
    for (std::size_t i = 1; i < p.forms.size(); ++i) {
        FormEntry& f = p.forms[i];
        const std::string where = formLabel(i);
        if (!visit(f.extra, where + " Extra", true) ||
            !visit(f.formName, where + " FormName", true) ||
            !visit(f.caption, where + " Caption", true) ||
            !visit(f.captionOverride, where + " CaptionOverride", false))
            return false;
        if (f.controlCount <= 0)
            continue;
        if (!f.hasTable || f.firstIndex > 1 ||
            static_cast<std::int64_t>(f.firstIndex) + static_cast<std::int64_t>(f.controls.size()) -
                    1 <
                f.controlCount)
            return error = where + " uses controls 1 to " + std::to_string(f.controlCount) +
                           " but its table does not hold them",
                   false;
        for (int j = 1; j <= f.controlCount; ++j) {
            ControlEntry& c = f.controls[static_cast<std::size_t>(j - f.firstIndex)];
            const std::string at = where + ", control " + std::to_string(j);
            if (!visit(c.key, at + " Key", true) || !visit(c.caption, at + " Caption", true) ||
                !visit(c.captionOverride, at + " CaptionOverride", true) ||
                !visit(c.toolTip, at + " ToolTip", true) ||
                !visit(c.toolTipOverride, at + " ToolTipOverride", true))
                return false;
        }
    }
    for (std::size_t i = 1; i < p.strings.size(); ++i) {
        const std::string where = "string " + std::to_string(i);
        if (!visit(p.strings[i].name, where + " Name", true) ||
            !visit(p.strings[i].value, where + " Value", true))
            return false;
    }
    return true;
}

bool decodeAll(Pack& p, std::string& error)
{
    const auto raw = [&error](const std::string& field, const std::string& where, bool scrambled,
                              std::string& out) {
        if (!scrambled) {
            out = field;
            return true;
        }
        if (descramble(field, out))
            return true;
        error = where + " holds a byte below the pack shift (" + std::to_string(kPackShift) +
                "): not a scrambled text";
        return false;
    };
    // One encoding for the whole pack: Windows-1252 text can happen to be valid UTF-8 field by
    // field ("É…" is C9 85), so UTF-8 only when every field is.
    bool utf8 = true;
    if (!forEachText(p, error, [&](std::string& field, const std::string& where, bool scrambled) {
            std::string bytes;
            if (!raw(field, where, scrambled, bytes))
                return false;
            utf8 = utf8 && isValidUtf8(bytes);
            return true;
        }))
        return false;
    p.windows1252 = !utf8;
    return forEachText(p, error, [&](std::string& field, const std::string& where, bool scrambled) {
        std::string bytes;
        if (!raw(field, where, scrambled, bytes))
            return false;
        field = utf8 ? std::move(bytes) : windows1252ToUtf8(bytes);
        return true;
    });
}

} // namespace

bool descramble(std::string_view stored, std::string& out)
{
    out.resize(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const int code = static_cast<unsigned char>(stored[i]) - kPackShift;
        if (code < 0)
            return false;
        out[i] = static_cast<char>(code);
    }
    return true;
}

bool scramble(std::string_view text, std::string& out)
{
    out.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int code = static_cast<unsigned char>(text[i]) + kPackShift;
        if (code > 255)
            return false;
        out[i] = static_cast<char>(code);
    }
    return true;
}

bool readPack(std::string_view bytes, Pack& pack, std::string& error)
{
    Pack p;
    Reader r(bytes);
    if (!r.raw(4, p.headerTag) || !r.raw(32, p.headerText) || !r.i16(p.formCount))
        return error = truncated("the header (a pack has at least 56 bytes)"), false;
    if (p.formCount < 0)
        return error = "the form count is negative (" + std::to_string(p.formCount) + ")", false;
    const std::size_t forms = static_cast<std::size_t>(p.formCount) + 1;
    if (forms > r.left() / kMinFormRecord)
        return error = "the file claims " + std::to_string(forms) +
                       " form records but holds only " + std::to_string(r.left()) +
                       " more bytes (damaged or truncated file)",
               false;
    p.forms.resize(forms);
    for (std::size_t i = 0; i < forms; ++i) {
        FormEntry& f = p.forms[i];
        const std::string where = formLabel(i);
        if (!r.text(f.extra) || !r.text(f.formName) || !r.text(f.caption) ||
            !r.text(f.captionOverride) || !r.i16(f.controlCount))
            return error = truncated(where), false;
        if (!readControls(r, f, where, error))
            return false;
    }
    if (!r.i16(p.stringCount))
        return error = truncated("the string count"), false;
    if (p.stringCount < 0)
        return error = "the string count is negative (" + std::to_string(p.stringCount) + ")",
               false;
    const std::size_t strings = static_cast<std::size_t>(p.stringCount) + 1;
    if (strings > r.left() / kMinStringRecord)
        return error = "the file claims " + std::to_string(strings) +
                       " string records but holds only " + std::to_string(r.left()) +
                       " more bytes (damaged or truncated file)",
               false;
    p.strings.resize(strings);
    for (std::size_t i = 0; i < strings; ++i)
        if (!r.text(p.strings[i].name) || !r.text(p.strings[i].value))
            return error = truncated("string record " + std::to_string(i)), false;
    if (!decodeAll(p, error))
        return false;
    pack = std::move(p);
    return true;
}

bool writePack(const Pack& utf8Pack, std::string& bytes, std::string& error)
{
    Pack encoded;
    if (utf8Pack.windows1252) {
        encoded = utf8Pack;
        if (!forEachText(encoded, error, [&](std::string& field, const std::string& where, bool) {
                std::string text;
                if (utf8ToWindows1252(field, text))
                    return field = std::move(text), true;
                return error = where + " holds a character outside Windows-1252", false;
            }))
            return false;
    }
    const Pack& pack = utf8Pack.windows1252 ? encoded : utf8Pack;
    std::string out;
    auto header = [&out](const std::string& text, std::size_t size) {
        std::string field = text.substr(0, size);
        field.resize(size, ' ');
        out += field;
    };
    auto plain = [&](const std::string& text, const std::string& where) {
        if (text.size() > 0xFFFF)
            return error = where + " is longer than 65,535 bytes", false;
        putU16(out, static_cast<std::uint16_t>(text.size()));
        out += text;
        return true;
    };
    auto shifted = [&](const std::string& text, const std::string& where) {
        std::string stored;
        if (!scramble(text, stored))
            return error = where + " holds a byte that cannot be scrambled", false;
        return plain(stored, where);
    };
    auto stored = [&](bool scrambled, const std::string& text, const std::string& where) {
        return scrambled ? shifted(text, where) : plain(text, where);
    };
    if (pack.forms.empty() || pack.strings.empty() || pack.forms.size() > 32768 ||
        pack.strings.size() > 32768)
        return error = "a pack holds 1 to 32,768 form records and string records", false;
    header(pack.headerTag, 4);
    header(pack.headerText, 32);
    putU16(out, static_cast<std::uint16_t>(pack.forms.size() - 1));
    for (std::size_t i = 0; i < pack.forms.size(); ++i) {
        const FormEntry& f = pack.forms[i];
        const std::string where = i == 0 ? "form record 0" : "window " + f.formName;
        // What the reader never decodes (record 0, controls outside 1 to the control count)
        // is written back exactly as it was read.
        if (!stored(i > 0, f.extra, where + " extra") ||
            !stored(i > 0, f.formName, where + " name") ||
            !stored(i > 0, f.caption, where + " title") ||
            !plain(f.captionOverride, where + " title override"))
            return false;
        putU16(out, static_cast<std::uint16_t>(f.controlCount));
        if (!f.hasTable) {
            putU16(out, 0);
            continue;
        }
        putU16(out, 1);
        putI32(out, static_cast<std::int32_t>(f.controls.size()));
        putI32(out, f.firstIndex);
        for (std::size_t j = 0; j < f.controls.size(); ++j) {
            const ControlEntry& c = f.controls[j];
            const std::int64_t index =
                static_cast<std::int64_t>(f.firstIndex) + static_cast<std::int64_t>(j);
            const bool decoded = i > 0 && index >= 1 && index <= f.controlCount;
            const std::string at = where + " control " + c.key;
            if (!plain(c.extra, at + " extra") || !stored(decoded, c.key, at + " key") ||
                !stored(decoded, c.caption, at + " caption") ||
                !stored(decoded, c.toolTip, at + " tooltip") ||
                !stored(decoded, c.captionOverride, at + " caption override") ||
                !stored(decoded, c.toolTipOverride, at + " tooltip override"))
                return false;
        }
    }
    putU16(out, static_cast<std::uint16_t>(pack.strings.size() - 1));
    for (std::size_t i = 0; i < pack.strings.size(); ++i) {
        const StringEntry& s = pack.strings[i];
        if (!stored(i > 0, s.name, "string " + s.name) ||
            !stored(i > 0, s.value, "string " + s.name + " value"))
            return false;
    }
    bytes = std::move(out);
    return true;
}

std::string findString(const Pack& pack, std::string_view name)
{
    for (std::size_t i = 1; i < pack.strings.size(); ++i)
        if (pack.strings[i].name == name)
            return pack.strings[i].value;
    return {};
}

const FormEntry* findForm(const Pack& pack, std::string_view name)
{
    for (std::size_t i = 1; i < pack.forms.size(); ++i)
        if (pack.forms[i].formName == name)
            return &pack.forms[i];
    return nullptr;
}

namespace {

// The number at the start of `text`, read the way a numeric literal is read ("2)" gives 2,
// "x" gives 0, "1.5" rounds to 2); false when it does not fit a signed 32-bit value.
bool leadingNumber(std::string_view text, std::int32_t& value)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    double number = 0;
    bool digits = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        number = number * 10 + (text[i++] - '0');
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10)
            number += (text[i] - '0') * scale;
    }
    if (!digits)
        number = 0;
    if (negative)
        number = -number;
    // A fractional index rounds half to even: "2.5" is tab 2, "3.5" tab 4, as packs made for
    // the program have always been read.
    number = std::nearbyint(number);
    if (number > std::numeric_limits<std::int32_t>::max() ||
        number < std::numeric_limits<std::int32_t>::min())
        return false;
    value = static_cast<std::int32_t>(number);
    return true;
}

} // namespace

KeyTarget parseKey(std::string_view key)
{
    KeyTarget target;
    std::string upper(key);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    const std::size_t lastOpen = key.rfind('(');
    if (upper.find(".TABCAPTION(") != std::string::npos) {
        target.kind = KeyTarget::Tab;
        target.name = std::string(key.substr(0, key.find('.')));
    } else if (key.find(')') != std::string_view::npos) {
        target.kind = KeyTarget::ArrayElement;
        const std::size_t open = key.find('(');
        if (open == std::string_view::npos)
            return target.valid = false, target;
        target.name = std::string(key.substr(0, open));
    } else {
        target.name = std::string(key);
        return target;
    }
    if (lastOpen == std::string_view::npos ||
        !leadingNumber(key.substr(lastOpen + 1), target.index))
        target.valid = false;
    return target;
}

} // namespace chimewell::pack
