#include "LinuxSystemEvents.h"

#include <QtCore/QSocketNotifier>
#include <QtDBus/QDBusConnection>
#include <cerrno>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace chimewell {

LinuxSystemEvents::LinuxSystemEvents(QObject* parent) : SystemEvents(parent)
{
    m_fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0 && armClockWatch()) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &LinuxSystemEvents::onClockFd);
    }
    // Where there is no logind (or no system bus) the next planned wake finds the gap.
    QDBusConnection::systemBus().connect(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SLOT(onPrepareForSleep(bool)));
}

LinuxSystemEvents::~LinuxSystemEvents()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool LinuxSystemEvents::armClockWatch()
{
    // An absolute timer far in the future never expires; with TFD_TIMER_CANCEL_ON_SET a read
    // fails with ECANCELED as soon as the wall clock is set, and costs nothing until then.
    itimerspec far{};
    far.it_value.tv_sec = INT32_MAX;
    return timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &far, nullptr) == 0;
}

void LinuxSystemEvents::onClockFd()
{
    std::uint64_t expirations = 0;
    const ssize_t n = ::read(m_fd, &expirations, sizeof expirations);
    if (n < 0 && errno == ECANCELED) {
        armClockWatch();
        emit clockChanged();
    }
}

void LinuxSystemEvents::onPrepareForSleep(bool sleeping)
{
    if (!sleeping)
        emit resumed();
}

std::unique_ptr<SystemEvents> makeSystemEvents()
{
    return std::make_unique<LinuxSystemEvents>();
}

} // namespace chimewell
