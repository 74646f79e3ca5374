#pragma once

#include "SingleInstance.h"

#include <QtCore/QLockFile>
#include <QtCore/QString>
#include <memory>

namespace chimewell {

/// A lock file in the user's runtime folder (userRuntimeFolder()), named after the application
/// folder. A lock left by a copy that was killed names a process that no longer runs and is
/// taken over at once.
class LockFileSingleInstance final : public SingleInstance
{
public:
    explicit LockFileSingleInstance(const QString& appDir, const QString& lockFolder = {});
    LockFileSingleInstance(const LockFileSingleInstance&) = delete;
    LockFileSingleInstance& operator=(const LockFileSingleInstance&) = delete;

    bool tryAcquire() override;
    QString lockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace chimewell
