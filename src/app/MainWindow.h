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
    QMenu* trayMenu() const { return m_sysPopup; }

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
    void RefreshScheduleStatus(bool checkOneShot);
    void ShowOneShotStatus();

    /// Opens a web address or a file with the desktop's default handler.
    void OpenInternet(const QString& url);

    void PlayAlarmSound(const QString& file);
    void StopPlayback();

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

    void Option1_Click();
    void Option2_Click();
    void disarm();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void fireOneShot();
    std::optional<int> weeklyMinuteOn(std::int64_t day) const;
    void cmdPlay_Click();
    void cmdStop_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    PlatformServices& m_services;
    QString m_appDir;
    TrayModule* m_tray = nullptr;
    AlarmSound* m_sound = nullptr;
    AlarmBell* m_bell = nullptr;
    SecondTicker* m_ticker = nullptr;
    SecondTimer* m_timer1 = nullptr;
    SecondTimer* m_timer2 = nullptr;
    SecondTimer* m_timer3 = nullptr;
    AlarmTrigger m_oneShotTrigger;
    AlarmTrigger m_weeklyTrigger;
    QFileSystemWatcher* m_watcher = nullptr;
    std::function<bool()> m_secondsNeeded;
    QDate m_statusDate;
    int m_tipMinute = -1;

    ClockFace* m_label1 = nullptr;
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text2 = nullptr;
    QLineEdit* m_text3 = nullptr;
    QLineEdit* m_text4 = nullptr;
    QLineEdit* m_text5 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_command3 = nullptr;
    QPushButton* m_command4 = nullptr;
    QPushButton* m_cmdPlay = nullptr;
    QPushButton* m_cmdStop = nullptr;
    QCheckBox* m_check1 = nullptr;
    QCheckBox* m_check2 = nullptr;
    QRadioButton* m_option1 = nullptr;
    QRadioButton* m_option2 = nullptr;
    QLabel* m_image1 = nullptr;
    QLabel* m_image2 = nullptr;
    StatusPanel* m_panel = nullptr;
    QMenu* m_sysPopup = nullptr;
};

} // namespace chimewell
