#include "QtTrayIcon.h"

#include <QtGui/QIcon>
#include <QtGui/QImageReader>
#include <QtWidgets/QMenu>
#include <QtWidgets/QSystemTrayIcon>

namespace chimewell {
namespace {

QIcon loadIcon16(const QString& path)
{
    // The 16 x 16 image of the icon file; nothing (an empty icon) when it can't be read.
    QImageReader reader(path);
    QImage best;
    for (int i = 0; i < qMax(1, reader.imageCount()); ++i) {
        if (!reader.jumpToImage(i) && i > 0)
            break;
        QImage image = reader.read();
        if (image.isNull())
            continue;
        if (best.isNull() || std::abs(image.width() - 16) < std::abs(best.width() - 16))
            best = image;
    }
    if (best.isNull())
        return {};
    if (best.size() != QSize(16, 16))
        best = best.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QIcon(QPixmap::fromImage(best));
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
    m_icon->setIcon(loadIcon16(iconPath));
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
