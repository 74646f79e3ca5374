#pragma once

#include "alarm/NoticeBoard.h"

#include <QtCore/QHash>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>

class QMenu;
class QWidget;

namespace chimewell {

class DesktopNotifier;
class NoticeWindow;
class TrayIcon;

/// The main window's icon in the notification area and the notices the program gives. A notice
/// goes to the desktop's notification service where there is one, so that it can stay and
/// carry buttons; else (on Windows always), or when the service fails it, it is a balloon on
/// the icon. An urgent notice that no service took is at the same time a row of the program's
/// own notice window, which lists every such notice with its own buttons until it is acted on:
/// a balloon has no buttons and goes by itself, and on a StatusNotifier tray it is itself a
/// notification, sent to the service that just failed. On a desktop without a notification
/// area every notice is a row of that window. A balloon's texts are cut to the widths the tray
/// record holds.
class TrayModule : public NoticeBoard
{
    Q_OBJECT
public:
    static constexpr int kTipLimit = 127;
    static constexpr int kTextLimit = 255;
    static constexpr int kTitleLimit = 63;
    /// How long a notice that is not urgent stays in the notice window.
    static constexpr int kNoticeMilliseconds = 15000;

    TrayModule(TrayIcon& icon, DesktopNotifier* notifier, QObject* parent = nullptr);
    ~TrayModule() override;

    void addIcon(const QString& iconFile, const QString& tip, QMenu* menu);
    void removeIcon();
    void setToolTip(const QString& tip);
    /// Whether hiding the main window leaves the tray icon as a way back.
    bool hasNotificationArea() const;

    int tell(const Notice& notice) override;
    void retell(int id, const Notice& notice) override;
    void withdraw(int id) override;
    /// The notice window while it shows.
    QWidget* noticeWindow() const;

signals:
    void leftPressed();

private:
    void show(int id);
    void showOnIcon(int id);
    void showInWindow(int id);

    TrayIcon& m_icon;
    DesktopNotifier* m_notifier;
    QHash<int, Notice> m_notices; // the urgent notices, and the last passing one
    int m_lastId = 0;
    int m_lastPassing = 0;
    QPointer<NoticeWindow> m_window;
};

} // namespace chimewell
