#pragma once

#include <QtCore/QObject>
#include <QtCore/QTimer>
#include <functional>
#include <optional>

namespace chimewell {

class Clock;

/// Ticks just after a boundary of the wall clock's seconds: each second, or, when the planner
/// says nothing needs the clock before then, at the second it names. The timer is armed anew
/// at every tick, so the ticks do not drift the way a free-running timer does, and one timer
/// wakes the program for every check.
class SecondTicker : public QObject
{
    Q_OBJECT
public:
    /// The next second (since the epoch) at which a tick is needed, or nothing for every
    /// second.
    using Planner = std::function<std::optional<qint64>()>;

    explicit SecondTicker(const Clock& clock, QObject* parent = nullptr);

    void setPlanner(Planner planner) { m_planner = std::move(planner); }
    void start();

    /// One tick now, as if the second had turned (tests step a fake clock and call this).
    void fire();
    /// Something the plan depends on changed: a tick now, then the plan is made anew.
    void wake();

signals:
    void tick();

private:
    void onTimeout();
    void arm();

    const Clock& m_clock;
    Planner m_planner;
    QTimer m_timer;
    qint64 m_lastSecond = -1;
};

} // namespace chimewell
