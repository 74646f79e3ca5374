#pragma once

#include "storage/AlarmTime.h"

#include <QtCore/QDate>
#include <QtWidgets/QMainWindow>
#include <functional>
#include <optional>

class QAction;
class QFileSystemWatcher;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace chimewell {

class AlarmBell;
class AlarmSound;
class ClockFace;
class SecondTicker;
class SecondTimer;
class StatusPanel;
class TrayModule;
struct PlatformServices;

/// `Form1`, the main window: the clock, the one-shot alarm, the sound controls, the status
/// line, the menus and the tray icon's actions. Closing it ends the program.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    static const QString kWebsite;

    MainWindow(PlatformServices& services, const QString& appDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    QString appDir() const { return m_appDir; }
    TrayModule& tray() { return *m_tray; }
    AlarmSound& sound() { return *m_sound; }
    AlarmBell& bell() { return *m_bell; }
    SecondTicker& ticker() { return *m_ticker; }
    QMenu* trayMenu() const { return m_trayMenu; }

    /// Starts the ticks: every second while a window shows, else only when something can be
    /// due (the clock, and the alarm checks while they run).
    void startClock();
    /// While no window shows and nothing is due, the clock is looked at at least this often,
    /// well within the minute after which a late tick counts as a sleep.
    static constexpr int kHeartbeatSeconds = 30;
    /// When the next tick is needed; nothing while a window shows the clock.
    std::optional<qint64> plannedWake() const;
    /// Another window that needs a tick every second while it shows (the Options dialog
    /// mirrors the log-on entry).
    void setSecondsNeeded(std::function<bool()> needed) { m_secondsNeeded = std::move(needed); }

    /// The status line from today's day file; when no weekly alarm is still to come, either
    /// "No alarm active..." or, with `checkOneShot`, the one-shot alarm's status.
    void refreshScheduleStatus(bool checkOneShot);
    void showOneShotStatus();

    /// Opens a web address or a file with the desktop's default handler.
    void openTarget(const QString& url);

    void playAlarmSound(const QString& file);
    void stopPlayback();

    /// "Minimize to systray": hides the window, or minimises it where there is no tray.
    void minimizeToTray();
    /// A left press on the tray icon: the window comes back in its normal state.
    void restoreFromTray();

    bool isOneShotArmed() const;
    /// The text a firing alarm shows in its balloon; an overlong reason is shortened.
    static QString alarmMessage(const QString& time, const QString& reason);
    static constexpr int kReasonShownLimit = 200;

    /// "Chimewell", and on a second line the next alarm to come, one-shot or weekly.
    QString trayToolTip() const;
    /// Brings the tray icon's tooltip up to date.
    void updateTrayToolTip();

signals:
    void scheduleRequested();
    void deleteRequested();
    void optionsRequested();
    void aboutRequested();
    /// The window was closed: the program ends.
    void shutDown();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void setStatus(const QString& text, bool alarmPicture);
    void watchSchedule();
    ClockReading reading() const;

    void armAlarm();
    void disarmAlarm();
    void updateClock();
    void checkOneShotAlarm();
    void checkWeeklyAlarm();
    void fireOneShot();
    std::optional<int> weeklyMinuteOn(std::int64_t day) const;
    void playChosenSound();
    void stopChosenSound();
    void browseForMusic();
    void browseForFile();
    void previewAlarm();

    PlatformServices& m_services;
    QString m_appDir;
    TrayModule* m_tray = nullptr;
    AlarmSound* m_sound = nullptr;
    AlarmBell* m_bell = nullptr;
    SecondTicker* m_ticker = nullptr;
    SecondTimer* m_clockTimer = nullptr;
    SecondTimer* m_oneShotTimer = nullptr;
    SecondTimer* m_weeklyTimer = nullptr;
    AlarmTrigger m_oneShotTrigger;
    AlarmTrigger m_weeklyTrigger;
    QFileSystemWatcher* m_watcher = nullptr;
    std::function<bool()> m_secondsNeeded;
    QDate m_statusDate;
    int m_tipMinute = -1;

    ClockFace* m_clock = nullptr;
    QLineEdit* m_reasonEdit = nullptr;
    QLineEdit* m_timeEdit = nullptr;
    QLineEdit* m_siteEdit = nullptr;
    QLineEdit* m_musicEdit = nullptr;
    QLineEdit* m_fileEdit = nullptr;
    QPushButton* m_browseMusicButton = nullptr;
    QPushButton* m_browseFileButton = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_minimizeButton = nullptr;
    QPushButton* m_playButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QCheckBox* m_openSiteCheck = nullptr;
    QCheckBox* m_openFileCheck = nullptr;
    QRadioButton* m_alarmOnButton = nullptr;
    QRadioButton* m_alarmOffButton = nullptr;
    QLabel* m_ringingBell = nullptr;
    QLabel* m_idleBell = nullptr;
    StatusPanel* m_panel = nullptr;
    QMenu* m_trayMenu = nullptr;
};

} // namespace chimewell
