#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace chimewell {

/// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

/// Converts Windows-1252 bytes to UTF-8. The five bytes that code page leaves undefined map
/// to the C1 control characters of the same value, as Windows itself maps them.
std::string windows1252ToUtf8(std::string_view bytes);

/// UTF-8 text in Windows-1252; false when a character has no place in that code page.
bool utf8ToWindows1252(std::string_view text, std::string& out);

/// For bytes that start with a UTF-16 byte order mark: whether they are big-endian.
std::optional<bool> utf16ByteOrder(std::string_view bytes);
/// UTF-16 code units (no byte order mark) as UTF-8; a lone surrogate becomes U+FFFD, or, with
/// `keepLoneSurrogates`, is kept as the three bytes UTF-8 would give it (as WTF-8 does), so
/// that utf8ToUtf16 gives the same code units back. An odd last byte is left out.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian, bool keepLoneSurrogates = false);
/// UTF-8 text as UTF-16 code units, without a byte order mark.
std::string utf8ToUtf16(std::string_view text, bool bigEndian);

/// Text as the program's files hold it, as UTF-8: UTF-16 after a byte order mark; otherwise
/// line by line, UTF-8 where a line is valid UTF-8 and Windows-1252 (the code page such files
/// were written in) where it is not. A UTF-8 byte order mark is dropped.
std::string decodeText(std::string_view bytes);

/// Number of characters (code points) in UTF-8 text.
std::size_t utf8Length(std::string_view text);

/// The first `count` characters of UTF-8 text.
std::string utf8Left(std::string_view text, std::size_t count);

} // namespace chimewell
