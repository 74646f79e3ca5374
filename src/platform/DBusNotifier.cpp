#include "DBusNotifier.h"

#include <QtCore/QDateTime>
#include <QtCore/QFileInfo>
#include <QtCore/QUrl>
#include <QtDBus/QDBusArgument>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusConnectionInterface>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusMetaType>
#include <QtDBus/QDBusPendingCallWatcher>
#include <QtDBus/QDBusPendingReply>
#include <QtDBus/QDBusServiceWatcher>
#include <QtGui/QImage>

namespace chimewell {

/// A picture as the image-data hint carries it: (iiibiiay), RGBA bytes.
struct NoticeImage
{
    int width = 0;
    int height = 0;
    int rowStride = 0;
    bool hasAlpha = true;
    int bitsPerSample = 8;
    int channels = 4;
    QByteArray data;
};

QDBusArgument& operator<<(QDBusArgument& out, const NoticeImage& image)
{
    out.beginStructure();
    out << image.width << image.height << image.rowStride << image.hasAlpha << image.bitsPerSample
        << image.channels << image.data;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, NoticeImage& image)
{
    in.beginStructure();
    in >> image.width >> image.height >> image.rowStride >> image.hasAlpha >> image.bitsPerSample >>
        image.channels >> image.data;
    in.endStructure();
    return in;
}

} // namespace chimewell

Q_DECLARE_METATYPE(chimewell::NoticeImage)

