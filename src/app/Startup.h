#pragma once

#include "lang/QtTranslations.h"
#include "widgets/WindowSlot.h"

#include <QtCore/QObject>
#include <QtCore/QStringList>

namespace chimewell {

class AlarmScheduler;
class LanguagePack;
class MainWindow;
class TrayModule;
struct PlatformServices;

/// Start-up of the program, in order: one copy only, the tray icon, the language pack on the
/// main window and the three dialogs, the alarms, the window shown, the first-start welcome,
/// and hiding for "-minimized". Owns the alarms, the main window and the single dialogs; at the
/// end it silences the alarms and takes their notices away.
class Startup : public QObject
{
    Q_OBJECT
public:
    static const QString kAlreadyRunningText;

    Startup(PlatformServices& services, const QString& appDir, LanguagePack& language,
            QObject* parent = nullptr);
    ~Startup() override;

    /// False when another copy runs: the user was told, and this copy ends.
    bool run(const QStringList& arguments);

    MainWindow* mainWindow() const { return m_mainWindow; }
    AlarmScheduler& alarms() { return *m_alarms; }
    TrayModule& tray() { return *m_tray; }
    WindowSlot& options() { return m_options; }
    WindowSlot& schedule() { return m_schedule; }
    WindowSlot& remove() { return m_delete; }
    WindowSlot& about() { return m_about; }
    WindowSlot& alarmList() { return m_alarmList; }

signals:
    /// The main window closed: the program ends.
    void finished();

private:
    void removeLeftoverTemporaries();
    void tellUnwritableFiles();
    void setUpWindows();
    void applyLanguageToAll();
    void useQtTranslations();
    void shutDown();

    PlatformServices& m_services;
    QString m_appDir;
    LanguagePack& m_pack;
    QtTranslations m_qtTranslations;
    TrayModule* m_tray = nullptr;
    AlarmScheduler* m_alarms = nullptr;
    MainWindow* m_mainWindow = nullptr;
    WindowSlot m_options;
    WindowSlot m_schedule;
    WindowSlot m_delete;
    WindowSlot m_about;
    WindowSlot m_alarmList;
    bool m_ended = false;
};

} // namespace chimewell
