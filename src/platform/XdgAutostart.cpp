#include "XdgAutostart.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>

namespace chimewell {

XdgAutostart::XdgAutostart(const QString& executable, const QString& configHome)
    : m_executable(executable)
{
    QString base = configHome;
    if (base.isEmpty())
        base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The XDG rules say to ignore a relative path here.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    m_path = base + QStringLiteral("/autostart/chimewell.desktop");
}

QString XdgAutostart::execLine(const QString& executable)
{
    // Inside double quotes the characters " ` $ \ take a backslash, and % is doubled.
    QString quoted;
    for (QChar c : executable) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    // GLib-based desktops look for the program before they turn %% back into %, and refuse
    // an entry whose program they do not find: such a path starts through env.
    const QString exec =
        (executable.contains(QLatin1Char('%')) ? QStringLiteral("env \"") : QStringLiteral("\"")) +
        quoted + QStringLiteral("\" -minimized");
    // Then the escapes of every string value of the file.
    QString value;
    for (QChar c : exec) {
        if (c == QLatin1Char('\\'))
            value += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            value += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            value += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

QString XdgAutostart::entryText(const QString& executable)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Chimewell\n"
                          "Comment=Alarm clock in the system tray\n"
                          "Exec=") +
           execLine(executable) +
           QStringLiteral("\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
}

bool XdgAutostart::isEnabled() const
{
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly) &&
           QString::fromUtf8(file.readAll()) == entryText(m_executable);
}

bool XdgAutostart::setEnabled(bool enabled)
{
    if (!enabled)
        return !QFile::exists(m_path) || QFile::remove(m_path);
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(entryText(m_executable).toUtf8()) >= 0 &&
           file.commit();
}

std::unique_ptr<Autostart> makeAutostart(const QString& executable)
{
    return std::make_unique<XdgAutostart>(executable);
}

} // namespace chimewell
