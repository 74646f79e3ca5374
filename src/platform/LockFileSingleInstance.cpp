#include "LockFileSingleInstance.h"

#include "RuntimeFolder.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QCryptographicHash>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QSysInfo>

namespace chimewell {

LockFileSingleInstance::LockFileSingleInstance(const QString& appDir, const QString& lockFolder)
{
    QString folder = lockFolder.isEmpty() ? userRuntimeFolder() : lockFolder;
    // Without a folder of the user's own, the shared temporary folder still keeps one copy
    // per application folder.
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    QString canonical = QFileInfo(appDir).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = appDir;
#ifdef Q_OS_WIN
    // One folder, however the letters of its path were typed.
    canonical = canonical.toCaseFolded();
#endif
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256);
    m_path = folder + "/chimewell-" + QString::fromLatin1(hash.toHex().left(16)) + ".lock";
}

bool LockFileSingleInstance::tryAcquire()
{
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(m_path);
    // Only a lock whose process is gone counts as stale, however old it is.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    // A lock that names this very process was left by an earlier one that had the same id:
    // Windows hands process ids out again (Wine the same few, in the same order, after every
    // restart), and to Qt that process still runs.
    qint64 owner = 0;
    QString host;
    QString application;
    if (m_lock->error() == QLockFile::LockFailedError &&
        m_lock->getLockInfo(&owner, &host, &application) &&
        owner == QCoreApplication::applicationPid() &&
        // (Qt writes the computer's name as Windows spells it, in capitals.)
        (host.isEmpty() || host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0))
        return m_lock->removeStaleLockFile() && m_lock->tryLock(0);
    return false;
}

} // namespace chimewell
