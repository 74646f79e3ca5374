#include "SecondTicker.h"

#include "platform/Clock.h"

#include <algorithm>
#include <chrono>

namespace chimewell {
namespace {

// Wake a little after the boundary, so that the clock read in the tick is already in the
// new second even when the timer fires a hair early.
constexpr int kSlackMs = 2;

} // namespace

SecondTicker::SecondTicker(const Clock& clock, QObject* parent) : QObject(parent), m_clock(clock)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SecondTicker::onTimeout);
}

void SecondTicker::start()
{
    arm();
}

void SecondTicker::fire()
{
    m_lastSecond = m_clock.now().toSecsSinceEpoch();
    emit tick();
}

void SecondTicker::onTimeout()
{
    const qint64 second = m_clock.now().toSecsSinceEpoch();
    if (second != m_lastSecond) {
        m_lastSecond = second;
        emit tick();
    }
    arm();
}

void SecondTicker::wake()
{
    fire();
    if (m_timer.isActive())
        arm();
}

void SecondTicker::arm()
{
    const QDateTime now = m_clock.now();
    qint64 msec = 1000 - now.time().msec();
    if (const std::optional<qint64> next = m_planner ? m_planner() : std::nullopt)
        msec = std::max<qint64>(msec, *next * 1000 - now.toMSecsSinceEpoch());
    m_timer.start(std::chrono::milliseconds(msec + kSlackMs));
}

} // namespace chimewell
