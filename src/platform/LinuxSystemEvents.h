#pragma once

#include "SystemEvents.h"

class QSocketNotifier;

namespace chimewell {

/// A timer file descriptor that is cancelled when the wall clock is set, logind's
/// PrepareForSleep signal on the system bus, and SIGTERM and SIGINT through a pipe that their
/// handler writes to.
class LinuxSystemEvents final : public SystemEvents
{
    Q_OBJECT
public:
    explicit LinuxSystemEvents(QObject* parent = nullptr);
    ~LinuxSystemEvents() override;

private slots:
    void onPrepareForSleep(bool sleeping);

private:
    bool armClockWatch();
    void onClockFd();
    void watchQuitSignals();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QSocketNotifier* m_quitNotifier = nullptr;
};

} // namespace chimewell
