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
    void setToolTip(const QString& tip) override;
    void showBalloon(const QString& title, const QString& text) override;
    void remove() override;
    bool isShown() const override;

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace chimewell
