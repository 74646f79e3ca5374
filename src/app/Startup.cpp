#include "Startup.h"

#include "CommandLine.h"
#include "MainWindow.h"
#include "alarm/AlarmScheduler.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/OptionsDialog.h"
#include "lang/LanguagePack.h"
#include "lang/Texts.h"
#include "platform/AtomicFile.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/SingleInstance.h"
#include "platform/SystemEvents.h"
#include "schedule/AlarmsWindow.h"
#include "schedule/DeleteDialog.h"
#include "schedule/ScheduleDialog.h"
#include "storage/AlarmTime.h"
#include "storage/Settings.h"
#include "tray/TrayModule.h"
#include "widgets/QtText.h"

#include <filesystem>

namespace chimewell {

const QString Startup::kAlreadyRunningText = QStringLiteral("Chimewell is already running.");

Startup::Startup(PlatformServices& services, const QString& appDir, LanguagePack& language,
                 QObject* parent)
    : QObject(parent), m_services(services), m_appDir(appDir), m_pack(language)
{}

Startup::~Startup()
{
    // Dialogs are top-level windows without an owner: they go with the program.
    for (WindowSlot* slot : {&m_options, &m_schedule, &m_delete, &m_about, &m_alarmList})
        delete slot->loaded();
    delete m_mainWindow;
}

bool Startup::run(const QStringList& arguments)
{
    // One copy per user and application folder. A second one reads and writes nothing, not
    // even the setting that would tell it the user's language.
    const bool background = arguments == QStringList{QStringLiteral("--background")};
    if (!m_services.instance->tryAcquire()) {
        // Started for a command-line verb, it leaves the copy that runs to answer it.
        if (!background)
            m_services.messages->show(kAlreadyRunningText, MessageIcon::Stop);
        return false;
    }
    removeLeftoverTemporaries();
    setUpWindows();

    m_tray->addIcon(toQ(appFile(toStd(m_appDir), kTrayIconName)), QStringLiteral("Chimewell"),
                    m_mainWindow->trayMenu());

    // The language named in the settings, on the main window and the three dialogs, which
    // this loads hidden. A pack that fails to load leaves the windows with the texts they
    // have, and start-up goes on.
    m_pack.loadChosen(m_appDir);
    useQtTranslations();
    applyLanguageToAll();
    // Now that its words are known and there is somewhere to tell it: the alarms start, and a
    // file that cannot be read is told.
    m_alarms->start();
    m_mainWindow->showStatus();
    // Later copies' verbs, and the session bus, reach the alarms from now on (also while a
    // box of the start waits for the user).
    m_services.instance->serve(
        [this](const QByteArray& request) { return answerRequest(*m_alarms, request); });
    new AlarmsOnTheBus(*m_alarms, m_services.remoteControl, this);

    // Not shown when it is to start hidden in the tray, where even a moment on screen would
    // flash at log-on; without a tray it starts minimised instead.
    const bool startHidden = background || arguments == QStringList{QStringLiteral("-minimized")};
    if (!startHidden || !m_tray->hasNotificationArea())
        m_mainWindow->show();
    tellUnwritableFiles();

    const std::string appDir = toStd(m_appDir);
    if (readSetting(appDir, kFirstLoadKey) == "1") {
        m_services.messages->show(translated(texts::welcome), MessageIcon::Information);
        m_options.show();
        writeSetting(appDir, kFirstLoadKey, "0");
    }

    if (startHidden)
        m_mainWindow->minimizeToTray();
    return true;
}

void Startup::removeLeftoverTemporaries()
{
    // A copy killed while it wrote may have left its temporary files; only this copy runs now.
    const std::string folder = toStd(m_appDir);
    std::vector<std::string> dayFiles;
    for (int day = 0; day < 7; ++day)
        dayFiles.push_back(std::string(dayName(day)) + ".ini");
    removeStaleTemporaries(folder, {std::string(kSettingsFileName)});
    removeStaleTemporaries(appFile(folder, kScheduleFolder), dayFiles);
}

void Startup::tellUnwritableFiles()
{
    // A folder the user cannot write to (a copy unpacked into C:\Program Files, a read-only
    // medium) is told once, now, rather than as every change fails to be kept. The schedule
    // folder, where it is missing, is told where it is needed.
    const std::string appDir = toStd(m_appDir);
    std::vector<std::string> files = {settingsFilePath(appDir)};
    if (std::filesystem::exists(pathFromUtf8(appFile(appDir, kScheduleFolder))))
        files.push_back(appFile(appDir, kScheduleFolder, std::string(dayName(0)) + ".ini"));
    std::string reason;
    for (const std::string& file : files)
        if (!canWriteFile(file, &reason)) {
            m_services.messages->show(translated(texts::filesNotWritable, {toQ(reason)}),
                                      MessageIcon::Exclamation);
            return;
        }
}

void Startup::setUpWindows()
{
    m_tray = new TrayModule(*m_services.tray, m_services.notifier, this);
    m_alarms = new AlarmScheduler(m_services, m_appDir, *m_tray, m_pack, this);
    m_mainWindow = new MainWindow(m_services, *m_alarms, *m_tray);
    m_alarms->setWatched(
        [this] { return m_mainWindow->isVisible() && !m_mainWindow->isMinimized(); });
    connect(m_mainWindow, &MainWindow::clockShown, m_alarms, &AlarmScheduler::watchNow);
    connect(m_mainWindow, &MainWindow::shutDown, this, &Startup::shutDown);
    // Asked to end by the session (log-out), it ends as Exit ends it.
    if (SystemEvents* events = m_services.systemEvents)
        connect(events, &SystemEvents::quitRequested, m_mainWindow, &QWidget::close);
    connect(m_mainWindow, &MainWindow::alarmsRequested, this, [this] { m_alarmList.show(); });
    connect(m_mainWindow, &MainWindow::optionsRequested, this, [this] { m_options.show(); });
    connect(m_mainWindow, &MainWindow::scheduleRequested, this, [this] { m_schedule.show(); });
    connect(m_mainWindow, &MainWindow::deleteRequested, this, [this] { m_delete.show(); });
    connect(m_mainWindow, &MainWindow::aboutRequested, this, [this] { m_about.show(); });

    m_options.setFactory([this] {
        return new OptionsDialog(m_services, m_appDir, *m_alarms, m_pack, [this] {
            useQtTranslations();
            for (QWidget* window :
                 {static_cast<QWidget*>(m_mainWindow), m_delete.get(), m_schedule.get()})
                m_pack.apply(window);
            if (auto* list = static_cast<AlarmsWindow*>(m_alarmList.loaded()))
                list->retranslate();
            // The status line and the tooltip are words of the pack too.
            m_mainWindow->showStatus();
        });
    });
    m_about.setFactory([this] { return new AboutDialog(m_appDir, m_pack); });
    // The schedule dialogs and the alarm list carry the current pack's texts whenever they are
    // loaded afresh. They change the alarms through the alarms' commands.
    m_schedule.setFactory([this] {
        auto* dialog = new ScheduleDialog(m_services, m_appDir, *m_alarms);
        m_pack.apply(dialog);
        return dialog;
    });
    m_delete.setFactory([this] {
        auto* dialog = new DeleteDialog(m_services, m_appDir, *m_alarms);
        m_pack.apply(dialog);
        return dialog;
    });
    m_alarmList.setFactory(
        [this] { return new AlarmsWindow(m_services, m_appDir, *m_alarms, m_pack); });
}

void Startup::shutDown()
{
    // Nothing of the program may stay behind it: neither a sound nor a notice whose buttons
    // nothing would answer.
    if (std::exchange(m_ended, true))
        return;
    m_alarms->withdrawAll();
    emit finished();
}

void Startup::useQtTranslations()
{
    m_qtTranslations.use(m_pack.looseString(QStringLiteral("locale")), m_appDir);
}

void Startup::applyLanguageToAll()
{
    // Touching a dialog loads it, hidden; its own load runs before the pack is applied. The
    // schedule dialogs apply the pack as they load, so touching them is enough.
    m_pack.apply(m_mainWindow);
    m_pack.apply(m_options.get());
    m_delete.get();
    m_schedule.get();
}

} // namespace chimewell
