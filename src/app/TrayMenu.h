#pragma once

#include <QtWidgets/QMenu>

namespace chimewell {

class AlarmScheduler;
class TrayModule;

/// The tray icon's menu, `mSysPopup` of the main window, and its tooltip. Stop and Snooze
/// show over Show and Exit while an alarm rings. The menu takes a new shape only while it is
/// closed, so that nothing moves under the pointer; chosen after the sound has ended, Stop
/// and Snooze act on the last alarm's notice. The tooltip names the next alarm.
class TrayMenu : public QMenu
{
    Q_OBJECT
public:
    TrayMenu(AlarmScheduler& alarms, TrayModule& tray, QWidget* mainWindow);

    void updateToolTip();

private:
    void reshape();

    AlarmScheduler& m_alarms;
    TrayModule& m_tray;
    QList<QAction*> m_ringingItems; // Stop, Snooze and the separator under them
    bool m_ringing = false;
    bool m_open = false;
};

} // namespace chimewell
