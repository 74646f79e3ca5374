#include "DBusNotifier.h"

#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusConnectionInterface>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusPendingCallWatcher>
#include <QtDBus/QDBusPendingReply>

namespace chimewell {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
constexpr uint kDismissedByUser = 2;

QDBusMessage call(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kService, method);
}

// Calls `method` and hands its answer to `done` once it arrives.
template <typename Reply, typename Done>
void callLater(QObject* context, const QDBusMessage& message, Done done)
{
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(message, DBusNotifier::kCallTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [done](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         done(QDBusPendingReply<Reply>(*finished));
                     });
}

} // namespace

DBusNotifier::DBusNotifier(QObject* parent) : DesktopNotifier(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // Signals are taken only from the owner of the service name, not from any client.
    bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
                SLOT(onClosed(uint, uint)));
}

bool DBusNotifier::isAvailable() const
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    if (!daemon)
        return false;
    if (daemon->isServiceRegistered(kService).value())
        return true;
    // Many desktops start their notification daemon on the first call.
    return daemon->activatableServiceNames().value().contains(kService);
}

void DBusNotifier::notify(int id, const Notice& notice)
{
    const int sending = ++m_sendings;
    m_latestSending.insert(id, sending);
    ++m_unanswered;
    callLater<QStringList>(this, call(QStringLiteral("GetCapabilities")),
                           [=, this](const QDBusPendingReply<QStringList>& capabilities) {
                               if (capabilities.isValid()) {
                                   send(id, sending, notice, capabilities.value());
                                   return;
                               }
                               --m_unanswered;
                               if (m_latestSending.value(id) == sending) {
                                   m_latestSending.remove(id);
                                   emit failed(id);
                               }
                           });
}

void DBusNotifier::send(int id, int sending, const Notice& notice, const QStringList& capabilities)
{
    QStringList actions;
    if (capabilities.contains(QStringLiteral("actions")))
        for (const NoticeAction& action : notice.actions)
            actions << action.key << action.label;
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(notice.urgent ? 2 : 1)));
    // The program plays its own sound, or, for a missed alarm, deliberately none.
    hints.insert(QStringLiteral("suppress-sound"), true);
    // A server that reads markup would swallow "<b>" and "&c" in a reason.
    const QString body = capabilities.contains(QStringLiteral("body-markup"))
                             ? notice.text.toHtmlEscaped()
                             : notice.text;
    QDBusMessage message = call(QStringLiteral("Notify"));
    message << QStringLiteral("Chimewell") << m_serverIdOf.value(id, 0u)
            << QStringLiteral("chimewell") << notice.title << body << actions << hints
            << qint32(notice.urgent ? 0 : -1);
    callLater<uint>(this, message, [=, this](const QDBusPendingReply<uint>& serverId) {
        --m_unanswered;
        if (serverId.isValid())
            taken(id, sending, serverId.value());
        else if (m_latestSending.value(id) == sending) {
            m_latestSending.remove(id);
            emit failed(id);
        }
        if (m_unanswered == 0)
            m_early.clear();
    });
}

void DBusNotifier::taken(int id, int sending, uint serverId)
{
    if (m_latestSending.value(id) != sending) {
        // Withdrawn, or shown again, while the server took its time.
        if (m_serverIdOf.value(id) != serverId)
            close(serverId);
        return;
    }
    m_serverIdOf.insert(id, serverId);
    m_noticeOf.insert(serverId, id);
    for (qsizetype i = 0; i < m_early.size();) {
        if (m_early[i].first == serverId)
            emit actionInvoked(id, m_early.takeAt(i).second);
        else
            ++i;
    }
}

void DBusNotifier::withdraw(int id)
{
    m_latestSending.remove(id);
    if (const uint serverId = m_serverIdOf.take(id)) {
        m_noticeOf.remove(serverId);
        close(serverId);
    }
}

void DBusNotifier::close(uint serverId)
{
    QDBusMessage message = call(QStringLiteral("CloseNotification"));
    message << serverId;
    QDBusConnection::sessionBus().send(message);
}

void DBusNotifier::onActionInvoked(uint serverId, const QString& key)
{
    if (const auto found = m_noticeOf.constFind(serverId); found != m_noticeOf.constEnd())
        emit actionInvoked(*found, key);
    else if (m_unanswered > 0)
        m_early.append({serverId, key}); // perhaps a notice whose Notify is still unanswered
}

void DBusNotifier::onClosed(uint serverId, uint reason)
{
    const auto found = m_noticeOf.constFind(serverId);
    if (found == m_noticeOf.constEnd())
        return;
    const int id = *found;
    m_noticeOf.erase(found);
    m_serverIdOf.remove(id);
    if (reason == kDismissedByUser)
        emit dismissed(id);
}

} // namespace chimewell
