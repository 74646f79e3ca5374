#include "WindowsAutostart.h"

#include "Registry.h"

#include <QtCore/QDir>

namespace chimewell {
namespace {

constexpr char kValueName[] = "Chimewell";

std::string utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

} // namespace

QString WindowsAutostart::command(const QString& executable)
{
    return QString::fromStdString(runCommand(utf8(QDir::toNativeSeparators(executable))));
}

bool WindowsAutostart::isEnabled() const
{
    const auto value = readRegistryText(kRunKey, kValueName);
    return value && *value == utf8(command(m_executable));
}

bool WindowsAutostart::setEnabled(bool enabled)
{
    if (!enabled)
        return deleteRegistryValue(kRunKey, kValueName);
    return setRegistryText(kRunKey, kValueName, utf8(command(m_executable)));
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
