#include "TextCodec.h"

#include <array>
#include <cstdint>
#include <optional>

namespace chimewell {
namespace {

constexpr std::array<char16_t, 32> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code points of valid UTF-8 text, one by one.
template <typename Visit> void forEachCodePoint(std::string_view text, Visit visit)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<std::uint8_t>(text[i]);
        const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : 3;
        char32_t c = extra == 0 ? b : extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : b & 0x07;
        for (int k = 1; k <= extra && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<std::uint8_t>(text[i + k]) & 0x3F);
        visit(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
}

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1, c = b & 0x1F, minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, c = b & 0x0F, minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, c = b & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= bytes.size())
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<std::uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        if (b >= 0x80 && b < 0xA0)
            appendUtf8(out, kHighHalf[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

bool utf8ToWindows1252(std::string_view text, std::string& out)
{
    out.clear();
    bool fits = true;
    forEachCodePoint(text, [&](char32_t c) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            return;
        }
        for (std::size_t k = 0; k < kHighHalf.size(); ++k)
            if (kHighHalf[k] == c) {
                out += static_cast<char>(0x80 + k);
                return;
            }
        fits = false;
    });
    return fits;
}

std::optional<bool> utf16ByteOrder(std::string_view bytes)
{
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return false;
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return true;
    return std::nullopt;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian, bool keepLoneSurrogates)
{
    std::string out;
    char32_t high = 0;
    const auto lone = [&out, keepLoneSurrogates](char32_t unit) {
        appendUtf8(out, keepLoneSurrogates ? unit : 0xFFFD);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<std::uint8_t>(bytes[i]);
        const auto b = static_cast<std::uint8_t>(bytes[i + 1]);
        const char32_t unit = bigEndian ? (a << 8 | b) : (b << 8 | a);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (high)
                lone(high);
            high = unit;
            continue;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (high)
                appendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
            else
                lone(unit);
            high = 0;
            continue;
        }
        if (high)
            lone(high);
        high = 0;
        appendUtf8(out, unit);
    }
    if (high)
        lone(high);
    return out;
}

std::string utf8ToUtf16(std::string_view text, bool bigEndian)
{
    std::string out;
    const auto unit = [&](char32_t u) {
        const char hi = static_cast<char>(u >> 8);
        const char lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    forEachCodePoint(text, [&](char32_t c) {
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
    });
    return out;
}

std::string decodeText(std::string_view bytes)
{
    if (const auto bigEndian = utf16ByteOrder(bytes))
        return utf16ToUtf8(bytes.substr(2), *bigEndian);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    // Line by line: a stray byte of another code page spoils nothing but its own line.
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line =
            bytes.substr(0, end == std::string_view::npos ? end : end + 1);
        if (isValidUtf8(line))
            out += line;
        else
            out += windows1252ToUtf8(line);
        bytes.remove_prefix(line.size());
    }
    return out;
}

std::size_t utf8Length(std::string_view text)
{
    std::size_t count = 0;
    for (char ch : text)
        if ((static_cast<std::uint8_t>(ch) & 0xC0) != 0x80)
            ++count;
    return count;
}

std::string utf8Left(std::string_view text, std::size_t count)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<std::uint8_t>(text[i]) & 0xC0) != 0x80) {
            if (seen == count)
                return std::string(text.substr(0, i));
            ++seen;
        }
    }
    return std::string(text);
}

} // namespace chimewell
