#pragma once

#include "SingleInstance.h"

#include <QtCore/QLockFile>
#include <QtCore/QString>
#include <memory>

class QLocalServer;

namespace chimewell {

/// A lock file in the user's runtime folder (userRuntimeFolder()), named after the application
/// folder. A lock left by a copy that was killed names a process that no longer runs and is
/// taken over at once. The copy that holds it listens on a local socket of the same name (a
/// named pipe on Windows) for the requests of later copies.
class LockFileSingleInstance final : public SingleInstance
{
public:
    /// The largest request or reply that travels, in bytes.
    static constexpr qint64 kLargestMessage = 4 << 20;

    explicit LockFileSingleInstance(const QString& appDir, const QString& lockFolder = {});
    ~LockFileSingleInstance() override;
    LockFileSingleInstance(const LockFileSingleInstance&) = delete;
    LockFileSingleInstance& operator=(const LockFileSingleInstance&) = delete;

    bool tryAcquire() override;
    void release() override;
    void serve(Answer answer) override;
    Asked ask(const QByteArray& request, int timeoutMs, QByteArray& reply) override;
    QString lockPath() const { return m_path; }
    QString socketName() const { return m_socketName; }

private:
    QString m_path;
    QString m_socketName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace chimewell
