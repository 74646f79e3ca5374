#pragma once

#include <QtWidgets/QMainWindow>

class QAction;
class QMenu;
class QPushButton;
class QRadioButton;

namespace chimewell {

class AlarmFields;
class AlarmCommands;
class ClockFace;
class OpenTargetsBox;
class StatusPanel;
class TimerMenu;
class TrayMenu;
class TrayModule;
struct PlatformServices;

// Language packs address the window and its controls by these names (the alarm's fields by
// alarmFieldNames): keep them as they are.
inline constexpr struct MainWindowNames
{
    const char *window = "Form1", *clientArea = "ClientArea", *clock = "Label1",
               *soundButtons = "Picture3", *preview = "Command3", *play = "cmdPlay",
               *stop = "cmdStop", *openBox = "Frame2", *openSite = "Check1", *openNote = "Label5",
               *siteEdit = "Text3", *openFile = "Check2", *fileEdit = "Text5",
               *browseFileHolder = "Picture2", *browseFile = "Command2", *alarmOn = "Option1",
               *alarmOff = "Option2", *minimize = "Command4", *statusBar = "StatusBar1",
               *fileMenu = "mOptions", *alarmsItem = "mnuAlarms", *scheduleItem = "mnuSchedule",
               *deleteItem = "mnuDelete", *fileSeparator1 = "mnuSeparator2",
               *optionsItem = "mnuLanguage", *fileSeparator2 = "mnuSeparator3", *exitItem = "mExit",
               *helpMenu = "mnuHelp", *websiteItem = "mnuWebsite", *helpSeparator = "mnuSeparator4",
               *aboutItem = "mnuAbout", *trayMenu = "mSysPopup", *stopAlarmItem = "mnuStopAlarm",
               *snoozeItem = "mnuSnooze", *trayAlarmsItem = "mnuTrayAlarms", *showItem = "mnuShow",
               *traySeparator = "mnuSeparator1", *trayExitItem = "mnuExit", *timerMenu = "mnuTimer",
               *trayTimerMenu = "mnuTrayTimer";
} mainWindowNames{};

/// `Form1`, the main window: the clock, the one-shot alarm's fields, the sound buttons, the
/// status line, the menus and the tray menu. It shows and edits the alarms that the scheduler
/// keeps. Closing it ends the program.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    static const QString kWebsite;

    MainWindow(PlatformServices& services, AlarmCommands& alarms, TrayModule& tray,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    QMenu* trayMenu() const;

    /// The status line and the tooltip, in the pack's words: today's next weekly alarm when it
    /// is still to come; else the one-shot alarm's state; else "No alarm active...".
    void showStatus();
    /// "Minimize to systray": hides the window, or minimises it where there is no tray.
    void minimizeToTray();

signals:
    void alarmsRequested();
    void scheduleRequested();
    void deleteRequested();
    void optionsRequested();
    void aboutRequested();
    /// The window was closed: the program ends.
    void shutDown();
    /// The window came to show the clock: it is to be looked at every second.
    void clockShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void updateClock();
    void updateStopButton();

    void armAlarm();
    void disarmAlarm();
    void playChosenSound();
    void stopChosenSound();
    void previewAlarm();

    PlatformServices& m_services;
    AlarmCommands& m_alarms;
    TrayModule& m_tray;
    bool m_previewPlays = false;

    ClockFace* m_clock = nullptr;
    AlarmFields* m_fields = nullptr;
    OpenTargetsBox* m_targets = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_playButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QRadioButton* m_alarmOnButton = nullptr;
    QRadioButton* m_alarmOffButton = nullptr;
    StatusPanel* m_panel = nullptr;
    TrayMenu* m_trayMenu = nullptr;
    TimerMenu* m_timerMenu = nullptr;
};

} // namespace chimewell
