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
    /// Whether the entry exists and runs exactly this program.
    virtual bool isEnabled() const = 0;
    /// Writes or removes the entry; false when that failed.
    virtual bool setEnabled(bool enabled) = 0;
    /// Where the entry is kept, for telling the user.
    virtual QString location() const = 0;
};

/// The entry of the system the program was built for, for `executable`.
std::unique_ptr<Autostart> makeAutostart(const QString& executable);

} // namespace chimewell
