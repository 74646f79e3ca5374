#pragma once

#include "Autostart.h"

namespace chimewell {

/// The value "Chimewell" under HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Run.
class WindowsAutostart final : public Autostart
{
public:
    explicit WindowsAutostart(const QString& executable) : m_executable(executable) {}

    bool isEnabled() const override;
    bool setEnabled(bool enabled) override;
    QString location() const override;

    /// The command: the path in quotes (an unquoted path with spaces does not start), then
    /// `-minimized`.
    static QString command(const QString& executable);

private:
    QString m_executable;
};

} // namespace chimewell
