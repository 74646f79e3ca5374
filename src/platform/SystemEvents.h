#pragma once

#include <QtCore/QObject>
#include <memory>

namespace chimewell {

/// Events of the system that the wall clock alone does not tell a sleeping program: the
/// clock was set, the machine woke from suspend, or the session asks the program to end.
class SystemEvents : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SystemEvents() override = default;

signals:
    /// The wall clock jumped (set by hand, by time synchronisation, or a time zone change).
    void clockChanged();
    /// The machine has just resumed from suspend.
    void resumed();
    /// The program is asked to end (SIGTERM or SIGINT, as at log-out): it should end as if
    /// the user had chosen Exit.
    void quitRequested();
};

/// The events of the system the program was built for.
std::unique_ptr<SystemEvents> makeSystemEvents();

} // namespace chimewell
