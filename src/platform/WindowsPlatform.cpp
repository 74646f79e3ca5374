// What Windows offers in place of the services that the program finds elsewhere on Linux.

#include "DesktopNotifier.h"
#include "RuntimeFolder.h"

#include <QtCore/QDir>
#include <shlobj.h>
#include <windows.h>

namespace chimewell {

std::unique_ptr<DesktopNotifier> makeDesktopNotifier(const QString&)
{
    // There is no notification service with buttons that a program can use without a
    // package identity: the notices are balloons of the tray icon and rows of the notice window.
    return nullptr;
}

QString userRuntimeFolder()
{
    // The user's local application data (not roaming), by its known-folder id, which does not
    // depend on the environment; the same folder that the user's other programs keep their
    // per-machine files in.
    PWSTR known = nullptr;
    QString folder;
    if (SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &known) == S_OK)
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(known)) +
                 QStringLiteral("/Chimewell");
    CoTaskMemFree(known);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    return folder;
}

} // namespace chimewell
