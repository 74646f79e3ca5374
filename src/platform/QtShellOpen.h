#pragma once

#include "ShellOpen.h"

#include <QtCore/QUrl>

namespace chimewell {

/// What the text names, as the Windows shell reads a typed target: an absolute path, a path
/// under the home folder (`~/`) or an existing file relative to `workingDir` is a file; an
/// address with a scheme (`https:`, `file:`, `mailto:`) stands as it is; anything else is read
/// as a typed address ("www.example.org").
QUrl urlForTarget(const QString& target, const QString& workingDir, const QString& homeDir);

class QtShellOpen final : public ShellOpen
{
public:
    void open(const QString& target) override;
};

} // namespace chimewell
