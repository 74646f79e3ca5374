#pragma once

#include "TrayIcon.h"

namespace chimewell {

/// Notifications through org.freedesktop.Notifications on the session bus.
class DBusNotifier final : public DesktopNotifier
{
    Q_OBJECT
public:
    explicit DBusNotifier(QObject* parent = nullptr);

    bool notify(const Notice& notice) override;
    bool showsActions() const override { return m_showsActions; }
    void withdraw() override;

private slots:
    void onActionInvoked(uint id, const QString& key);
    void onClosed(uint id, uint reason);

private:
    uint m_lastId = 0;
    bool m_showsActions = false;
};

} // namespace chimewell
