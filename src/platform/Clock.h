#pragma once

#include "storage/AlarmTime.h"

#include <QtCore/QDateTime>

namespace chimewell {

/// The local wall clock. Windows get it through their constructor, so tests can stand at any
/// moment and step one second at a time.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

/// A clock reading in the form the time rules take.
inline ClockReading toReading(const QDateTime& time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    return {{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()},
            time.toSecsSinceEpoch()};
}

} // namespace chimewell
