#pragma once

#include <QtCore/QString>
#include <memory>

namespace chimewell {

/// The entry that starts the program hidden in the tray when the user logs on: the program
/// in the application folder, run with the single argument `-minimized`.
class Autostart
{
public:
    virtual ~Autostart() = default;
    /// Whether the entry exists and runs exactly `executable` with `-minimized`.
    virtual bool matches(const QString& executable) const = 0;
    virtual bool exists() const = 0;
    virtual bool enable(const QString& executable) = 0;
    virtual bool disable() = 0;
};

/// The entry of the system the program was built for.
std::unique_ptr<Autostart> makeAutostart();

} // namespace chimewell
