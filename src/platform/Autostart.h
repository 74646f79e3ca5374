#pragma once

#include <QtCore/QString>

namespace chimewell {

/// The entry that starts the program when the user logs on, hidden in the tray.
class Autostart
{
public:
    virtual ~Autostart() = default;
    virtual bool isEnabled() const = 0;
    /// Writes the entry that runs `executable` with `-minimized`.
    virtual bool enable(const QString& executable) = 0;
    virtual bool disable() = 0;
};

} // namespace chimewell
