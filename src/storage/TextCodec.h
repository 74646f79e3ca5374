#pragma once

#include <string>
#include <string_view>

namespace chimewell {

/// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

/// Converts Windows-1252 bytes to UTF-8. The five bytes that code page leaves undefined map
/// to the C1 control characters of the same value, as Windows itself maps them.
std::string windows1252ToUtf8(std::string_view bytes);

/// Text as the program's files hold it: UTF-8 when the bytes are valid UTF-8 (a byte order
/// mark is dropped), otherwise Windows-1252, the code page such files were written in.
std::string decodeText(std::string_view bytes);

/// Number of characters (code points) in UTF-8 text.
std::size_t utf8Length(std::string_view text);

/// The first `count` characters of UTF-8 text.
std::string utf8Left(std::string_view text, std::size_t count);

} // namespace chimewell
