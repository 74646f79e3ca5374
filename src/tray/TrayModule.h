#pragma once

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>

class QMenu;
class QWidget;

namespace chimewell {

class DesktopNotifier;
class TrayIcon;

/// `modTray`: the main window's icon in the notification area, its balloons and its removal.
/// Texts are cut to the widths the tray record holds. On a desktop without a notification
/// area the balloon still reaches the user: as a desktop notification, or else as a small
/// notice window that closes by itself.
class TrayModule : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTipLimit = 127;
    static constexpr int kTextLimit = 255;
    static constexpr int kTitleLimit = 63;
    static constexpr int kNoticeMilliseconds = 15000;
    /// The icon kind every caller passes: the information icon.
    static constexpr int NIIF_INFO = 1;

    TrayModule(TrayIcon& icon, DesktopNotifier* notifier, QObject* parent = nullptr);

    void AddTrayIcon(QWidget* window, const QString& iconFile, const QString& tip, qint32 unused,
                     QMenu* menu);
    void ShowTrayBalloon(QWidget* window, const QString& text, const QString& title,
                         qint32 iconKind);
    void RemoveTrayIcon();

    /// Whether hiding the main window leaves the tray icon as a way back.
    bool hasNotificationArea() const;
    /// The fallback notice window while it is shown.
    QWidget* noticeWindow() const { return m_notice; }

signals:
    void leftPressed();

private:
    TrayIcon& m_icon;
    DesktopNotifier* m_notifier;
    QPointer<QWidget> m_notice;
};

} // namespace chimewell
