#pragma once

#include <QtWidgets/QMenu>

namespace chimewell {

class AlarmCommands;
class Clock;
class MessageBox;
class TimerMenu;
class TrayModule;

/// The tray icon's menu, `mSysPopup` of the main window, and its tooltip. Stop and Snooze are
/// always there, enabled while an alarm rings; the menu takes its new state only while it is
/// closed, so that nothing changes under the pointer (and StatusNotifier hosts, which copy the
/// menu, are never asked to show one that changes). Chosen after the sound has ended, Stop and
/// Snooze act on the last alarm's notices. "Timer" starts and cancels timers. The tooltip names
/// the next alarm.
class TrayMenu : public QMenu
{
    Q_OBJECT
public:
    TrayMenu(AlarmCommands& alarms, TrayModule& tray, MessageBox& messages, const Clock& clock,
             QWidget* mainWindow);

    void updateToolTip();

signals:
    void alarmsRequested();

private:
    void reshape();

    AlarmCommands& m_alarms;
    TrayModule& m_tray;
    const Clock& m_clock;
    QAction* m_stop;
    QAction* m_snooze;
    TimerMenu* m_timers;
    bool m_open = false;
};

} // namespace chimewell
