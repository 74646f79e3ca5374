#pragma once

#include "Clock.h"

namespace chimewell {

class QtClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace chimewell
