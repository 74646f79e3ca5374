#include "XdgAutostart.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>

namespace chimewell {

XdgAutostart::XdgAutostart(const QString& configHome)
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

bool XdgAutostart::exists() const
{
    return QFile::exists(m_path);
}

bool XdgAutostart::matches(const QString& executable) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return QString::fromUtf8(file.readAll()) == entryText(executable);
}

bool XdgAutostart::enable(const QString& executable)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(entryText(executable).toUtf8());
    return file.commit();
}

std::unique_ptr<Autostart> makeAutostart()
{
    return std::make_unique<XdgAutostart>();
}

bool XdgAutostart::disable()
{
    return !QFile::exists(m_path) || QFile::remove(m_path);
}

} // namespace chimewell
