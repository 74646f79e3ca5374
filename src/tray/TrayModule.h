#pragma once

#include "platform/DesktopNotifier.h"

#include <QtCore/QHash>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>

class QMenu;
class QWidget;

namespace chimewell {

class NoticeWindow;
class TrayIcon;

/// The main window's icon in the notification area and the notices the program gives. A notice
/// goes to the desktop's notification service where there is one, so that it can stay and
/// carry buttons; else, or when the service fails it, it is a balloon on the icon; and on a
/// desktop without a notification area, or once the balloon of an urgent notice has gone, it
/// is a small window of its own. Texts are cut to the widths the tray record holds.
class TrayModule : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTipLimit = 127;
    static constexpr int kTextLimit = 255;
    static constexpr int kTitleLimit = 63;
    /// How long a notice window that is not urgent stays.
    static constexpr int kNoticeMilliseconds = 15000;
    /// Desktops take a balloon away after about this long.
    static constexpr int kBalloonMilliseconds = 10000;

    TrayModule(TrayIcon& icon, DesktopNotifier* notifier, QObject* parent = nullptr);
    ~TrayModule() override;

    void addIcon(const QString& iconFile, const QString& tip, QMenu* menu);
    void removeIcon();
    void setToolTip(const QString& tip);
    /// Whether hiding the main window leaves the tray icon as a way back.
    bool hasNotificationArea() const;

    /// Tells the user `notice` the best way the desktop offers, and returns its number. An
    /// urgent notice stays until it is withdrawn or the user closes it.
    int tell(const Notice& notice);
    /// Shows `notice` in place of notice `id`.
    void retell(int id, const Notice& notice);
    /// Takes notice `id` away, wherever it shows.
    void withdraw(int id);
    /// The notice window while one is shown.
    QWidget* noticeWindow() const;

signals:
    void leftPressed();
    /// A button of notice `id` was pressed.
    void actionInvoked(int id, const QString& key);
    /// The user closed notice `id`.
    void dismissed(int id);

private:
    void show(int id);
    void showOnIcon(int id);
    void showWindow(int id);

    TrayIcon& m_icon;
    DesktopNotifier* m_notifier;
    QHash<int, Notice> m_notices; // the urgent notices, and the last passing one
    int m_lastId = 0;
    int m_lastPassing = 0;
    QPointer<NoticeWindow> m_window;
};

} // namespace chimewell
