#pragma once

// The registry routines of the start-at-log-on entry (Windows only): text values under a key
// of HKEY_CURRENT_USER. Names and texts are UTF-8 here and reach the registry through its
// wide-character calls, so that a folder named in any script is written as it is.

#include <optional>
#include <string>

namespace chimewell {

inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

/// Writes `text` as the REG_SZ value `name` of the key, creating the key when it is missing;
/// false when the registry refused.
bool setRegistryText(const std::string& keyPath, const std::string& name, const std::string& text);
/// The REG_SZ value `name` of the key; nothing when it is missing or not text.
std::optional<std::string> readRegistryText(const std::string& keyPath, const std::string& name);
/// Deletes the value `name` of the key; true when it is gone (or was never there).
bool deleteRegistryValue(const std::string& keyPath, const std::string& name);

/// The Run value that starts `executable` (a Windows path) hidden in the tray: the path in
/// quotes, since an unquoted path with spaces does not start, then -minimized.
std::string runCommand(const std::string& executable);

/// UTF-8 to the system's wide characters and back.
std::wstring wideFromUtf8(const std::string& text);
std::string utf8FromWide(const std::wstring& text);

} // namespace chimewell
