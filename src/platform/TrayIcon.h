#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>

class QMenu;

namespace chimewell {

/// The program's one icon in the desktop's notification area.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~TrayIcon() override = default;

    /// Whether the desktop has a notification area to show the icon in.
    virtual bool isAvailable() const = 0;
    /// Shows the icon from `iconPath` (the program's window icon when it can't be read) with a
    /// tooltip; `menu` pops up on a right press.
    virtual void add(const QString& iconPath, const QString& tip, QMenu* menu) = 0;
    /// Replaces the tooltip of the icon that was added.
    virtual void setToolTip(const QString& tip) = 0;
    /// A balloon with the information icon on the icon.
    virtual void showBalloon(const QString& title, const QString& text) = 0;
    virtual void remove() = 0;
    virtual bool isShown() const = 0;

signals:
    /// A left press on the icon.
    void leftPressed();
};

} // namespace chimewell
