#pragma once

#include <QtCore/QString>

namespace chimewell {

/// Hands a web address or a file path to the desktop's default handler, without waiting and
/// without looking at the outcome.
class ShellOpen
{
public:
    virtual ~ShellOpen() = default;
    virtual void open(const QString& target) = 0;
};

} // namespace chimewell
