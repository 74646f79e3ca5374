#include "QtTrayIcon.h"

#include <QtGui/QIcon>
#include <QtGui/QImageReader>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QSystemTrayIcon>

namespace chimewell {
namespace {

QIcon loadIcon16(const QString& path)
{
    // The 16 x 16 image of the icon file, with its larger images beside it for screens that
    // are scaled up; nothing (an empty icon) when it can't be read.
    QImageReader reader(path);
    QIcon icon;
    QImage smallest;
    for (int i = 0; i < qMax(1, reader.imageCount()); ++i) {
        if (!reader.jumpToImage(i) && i > 0)
            break;
        const QImage image = reader.read();
        if (image.isNull())
            continue;
        icon.addPixmap(QPixmap::fromImage(image));
        if (smallest.isNull() || std::abs(image.width() - 16) < std::abs(smallest.width() - 16))
            smallest = image;
    }
    if (!smallest.isNull() && smallest.size() != QSize(16, 16))
        icon.addPixmap(QPixmap::fromImage(
            smallest.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    return icon;
}

} // namespace

QtTrayIcon::QtTrayIcon(QObject* parent) : TrayIcon(parent) {}

QtTrayIcon::~QtTrayIcon() = default;

bool QtTrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::add(const QString& iconPath, const QString& tip, QMenu* menu)
{
    if (!m_icon) {
        m_icon = std::make_unique<QSystemTrayIcon>();
        connect(m_icon.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    // A double click arrives after the first click, which restored already.
                    if (reason == QSystemTrayIcon::Trigger)
                        emit leftPressed();
                });
    }
    // The program's own icon where the file is missing or cannot be read.
    const QIcon icon = loadIcon16(iconPath);
    m_icon->setIcon(icon.isNull() ? QApplication::windowIcon() : icon);
    m_icon->setToolTip(tip);
    m_icon->setContextMenu(menu);
    m_icon->show();
}

void QtTrayIcon::setToolTip(const QString& tip)
{
    if (m_icon)
        m_icon->setToolTip(tip);
}

void QtTrayIcon::showBalloon(const QString& title, const QString& text)
{
    if (m_icon)
        m_icon->showMessage(title, text, QSystemTrayIcon::Information);
}

void QtTrayIcon::remove()
{
    if (m_icon)
        m_icon->hide();
}

bool QtTrayIcon::isShown() const
{
    return m_icon && m_icon->isVisible();
}

} // namespace chimewell
