#pragma once

// The registry routines of the start-at-log-on entry (Windows only).

#include <cstdint>
#include <string>
#include <variant>

namespace chimewell {

inline constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;
inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::uint32_t kKeyAllAccess = 0x2003F;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

using RegistryData = std::variant<std::string, std::int64_t>;

/// Opens the key (creating it when it does not open), writes the value as `type` (text as
/// REG_SZ or REG_BINARY without its terminating zero counted, a number as REG_DWORD), and
/// closes the key. Results are not examined.
void setRegistryValue(std::uint32_t rootKey, const std::string& keyPath, std::uint32_t type,
                      const std::string& valueName, const RegistryData& data);

/// The Run value that starts `executable` (a Windows path) hidden in the tray: the path in
/// quotes, since an unquoted path with spaces does not start, then -minimized.
std::string runCommand(const std::string& executable);

/// Opens the key, deletes the value and closes the key.
void deleteRegistryValue(std::uint32_t rootKey, const std::string& keyPath,
                         const std::string& valueName);

} // namespace chimewell
