#include "CommandLine.h"
#include "CursorBlinkLimit.h"
#include "MainWindow.h"
#include "Startup.h"
#include "lang/LanguagePack.h"
#include "platform/Autostart.h"
#include "platform/CommandLineIO.h"
#include "platform/DesktopNotifier.h"
#include "platform/DisplaySetup.h"
#include "platform/LockFileSingleInstance.h"
#include "platform/MediaPlayers.h"
#include "platform/PlatformServices.h"
#include "platform/QtClock.h"
#include "platform/QtFilePicker.h"
#include "platform/QtMessageBox.h"
#include "platform/QtShellOpen.h"
#include "platform/QtTrayIcon.h"
#include "platform/RemoteControl.h"
#include "platform/SoundDevice.h"
#include "platform/SoundOutput.h"
#include "platform/SystemEvents.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtGui/QIcon>
#include <QtWidgets/QApplication>
#include <cstdio>

namespace {

int answered(const chimewell::CommandReply& reply)
{
    std::fwrite(reply.out.data(), 1, reply.out.size(), stdout);
    std::fwrite(reply.err.data(), 1, reply.err.size(), stderr);
    std::fflush(stdout);
    std::fflush(stderr);
    return static_cast<int>(reply.status);
}

// A verb of the command line: answered here without starting anything, or by the copy that
// runs for this folder.
int carryOutVerb(int argc, char* argv[], const std::vector<std::string>& arguments,
                 const chimewell::CommandRequest& request)
{
    using chimewell::CommandRequest;
    using chimewell::CommandStatus;
    chimewell::useParentConsole();
    switch (request.verb) {
    case CommandRequest::Help:
        return answered({CommandStatus::Done, chimewell::usageText(), {}});
    case CommandRequest::Version:
        return answered({CommandStatus::Done, "Chimewell " CHIMEWELL_VERSION "\n", {}});
    case CommandRequest::Refused:
        return answered({CommandStatus::Refused,
                         {},
                         "chimewell: " + request.refusal + "\n" + chimewell::usageText()});
    default:
        break;
    }
    QCoreApplication app(argc, argv);
    const QString appDir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    chimewell::LockFileSingleInstance instance(appDir);
    return answered(chimewell::sendToRunningCopy(instance, arguments, request, appDir,
                                                 QCoreApplication::applicationFilePath()));
}

} // namespace

int main(int argc, char* argv[])
{
    // Every argument is read before anything starts: a verb for the running copy needs no
    // display, and a bad argument starts nothing.
    const std::vector<std::string> arguments = chimewell::commandLineArguments(argc, argv);
    const chimewell::CommandRequest request = chimewell::parseArguments(arguments);
    if (request.verb != chimewell::CommandRequest::Start &&
        request.verb != chimewell::CommandRequest::StartHidden &&
        request.verb != chimewell::CommandRequest::Background)
        return carryOutVerb(argc, argv, arguments, request);

    chimewell::prepareDisplay();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Chimewell"));
    QApplication::setApplicationVersion(QStringLiteral(CHIMEWELL_VERSION));
    // The program lives on in the tray with every window hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    QIcon icon;
    icon.addFile(QStringLiteral(":/images/bell-32.png"));
    icon.addFile(QStringLiteral(":/images/bell-64.png"));
    QApplication::setWindowIcon(icon);

    // In the system's own spelling: paths are joined with its separator and shown to the user.
    const QString appDir = QDir::toNativeSeparators(QApplication::applicationDirPath());
    chimewell::QtClock clock;
    chimewell::QtMessageBox messages;
    chimewell::QtShellOpen shell;
    chimewell::LockFileSingleInstance instance(appDir);
    chimewell::QtTrayIcon tray;
    const auto notifier = chimewell::makeDesktopNotifier(appDir + QStringLiteral("/chimewell.png"));
    const auto sound = chimewell::makeSoundDevice();
    const auto output = chimewell::makeSoundOutput();
    const auto players = chimewell::makeMediaPlayers();
    chimewell::QtFilePicker picker;
    const auto autostart = chimewell::makeAutostart(
        appDir + QLatin1Char('/') + QFileInfo(QApplication::applicationFilePath()).fileName());
    const auto systemEvents = chimewell::makeSystemEvents();
    chimewell::PlatformServices services{&clock,
                                         &messages,
                                         &shell,
                                         &instance,
                                         &tray,
                                         notifier.get(),
                                         sound.get(),
                                         &picker,
                                         autostart.get(),
                                         systemEvents.get(),
                                         &chimewell::makeRemoteControl,
                                         output.get(),
                                         players.get()};

    chimewell::CursorBlinkLimit blinkLimit;
    chimewell::LanguagePack language(messages);
    chimewell::Startup startup(services, appDir, language);
    QObject::connect(&startup, &chimewell::Startup::finished, &app, &QApplication::quit);
    // A session that ends the program some other way (Windows at log-off) ends it as Exit does.
    QObject::connect(&app, &QApplication::aboutToQuit, &startup, [&startup] {
        if (startup.mainWindow())
            startup.mainWindow()->close();
    });
    QStringList startArguments;
    for (const std::string& argument : arguments)
        startArguments << QString::fromStdString(argument);
    if (!startup.run(startArguments))
        return 0;
    return QApplication::exec();
}
