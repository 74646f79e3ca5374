#include "CursorBlinkLimit.h"
#include "MainWindow.h"
#include "Startup.h"
#include "lang/LanguagePack.h"
#include "platform/Autostart.h"
#include "platform/DesktopNotifier.h"
#include "platform/DisplaySetup.h"
#include "platform/LockFileSingleInstance.h"
#include "platform/PlatformServices.h"
#include "platform/QtClock.h"
#include "platform/QtFilePicker.h"
#include "platform/QtMessageBox.h"
#include "platform/QtShellOpen.h"
#include "platform/QtTrayIcon.h"
#include "platform/SoundDevice.h"
#include "platform/SystemEvents.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtGui/QIcon>
#include <QtWidgets/QApplication>

int main(int argc, char* argv[])
{
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
    chimewell::QtFilePicker picker;
    const auto autostart = chimewell::makeAutostart(
        appDir + QLatin1Char('/') + QFileInfo(QApplication::applicationFilePath()).fileName());
    const auto systemEvents = chimewell::makeSystemEvents();
    chimewell::PlatformServices services{&clock,          &messages,         &shell,      &instance,
                                         &tray,           notifier.get(),    sound.get(), &picker,
                                         autostart.get(), systemEvents.get()};

    chimewell::CursorBlinkLimit blinkLimit;
    chimewell::LanguagePack language(messages);
    chimewell::Startup startup(services, appDir, language);
    QObject::connect(&startup, &chimewell::Startup::finished, &app, &QApplication::quit);
    // A session that ends the program some other way (Windows at log-off) ends it as Exit does.
    QObject::connect(&app, &QApplication::aboutToQuit, &startup, [&startup] {
        if (startup.mainWindow())
            startup.mainWindow()->close();
    });
    if (!startup.run(QApplication::arguments().mid(1)))
        return 0;
    return QApplication::exec();
}
