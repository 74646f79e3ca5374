#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The two routines through which the program touches INI files (the settings file and the
// day files). They behave like the Windows profile-file functions the files were made with:
// sections and keys match without regard to letter case, the first of duplicate sections or
// keys wins, blanks and one pair of enclosing quotes are dropped on read, and a write replaces
// the value in place or appends what is missing, leaving every other line as it was.

namespace chimewell {

/// The longest value a read gives back, in characters; a longer one is cut.
inline constexpr std::size_t kLongestIniValue = 749;
/// A settings or day file is a few hundred bytes: a larger one than this is refused, unread,
/// as if it could not be read.
inline constexpr std::uintmax_t kMaxIniFileBytes = 1024 * 1024;

/// The value of `key` in `section` of the file, or "" for a missing, unreadable or oversized
/// file, section or key. The key is looked up lower-cased; the text is cut to kLongestIniValue
/// characters.
std::string readIniValue(const std::string& section, const std::string& key,
                         const std::string& fileName);

/// As readIniValue, but nothing when the value cannot be trusted yet: another program was
/// rewriting the file in place during the read and its retry, or the file is empty and changed
/// in the last two seconds (a rewrite in place is seen empty between its truncation and its
/// write). So the caller can tell "no value" from "not known this time".
std::optional<std::string> tryReadIniValue(const std::string& section, const std::string& key,
                                           const std::string& fileName);

/// Stores `value` under the upper-cased `key`. The file is created when missing (its folder
/// must exist) and replaced atomically; an oversized file is refused. Returns false, with the
/// reason in `error`, on failure.
bool writeIniValue(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& fileName, std::string* error = nullptr);

/// Stores several values of one section in one atomic replacement of the file, in the order
/// given: a reader, or a crash, sees all of them or none.
bool writeIniValues(const std::string& section,
                    const std::vector<std::pair<std::string, std::string>>& values,
                    const std::string& fileName, std::string* error = nullptr);

namespace ini {

/// The value the profile reader finds for `key` in `section` of the INI text, cut to
/// `longest` characters.
std::string lookup(std::string_view text, std::string_view section, std::string_view key,
                   std::size_t longest = kLongestIniValue);

/// The INI text with `key` of `section` set to `value`, or nothing when the text already
/// holds that value. New lines end in CR LF; other lines keep their bytes and line ends.
std::optional<std::string> update(std::string_view text, std::string_view section,
                                  std::string_view key, std::string_view value);

std::string toLowerAscii(std::string_view text);
std::string toUpperAscii(std::string_view text);

} // namespace ini
} // namespace chimewell
