#include "Startup.h"

#include "AlarmBell.h"
#include "MainWindow.h"
#include "SecondTicker.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/OptionsDialog.h"
#include "lang/LanguageApplier.h"
#include "lang/LanguagePack.h"
#include "platform/AtomicFile.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/SingleInstance.h"
#include "schedule/DeleteDialog.h"
#include "schedule/ScheduleDialog.h"
#include "storage/AlarmTime.h"
#include "storage/Settings.h"
#include "tray/TrayModule.h"

namespace chimewell {

const QString Startup::kWelcomeText = QStringLiteral(
    "Thank you for choosing Chimewell.\r\nBecause this is the first time you open Chimewell\r\n"
    "you will be taken to the options immediately.");
const QString Startup::kAlreadyRunningText = QStringLiteral("Chimewell is already running.");

Startup::Startup(PlatformServices& services, const QString& appDir, LanguagePack& language,
                 LanguageApplier* applier, QObject* parent)
    : QObject(parent), m_services(services), m_appDir(appDir), m_pack(language),
      m_language(applier ? *applier : static_cast<LanguageApplier&>(language))
{}

Startup::~Startup()
{
    // Dialogs are top-level windows without an owner: they go with the program.
    for (WindowSlot* slot : {&m_options, &m_schedule, &m_delete, &m_about})
        delete slot->loaded();
    delete m_mainWindow;
}

void Startup::setUpDialogs()
{
    m_options.setFactory([this] {
        auto* options = new OptionsDialog(m_services, m_appDir, m_pack, [this] {
            useQtTranslations();
            for (QWidget* window :
                 {static_cast<QWidget*>(m_mainWindow), m_delete.get(), m_schedule.get()})
                if (window)
                    m_language.apply(window);
        });
        options->stopMirroring();
        connect(&m_mainWindow->ticker(), &SecondTicker::tick, options,
                &OptionsDialog::mirrorStartupEntry);
        m_mainWindow->setSecondsNeeded([options] { return options->isVisible(); });
        return options;
    });
    m_about.setFactory([this] { return new AboutDialog(m_appDir, m_pack); });
    // The schedule dialogs carry the current pack's texts whenever they are loaded afresh.
    auto refresh = [this](bool checkOneShot) { m_mainWindow->refreshScheduleStatus(checkOneShot); };
    m_schedule.setFactory([this, refresh] {
        auto* dialog = new ScheduleDialog(m_services, m_appDir, refresh);
        m_language.apply(dialog);
        return dialog;
    });
    m_delete.setFactory([this, refresh] {
        auto* dialog = new DeleteDialog(m_services, m_appDir, refresh);
        m_language.apply(dialog);
        return dialog;
    });
}

bool Startup::run(const QStringList& arguments)
{
    // 1. One copy per user and application folder; a second one reads and writes nothing.
    if (!m_services.instance->tryAcquire()) {
        m_services.messages->show(kAlreadyRunningText, MessageIcon::Stop);
        return false;
    }

    // A copy killed while it wrote may have left its temporary files; only this copy runs now.
    const std::string folder = m_appDir.toStdString();
    std::vector<std::string> dayFiles;
    for (int day = 0; day < 7; ++day)
        dayFiles.push_back(std::string(dayName(day)) + ".ini");
    removeStaleTemporaries(folder, {std::string(kSettingsFileName)});
    removeStaleTemporaries(appFile(folder, kScheduleFolder), dayFiles);

    m_mainWindow = new MainWindow(m_services, m_appDir);
    connect(m_mainWindow, &MainWindow::shutDown, this, &Startup::finished);
    connect(m_mainWindow, &MainWindow::optionsRequested, this, [this] { m_options.show(); });
    connect(m_mainWindow, &MainWindow::scheduleRequested, this, [this] { m_schedule.show(); });
    connect(m_mainWindow, &MainWindow::deleteRequested, this, [this] { m_delete.show(); });
    connect(m_mainWindow, &MainWindow::aboutRequested, this, [this] { m_about.show(); });
    setUpDialogs();
    m_mainWindow->bell().setStrings(
        [this](const QString& name) { return m_pack.looseString(name); });
    m_mainWindow->startClock();

    // 2. The tray icon.
    const std::string appDir = m_appDir.toStdString();
    m_mainWindow->tray().addIcon(QString::fromStdString(appFile(appDir, kTrayIconName)),
                                 QStringLiteral("Chimewell"), m_mainWindow->trayMenu());

    // 3-5. The language pack named in the settings. A pack that fails to load leaves the
    // windows with the texts they have, and start-up goes on.
    const std::string language = readSetting(appDir, kLanguageKey);
    if (isPackFileName(language))
        m_language.loadPack(QString::fromStdString(appFile(appDir, kPacksFolder, language)),
                            nullptr);

    // 6. The pack on the main window and the three dialogs, which this loads hidden.
    useQtTranslations();
    applyLanguageToAll();

    // 7. The main window; not when it is to start hidden in the tray, where even a moment on
    // screen would flash at log-on (step 10 then has nothing left to hide).
    const bool startHidden = arguments == QStringList{QStringLiteral("-minimized")};
    if (!startHidden || !m_mainWindow->tray().hasNotificationArea())
        m_mainWindow->show();

    // 8. The first start.
    if (readSetting(appDir, kFirstLoadKey) == "1") {
        m_services.messages->show(kWelcomeText, MessageIcon::Information);
        m_options.show();
        writeSetting(appDir, kFirstLoadKey, "0");
    }

    // 9. The status line.
    m_mainWindow->refreshScheduleStatus(false);

    // 10. Started hidden: only the tray icon shows (a minimised window where there is none).
    if (startHidden)
        m_mainWindow->minimizeToTray();
    return true;
}

void Startup::useQtTranslations()
{
    m_qtTranslations.use(m_pack.looseString(QStringLiteral("locale")), m_appDir);
}

void Startup::applyLanguageToAll()
{
    // Touching a dialog loads it, hidden; its own load runs before the pack is applied. The
    // schedule dialogs apply the pack as they load, so touching them is enough.
    m_language.apply(m_mainWindow);
    if (QWidget* options = m_options.get())
        m_language.apply(options);
    m_delete.get();
    m_schedule.get();
}

} // namespace chimewell
