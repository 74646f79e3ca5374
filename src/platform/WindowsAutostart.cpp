#include "WindowsAutostart.h"

#include "Registry.h"

#include <QtCore/QDir>

namespace chimewell {
namespace {

constexpr char kValueName[] = "Chimewell";

} // namespace

QString WindowsAutostart::command(const QString& executable)
{
    return QString::fromLocal8Bit(
        runCommand(QDir::toNativeSeparators(executable).toLocal8Bit().toStdString()));
}

bool WindowsAutostart::isEnabled() const
{
    const auto value = readRegistryText(kRunKey, kValueName);
    return value && *value == command(m_executable).toLocal8Bit().toStdString();
}

bool WindowsAutostart::setEnabled(bool enabled)
{
    if (!enabled)
        return deleteRegistryValue(kRunKey, kValueName);
    return setRegistryText(kRunKey, kValueName, command(m_executable).toLocal8Bit().toStdString());
}

QString WindowsAutostart::location() const
{
    return QStringLiteral("HKEY_CURRENT_USER\\") + QLatin1String(kRunKey) + QStringLiteral("\\") +
           QLatin1String(kValueName);
}

std::unique_ptr<Autostart> makeAutostart(const QString& executable)
{
    return std::make_unique<WindowsAutostart>(executable);
}

} // namespace chimewell
