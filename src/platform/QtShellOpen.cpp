#include "QtShellOpen.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtGui/QDesktopServices>

namespace chimewell {

QUrl urlForTarget(const QString& target, const QString& workingDir, const QString& homeDir)
{
    const QString text = target.trimmed();
    if (text.isEmpty())
        return {};
    // Checked before the scheme, so that "C:\file.doc" is a file and not the scheme "c".
    if (QDir::isAbsolutePath(text))
        return QUrl::fromLocalFile(QDir::cleanPath(text));
    if (text.startsWith(QStringLiteral("~/")) || text == QStringLiteral("~"))
        return QUrl::fromLocalFile(QDir::cleanPath(homeDir + text.mid(1)));
    const QUrl url(text, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    const QFileInfo relative(QDir(workingDir), text);
    if (relative.exists())
        return QUrl::fromLocalFile(relative.absoluteFilePath());
    return QUrl::fromUserInput(text);
}

void QtShellOpen::open(const QString& target)
{
    const QUrl url = urlForTarget(target, QDir::currentPath(), QDir::homePath());
    // QDesktopServices starts the handler as a separate process with an argument list, never
    // through a shell command line, and does not wait for it.
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

} // namespace chimewell
