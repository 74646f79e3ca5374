#include "WindowsAutostart.h"

#include "Registry.h"

#include <QtCore/QDir>
#include <windows.h>

namespace chimewell {
namespace {

bool readValue(std::string& out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char buffer[2048] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    const LONG result =
        RegQueryValueExA(key, "Chimewell", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return false;
    out.assign(buffer, strnlen(buffer, size));
    return true;
}

} // namespace

QString WindowsAutostart::command(const QString& executable)
{
    return QString::fromLocal8Bit(
        runCommand(QDir::toNativeSeparators(executable).toLocal8Bit().toStdString()));
}

bool WindowsAutostart::matches(const QString& executable) const
{
    std::string value;
    return readValue(value) && value == command(executable).toLocal8Bit().toStdString();
}

bool WindowsAutostart::exists() const
{
    std::string value;
    return readValue(value);
}

bool WindowsAutostart::enable(const QString& executable)
{
    setRegistryValue(kHkeyCurrentUser, kRunKey, kRegSz, "Chimewell",
                     command(executable).toLocal8Bit().toStdString());
    return true;
}

std::unique_ptr<Autostart> makeAutostart()
{
    return std::make_unique<WindowsAutostart>();
}

bool WindowsAutostart::disable()
{
    deleteRegistryValue(kHkeyCurrentUser, kRunKey, "Chimewell");
    return true;
}

} // namespace chimewell
