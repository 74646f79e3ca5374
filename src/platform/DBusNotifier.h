#pragma once

#include "DesktopNotifier.h"

#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QPair>

namespace chimewell {

/// Notifications through org.freedesktop.Notifications on the session bus. Every call is
/// asynchronous, and a slow server is waited for: its notices keep working once it answers.
class DBusNotifier final : public DesktopNotifier
{
    Q_OBJECT
public:
    /// How long a call is waited for before the notice counts as not shown.
    static constexpr int kCallTimeoutMs = 120'000;

    explicit DBusNotifier(QObject* parent = nullptr);

    bool isAvailable() const override;
    void notify(int id, const Notice& notice) override;
    void withdraw(int id) override;

private slots:
    void onActionInvoked(uint serverId, const QString& key);
    void onClosed(uint serverId, uint reason);

private:
    void send(int id, int sending, const Notice& notice, const QStringList& capabilities);
    void taken(int id, int sending, uint serverId);
    void close(uint serverId);

    int m_sendings = 0;
    QHash<int, int> m_latestSending;     // a notice's latest Notify call, until withdrawn
    QHash<int, uint> m_serverIdOf;       // notice -> the server's id, once it answered
    QHash<uint, int> m_noticeOf;         // the server's id -> notice
    int m_unanswered = 0;                // Notify calls still waiting for their answer
    QList<QPair<uint, QString>> m_early; // buttons pressed before Notify's answer arrived
};

} // namespace chimewell
