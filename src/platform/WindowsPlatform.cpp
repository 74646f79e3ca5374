// What Windows offers in place of the services that the program finds elsewhere on Linux.

#include "CommandLineIO.h"
#include "DesktopNotifier.h"
#include "RemoteControl.h"
#include "RuntimeFolder.h"

#include <QtCore/QDir>
#include <cstdio>
#include <shlobj.h> // and with it <shellapi.h>
#include <windows.h>

namespace chimewell {

std::unique_ptr<DesktopNotifier> makeDesktopNotifier(const QString&)
{
    // There is no notification service with buttons that a program can use without a
    // package identity: the notices are balloons of the tray icon and rows of the notice window.
    return nullptr;
}

std::unique_ptr<RemoteControl> makeRemoteControl(RemoteControlTarget&)
{
    // No session bus: the command line is the way in.
    return nullptr;
}

void useParentConsole()
{
    // Output already redirected (a pipe, a file) is left where it goes.
    const auto unset = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    const bool out = unset(STD_OUTPUT_HANDLE);
    const bool err = unset(STD_ERROR_HANDLE);
    if ((!out && !err) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (out)
        std::freopen("CONOUT$", "w", stdout);
    if (err)
        std::freopen("CONOUT$", "w", stderr);
}

std::vector<std::string> commandLineArguments(int, char**)
{
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(QString::fromWCharArray(wide[i]).toStdString());
    LocalFree(wide);
    return arguments;
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
