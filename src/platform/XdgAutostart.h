#pragma once

#include "Autostart.h"

namespace chimewell {

/// An XDG autostart entry, `chimewell.desktop` in `$XDG_CONFIG_HOME/autostart`
/// (`~/.config/autostart` when the variable is unset).
class XdgAutostart final : public Autostart
{
public:
    /// `configHome` overrides the configuration folder (tests).
    explicit XdgAutostart(const QString& configHome = {});

    bool matches(const QString& executable) const override;
    bool exists() const override;
    bool enable(const QString& executable) override;
    bool disable() override;

    QString entryPath() const { return m_path; }

    /// The Exec value that runs `executable` with `-minimized`: the path quoted and escaped
    /// by the Desktop Entry rules, then escaped as a string value.
    static QString execLine(const QString& executable);
    static QString entryText(const QString& executable);

private:
    QString m_path;
};

} // namespace chimewell
