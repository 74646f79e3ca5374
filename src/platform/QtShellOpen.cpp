#include "QtShellOpen.h"

#include <QtCore/QDir>
#include <QtGui/QDesktopServices>

namespace chimewell {

QUrl urlForTarget(const QString& target)
{
    const QString text = target.trimmed();
    if (text.isEmpty())
        return {};
    // Checked before the scheme, so that "C:\file.doc" is a file and not the scheme "c".
    if (QDir::isAbsolutePath(text))
        return QUrl::fromLocalFile(text);
    const QUrl url(text, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromUserInput(text);
}

void QtShellOpen::open(const QString& target)
{
    const QUrl url = urlForTarget(target);
    // QDesktopServices starts the handler as a separate process with an argument list, never
    // through a shell command line, and does not wait for it.
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

} // namespace chimewell
