#pragma once

#include "ShellOpen.h"

#include <QtCore/QUrl>

namespace chimewell {

/// What the text names: an address with a scheme as it stands, an absolute path as a file,
/// anything else as the desktop would read a typed address.
QUrl urlForTarget(const QString& target);

class QtShellOpen final : public ShellOpen
{
public:
    void open(const QString& target) override;
};

} // namespace chimewell
