#pragma once

#include "Autostart.h"

namespace chimewell {

/// The value "Chimewell" under HKEY_CURRENT_USER\SOFTWARE\Microsoft\Windows\CurrentVersion\Run.
class WindowsAutostart final : public Autostart
{
public:
    bool matches(const QString& executable) const override;
    bool exists() const override;
    bool enable(const QString& executable) override;
    bool disable() override;

    /// The command: the path in quotes (an unquoted path with spaces does not start), then
    /// `-minimized`.
    static QString command(const QString& executable);
};

} // namespace chimewell