namespace chimewell {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
constexpr uint kDismissedByUser = 2;
// A server that closes an urgent notice again this soon after showing it, this often in a
// row, will not keep it: the notice is told another way.
constexpr qint64 kQuickCloseMs = 2000;
constexpr int kQuickClosesAllowed = 3;

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

DBusNotifier::DBusNotifier(const QString& iconFile, QObject* parent)
    : DesktopNotifier(parent), m_iconFile(iconFile)
{
    qDBusRegisterMetaType<NoticeImage>();
    const QImage picture = QImage(iconFile)
                               .convertToFormat(QImage::Format_RGBA8888)
                               .scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (!picture.isNull()) {
        NoticeImage image;
        image.width = picture.width();
        image.height = picture.height();
        image.rowStride = int(picture.bytesPerLine());
        image.data =
            QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
        m_image = QVariant::fromValue(image);
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // Signals are taken only from the owner of the service name, not from any client.
    bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
                SLOT(onClosed(uint, uint)));
    // A server that restarts forgets every notice: once its name has settled, the urgent
    // ones are shown again (or told another way, when no server comes back).
    m_owner =
        new QDBusServiceWatcher(kService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    m_ownerSettles.setSingleShot(true);
    connect(m_owner, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) {
                m_ownerSettles.start(owner.isEmpty() ? kServerBackMs : 500);
            });
    connect(&m_ownerSettles, &QTimer::timeout, this, &DBusNotifier::showAgain);
}

DBusNotifier::~DBusNotifier()
{
    for (const QDBusPendingCall& closing : std::as_const(m_closing)) {
        QDBusPendingCall pending = closing;
        pending.waitForFinished();
    }
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
    m_shown.insert(id, notice);
    m_waiting.insert(sending);
    // A server that does not answer in time is not waited for.
    QTimer::singleShot(kAnswerMs, this, [this, id, sending] {
        if (m_waiting.contains(sending) && m_latestSending.value(id) == sending)
            giveUp(id);
    });
    callLater<QStringList>(this, call(QStringLiteral("GetCapabilities")),
                           [=, this](const QDBusPendingReply<QStringList>& capabilities) {
                               if (capabilities.isValid()) {
                                   send(id, sending, notice, capabilities.value());
                                   return;
                               }
                               callFailed(id, sending, capabilities.error());
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
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("org.chimewell.Chimewell"));
    if (m_image.isValid())
        hints.insert(QStringLiteral("image-data"), m_image);
    // A server that reads markup would swallow "<b>" and "&c" in a reason.
    const QString body = capabilities.contains(QStringLiteral("body-markup"))
                             ? notice.text.toHtmlEscaped()
                             : notice.text;
    // The program's picture by its file, wherever the program's folder is.
    const QString icon =
        QFileInfo::exists(m_iconFile)
            ? QUrl::fromLocalFile(QFileInfo(m_iconFile).absoluteFilePath()).toString()
            : QStringLiteral("chimewell");
    QDBusMessage message = call(QStringLiteral("Notify"));
    message << QStringLiteral("Chimewell") << m_serverIdOf.value(id, 0u) << icon << notice.title
            << body << actions << hints << qint32(notice.urgent ? 0 : -1);
    callLater<uint>(this, message, [=, this](const QDBusPendingReply<uint>& serverId) {
        if (serverId.isValid()) {
            m_waiting.remove(sending);
            taken(id, sending, serverId.value());
        } else {
            callFailed(id, sending, serverId.error());
        }
        if (m_waiting.isEmpty()) {
            m_early.clear();
            m_earlyCloses.clear();
        }
    });
}

void DBusNotifier::taken(int id, int sending, uint serverId)
{
    if (m_latestSending.value(id) != sending) {
        // Withdrawn, shown again, or told another way while the server took its time.
        if (m_serverIdOf.value(id) != serverId)
            close(serverId);
        return;
    }
    m_serverIdOf.insert(id, serverId);
    m_noticeOf.insert(serverId, id);
    m_shownAgain.remove(id);
    m_shownAt.insert(id, QDateTime::currentMSecsSinceEpoch());
    for (qsizetype i = 0; i < m_early.size();) {
        if (m_early[i].first == serverId)
            emit actionInvoked(id, m_early.takeAt(i).second);
        else
            ++i;
    }
    // A server may expire or close a notice before its answer to Notify reaches us.
    QList<uint> reasons;
    for (qsizetype i = 0; i < m_earlyCloses.size();) {
        if (m_earlyCloses[i].first == serverId)
            reasons << m_earlyCloses.takeAt(i).second;
        else
            ++i;
    }
    for (const uint reason : reasons)
        onClosed(serverId, reason);
}

void DBusNotifier::callFailed(int id, int sending, const QDBusError& error)
{
    m_waiting.remove(sending);
    if (m_latestSending.value(id) != sending)
        return;
    // A server that went away during the call (it restarts) gets the notice again once a
    // server is back; only a second failure, or no server at all, tells it another way.
    const bool serverGone = error.type() == QDBusError::NoReply ||
                            error.type() == QDBusError::Disconnected ||
                            error.type() == QDBusError::ServiceUnknown;
    if (serverGone && !m_shownAgain.contains(id)) {
        m_latestSending.remove(id);
        m_serverIdOf.remove(id);
        if (!m_ownerSettles.isActive())
            m_ownerSettles.start(kServerBackMs);
        return;
    }
    giveUp(id);
}

void DBusNotifier::giveUp(int id)
{
    m_shownAgain.remove(id);
    m_latestSending.remove(id);
    m_shown.remove(id);
    emit failed(id);
}

void DBusNotifier::withdraw(int id)
{
    m_latestSending.remove(id);
    m_shown.remove(id);
    m_shownAgain.remove(id);
    m_shownAt.remove(id);
    m_quickCloses.remove(id);
    if (const uint serverId = m_serverIdOf.take(id)) {
        m_noticeOf.remove(serverId);
        close(serverId);
    }
}

void DBusNotifier::close(uint serverId)
{
    QDBusMessage message = call(QStringLiteral("CloseNotification"));
    message << serverId;
    m_closing.removeIf([](const QDBusPendingCall& c) { return c.isFinished(); });
    m_closing << QDBusConnection::sessionBus().asyncCall(message, 1000);
}

void DBusNotifier::showAgain()
{
    // Whatever the server (or its successor) still shows of ours is unknown now.
    m_noticeOf.clear();
    m_serverIdOf.clear();
    const QList<int> shown = m_shown.keys();
    for (const int id : shown) {
        if (!m_shown.value(id).urgent) {
            m_shown.remove(id); // a passing notice is not worth showing again
            continue;
        }
        m_shownAgain.insert(id);
        notify(id, m_shown.value(id));
    }
}

void DBusNotifier::onActionInvoked(uint serverId, const QString& key)
{
    if (const auto found = m_noticeOf.constFind(serverId); found != m_noticeOf.constEnd())
        emit actionInvoked(*found, key);
    else if (!m_waiting.isEmpty())
        m_early.append({serverId, key}); // perhaps a notice whose Notify is still unanswered
}

void DBusNotifier::onClosed(uint serverId, uint reason)
{
    const auto found = m_noticeOf.constFind(serverId);
    if (found == m_noticeOf.constEnd()) {
        if (!m_waiting.isEmpty())
            m_earlyCloses.append({serverId, reason}); // perhaps a notice not answered yet
        return;
    }
    const int id = *found;
    m_noticeOf.erase(found);
    m_serverIdOf.remove(id);
    if (reason == kDismissedByUser) {
        m_shown.remove(id);
        m_shownAt.remove(id);
        m_quickCloses.remove(id);
        emit dismissed(id);
        return;
    }
    // Expired, or closed by someone else: an urgent notice stays until the user acts on it.
    const Notice notice = m_shown.value(id);
    if (!notice.urgent) {
        m_shown.remove(id);
        return;
    }
    const bool quick = QDateTime::currentMSecsSinceEpoch() - m_shownAt.value(id) < kQuickCloseMs;
    const int closes = quick ? m_quickCloses.value(id) + 1 : 0;
    m_quickCloses.insert(id, closes);
    if (closes >= kQuickClosesAllowed) {
        giveUp(id);
        return;
    }
    notify(id, notice);
}

std::unique_ptr<DesktopNotifier> makeDesktopNotifier(const QString& iconFile)
{
    return std::make_unique<DBusNotifier>(iconFile);
}

} // namespace chimewell
