#pragma once

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

} // namespace chimewell
