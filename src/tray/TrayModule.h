#pragma once

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>

class QMenu;
class QWidget;

namespace chimewell {

class DesktopNotifier;
class TrayIcon;
struct Notice;

/// The main window's icon in the notification area, its balloons and its removal.
/// Texts are cut to the widths the tray record holds. A balloon goes to the desktop's
/// notification service where there is one, so that it can stay and carry buttons and its
/// text is never read as markup; else it is drawn on the icon, and on a desktop without a
/// notification area it is a small notice window that closes by itself.
class TrayModule : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTipLimit = 127;
    static constexpr int kTextLimit = 255;
    static constexpr int kTitleLimit = 63;
    static constexpr int kNoticeMilliseconds = 15000;

    TrayModule(TrayIcon& icon, DesktopNotifier* notifier, QObject* parent = nullptr);

    void addIcon(const QString& iconFile, const QString& tip, QMenu* menu);
    /// A passing message with the information icon.
    void showBalloon(const QString& text, const QString& title);
    void removeIcon();
    void setToolTip(const QString& tip);

    /// Tells the user `notice` the best way the desktop offers. True when its buttons are
    /// shown on it; without them the caller offers the same choices another way.
    bool tell(const Notice& notice);
    /// Takes the last notification away, where the desktop's service showed it.
    void withdraw();

    /// Whether hiding the main window leaves the tray icon as a way back.
    bool hasNotificationArea() const;
    /// The fallback notice window while it is shown.
    QWidget* noticeWindow() const { return m_notice; }

signals:
    void leftPressed();
    /// A button of the last notification was pressed.
    void actionInvoked(const QString& key);

private:
    TrayIcon& m_icon;
    DesktopNotifier* m_notifier;
    QPointer<QWidget> m_notice;
};

} // namespace chimewell
