#include "LockFileSingleInstance.h"

#include <QtCore/QCryptographicHash>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QStandardPaths>

namespace chimewell {
namespace {

QString defaultLockFolder()
{
    // The runtime folder is private to the user; where there is none, the temporary folder
    // is shared, so the user's name goes into the file name.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && QFileInfo(runtime).isWritable())
        return runtime;
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return QDir::tempPath() + "/chimewell-" + user;
}

} // namespace

LockFileSingleInstance::LockFileSingleInstance(const QString& appDir, const QString& lockFolder)
{
    const QString folder = lockFolder.isEmpty() ? defaultLockFolder() : lockFolder;
    QDir().mkpath(folder);
    const QString canonical = QFileInfo(appDir).canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash(
        (canonical.isEmpty() ? appDir : canonical).toUtf8(), QCryptographicHash::Sha256);
    m_path = folder + "/chimewell-" + QString::fromLatin1(hash.toHex().left(16)) + ".lock";
}

bool LockFileSingleInstance::tryAcquire()
{
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(m_path);
    // Only a lock whose process is gone counts as stale, however old it is.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

} // namespace chimewell
