#pragma once

#include <QtWidgets/QMenu>

namespace chimewell {

class AlarmCommands;
class Clock;
class MessageBox;

/// "Timer": starts a timer of 5, 10, 15, 30 or 60 minutes, or of a length and name asked for
/// ("Other..."), and lists the running timers with their time left, each to cancel. The tray
/// menu and the main window's File menu each have one. Its texts and timers are made afresh
/// as it opens.
class TimerMenu : public QMenu
{
    Q_OBJECT
public:
    /// At most this many running timers are listed; the rest are counted.
    static constexpr int kListed = 10;

    TimerMenu(AlarmCommands& alarms, MessageBox& messages, const Clock& clock, QWidget* parent);

    /// The menu's own title in the pack's words.
    void retitle();
    /// Asks for a length and a name, and starts the timer.
    void askForTimer();

private:
    void refill();

    AlarmCommands& m_alarms;
    MessageBox& m_messages;
    const Clock& m_clock;
};

/// "h:mm:ss", or "m:ss" under an hour: how long is left of a timer.
QString timeLeftText(qint64 seconds);

} // namespace chimewell
