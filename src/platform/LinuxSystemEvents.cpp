#include "LinuxSystemEvents.h"

#include <QtCore/QSocketNotifier>
#include <QtDBus/QDBusConnection>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace chimewell {
namespace {

int g_quitPipe[2] = {-1, -1};

// Only what is safe in a signal handler: one byte into the pipe.
void onQuitSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_quitPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

LinuxSystemEvents::LinuxSystemEvents(QObject* parent) : SystemEvents(parent)
{
    m_fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0 && armClockWatch()) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &LinuxSystemEvents::onClockFd);
    }
    watchQuitSignals();
    // Where there is no logind (or no system bus) the next planned wake finds the gap.
    QDBusConnection::systemBus().connect(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SLOT(onPrepareForSleep(bool)));
}

LinuxSystemEvents::~LinuxSystemEvents()
{
    // From here on a signal ends the program the default way.
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
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

void LinuxSystemEvents::watchQuitSignals()
{
    if (g_quitPipe[0] < 0 && ::pipe2(g_quitPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_quitNotifier = new QSocketNotifier(g_quitPipe[0], QSocketNotifier::Read, this);
    connect(m_quitNotifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(g_quitPipe[0], bytes, sizeof bytes) > 0) {
        }
        emit quitRequested();
    });
    struct sigaction action
    {
    };
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
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
