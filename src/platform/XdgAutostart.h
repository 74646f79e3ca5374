#pragma once

#include "Autostart.h"

namespace chimewell {

/// An XDG autostart entry, `chimewell.desktop` in `$XDG_CONFIG_HOME/autostart`
/// (`~/.config/autostart` when the variable is unset).
class XdgAutostart final : public Autostart
{
public:
    /// `configHome` overrides the configuration folder (tests).
    explicit XdgAutostart(const QString& executable, const QString& configHome = {});

    bool isEnabled() const override;
    bool setEnabled(bool enabled) override;
    QString location() const override { return m_path; }

    /// The Exec value that runs `executable` with `-minimized`: the path quoted and escaped
    /// by the Desktop Entry rules, then escaped as a string value.
    static QString execLine(const QString& executable);
    static QString entryText(const QString& executable);

private:
    QString m_executable;
    QString m_path;
};

} // namespace chimewell
