#pragma once

#include <QtCore/QObject>
#include <QtCore/QTimer>

namespace chimewell {

class Clock;

/// Ticks just after each boundary of the wall clock's seconds. The timer is armed anew for the
/// next whole second at every tick, so the ticks do not drift the way a free-running
/// 1000 ms timer does, and one timer wakes the program once a second for every check.
class SecondTicker : public QObject
{
    Q_OBJECT
public:
    explicit SecondTicker(const Clock& clock, QObject* parent = nullptr);

    void start();
    void stop();
    bool isActive() const { return m_timer.isActive(); }

    /// One tick now, as if the second had turned (tests step a fake clock and call this).
    void fire();

signals:
    void tick();

private:
    void onTimeout();
    void armForNextSecond();

    const Clock& m_clock;
    QTimer m_timer;
    qint64 m_lastSecond = -1;
};

/// One of the window's one-second timers (`Timer1`, `Timer2`, `Timer3`): it passes the
/// ticker's ticks on while it is enabled.
class SecondTimer : public QObject
{
    Q_OBJECT
public:
    SecondTimer(const QString& name, SecondTicker& ticker, bool enabled, QObject* parent);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

signals:
    void timeout();

private:
    bool m_enabled;
};

} // namespace chimewell
