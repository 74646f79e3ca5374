#pragma once

#include "SystemEvents.h"

class QSocketNotifier;

namespace chimewell {

/// A timer file descriptor that is cancelled when the wall clock is set, and logind's
/// PrepareForSleep signal on the system bus.
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

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace chimewell
