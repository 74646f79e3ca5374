#include "SecondTicker.h"

#include "platform/Clock.h"

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
    armForNextSecond();
}

void SecondTicker::stop()
{
    m_timer.stop();
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
    armForNextSecond();
}

void SecondTicker::armForNextSecond()
{
    const int msec = m_clock.now().time().msec();
    m_timer.start(1000 - msec + kSlackMs);
}

SecondTimer::SecondTimer(const QString& name, SecondTicker& ticker, bool enabled, QObject* parent)
    : QObject(parent), m_enabled(enabled)
{
    setObjectName(name);
    connect(&ticker, &SecondTicker::tick, this, [this] {
        if (m_enabled)
            emit timeout();
    });
}

} // namespace chimewell
