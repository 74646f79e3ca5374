#include "Registry.h"

#include <windows.h>

namespace chimewell {
namespace {

HKEY rootHandle(std::uint32_t rootKey)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(rootKey)));
}

} // namespace

void setRegistryValue(std::uint32_t rootKey, const std::string& keyPath, std::uint32_t type,
                      const std::string& valueName, const RegistryData& data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootHandle(rootKey), keyPath.c_str(), 0, kKeyAllAccess, &key) !=
        ERROR_SUCCESS)
        RegCreateKeyA(rootHandle(rootKey), keyPath.c_str(), &key);
    if (!key)
        return;
    if (type == kRegSz || type == kRegBinary) {
        const std::string text = std::holds_alternative<std::string>(data)
                                     ? std::get<std::string>(data)
                                     : std::to_string(std::get<std::int64_t>(data));
        // The text and its zero byte are passed; the count given is the length alone.
        RegSetValueExA(key, valueName.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size()));
    } else if (type == kRegDword) {
        const std::int64_t number = std::holds_alternative<std::int64_t>(data)
                                        ? std::get<std::int64_t>(data)
                                        : std::stoll(std::get<std::string>(data));
        const auto value = static_cast<std::int32_t>(number);
        BYTE bytes[4];
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<BYTE>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
        RegSetValueExA(key, valueName.c_str(), 0, type, bytes, 4);
    }
    RegCloseKey(key);
}

std::string runCommand(const std::string& executable)
{
    return "\"" + executable + "\" -minimized";
}

void deleteRegistryValue(std::uint32_t rootKey, const std::string& keyPath,
                         const std::string& valueName)
{
    HKEY key = nullptr;
    RegOpenKeyExA(rootHandle(rootKey), keyPath.c_str(), 0, kKeyAllAccess, &key);
    if (!key)
        return;
    RegDeleteValueA(key, valueName.c_str());
    RegCloseKey(key);
}

} // namespace chimewell
