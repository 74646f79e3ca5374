#include "RuntimeFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace chimewell {
namespace {

// A folder that only this user can enter: not one that another user made to catch the lock.
bool isPrivateFolder(const QString& path, uid_t user)
{
    struct stat info
    {
    };
    return ::lstat(path.toLocal8Bit().constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == user && (info.st_mode & 0077) == 0;
}

bool makePrivateFolder(const QString& path, uid_t user)
{
    ::mkdir(path.toLocal8Bit().constData(), 0700);
    return isPrivateFolder(path, user);
}

} // namespace

QString userRuntimeFolder()
{
    // The session's runtime folder, which logind makes for the user and never ages; else one
    // of the user's own in /tmp; else the user's cache folder.
    const uid_t user = ::getuid();
    const QString session = QStringLiteral("/run/user/%1").arg(user);
    if (isPrivateFolder(session, user))
        return session;
    const QString temporary = QStringLiteral("/tmp/chimewell-%1").arg(user);
    if (makePrivateFolder(temporary, user))
        return temporary;
    if (const passwd* entry = ::getpwuid(user); entry && entry->pw_dir) {
        const QString cache = QString::fromLocal8Bit(entry->pw_dir) + QStringLiteral("/.cache");
        ::mkdir(cache.toLocal8Bit().constData(), 0700);
        if (makePrivateFolder(cache + QStringLiteral("/chimewell"), user))
            return cache + QStringLiteral("/chimewell");
    }
    return {};
}

} // namespace chimewell
