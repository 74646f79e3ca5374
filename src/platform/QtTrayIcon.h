#pragma once

#include "TrayIcon.h"

#include <memory>

class QSystemTrayIcon;

namespace chimewell {

class QtTrayIcon final : public TrayIcon
{
    Q_OBJECT
public:
    explicit QtTrayIcon(QObject* parent = nullptr);
    ~QtTrayIcon() override;

    bool isAvailable() const override;
    void add(const QString& iconPath, const QString& tip, QMenu* menu) override;
    void showBalloon(const QString& title, const QString& text) override;
    void remove() override;
    bool isShown() const override;

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

class DBusNotifier final : public DesktopNotifier
{
public:
    bool notify(const QString& title, const QString& text) override;
};

} // namespace chimewell
