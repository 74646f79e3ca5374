#pragma once

#include <QtCore/QObject>
#include <memory>

namespace chimewell {

/// Events of the system that the wall clock alone does not tell a sleeping program: the
/// clock was set, or the machine woke from suspend.
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
};

/// The events of the system the program was built for.
std::unique_ptr<SystemEvents> makeSystemEvents();

} // namespace chimewell
