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
// Nobody waits this long for a notification: past it the alarm goes on without one.
constexpr int kCallTimeoutMs = 2000;

QDBusMessage call(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kService, method);
}

bool serviceAvailable(QDBusConnection& bus)
{
    QDBusConnectionInterface* daemon = bus.interface();
    if (!daemon)
        return false;
    if (daemon->isServiceRegistered(kService).value())
        return true;
    // Many desktops start their notification daemon on the first call.
    return daemon->activatableServiceNames().value().contains(kService);
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

bool DBusNotifier::notify(const Notice& notice)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !serviceAvailable(bus))
        return false;
    const QDBusMessage reply =
        bus.call(call(QStringLiteral("GetCapabilities")), QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return false;
    const QStringList capabilities = reply.arguments().value(0).toStringList();

    QStringList actions;
    m_showsActions = !notice.actions.isEmpty() && capabilities.contains(QStringLiteral("actions"));
    if (m_showsActions)
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
    message << QStringLiteral("Chimewell") << uint(0) << QStringLiteral("chimewell") << notice.title
            << body << actions << hints << qint32(notice.urgent ? 0 : -1);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<uint> id = *finished;
                if (id.isValid())
                    m_lastId = id.value();
                finished->deleteLater();
            });
    return true;
}

void DBusNotifier::withdraw()
{
    if (m_lastId == 0)
        return;
    QDBusMessage message = call(QStringLiteral("CloseNotification"));
    message << m_lastId;
    QDBusConnection::sessionBus().send(message);
    m_lastId = 0;
}

void DBusNotifier::onActionInvoked(uint id, const QString& key)
{
    if (id != 0 && id == m_lastId)
        emit actionInvoked(key);
}

void DBusNotifier::onClosed(uint id, uint)
{
    if (id == m_lastId)
        m_lastId = 0;
}

} // namespace chimewell
