#pragma once

#include <QtCore/QList>
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
    /// Shows the icon from `iconPath` (an empty icon when it can't be read) with a tooltip;
    /// `menu` pops up on a right press.
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

/// A button on a notification: the key it reports, and its label.
struct NoticeAction
{
    QString key;
    QString label;
};

/// What a notification says and how insistently.
struct Notice
{
    QString title;
    QString text;
    /// Stays until dismissed, where the desktop allows it (an alarm, a missed alarm).
    bool urgent = false;
    QList<NoticeAction> actions;
};

/// The desktop's notification service (org.freedesktop.Notifications on Linux).
class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~DesktopNotifier() override = default;

    /// Shows a notification; false when no notification service answered. The text is shown
    /// exactly as given, never read as markup.
    virtual bool notify(const Notice& notice) = 0;
    /// Whether the service shows the buttons of the last notification.
    virtual bool showsActions() const = 0;
    /// Takes the last notification away, if it still shows.
    virtual void withdraw() = 0;

signals:
    /// A button of the last notification was pressed.
    void actionInvoked(const QString& key);
};

} // namespace chimewell
