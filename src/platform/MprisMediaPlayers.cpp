#include "MediaPlayers.h"

#include <QtCore/QHash>
#include <QtCore/QSet>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusConnectionInterface>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusPendingCallWatcher>
#include <QtDBus/QDBusPendingReply>
#include <QtDBus/QDBusVariant>

namespace chimewell {
namespace {

const QString kPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
/// A player that has not answered in this long is given up on.
constexpr int kCallTimeoutMs = 2000;

/// One player that was paused for a ring: it watches the player's state, so that a player the
/// user started or stopped meanwhile is left as the user left it.
class PausedPlayer : public QObject
{
    Q_OBJECT
public:
    PausedPlayer(const QString& service, QObject* parent) : QObject(parent), m_service(service)
    {
        QDBusConnection::sessionBus().connect(
            service, kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
            SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    }
    ~PausedPlayer() override
    {
        QDBusConnection::sessionBus().disconnect(
            m_service, kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
            SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    }
    const QString& service() const { return m_service; }
    bool touched() const { return m_touched; }

private slots:
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                             const QStringList&)
    {
        if (interface != kPlayer)
            return;
        const QVariant status = changed.value(QStringLiteral("PlaybackStatus"));
        // Its own pause is told as "Paused"; anything else came from someone else.
        if (status.isValid() && status.toString() != QLatin1String("Paused"))
            m_touched = true;
    }

private:
    QString m_service;
    bool m_touched = false;
};

/// The media players on the session bus that offer the desktop's media player interface
/// (MPRIS). Every call is asynchronous with a time limit, so a player that hangs or leaves the
/// bus holds nothing up.
class MprisMediaPlayers final : public MediaPlayers
{
public:
    void pausePlaying() override
    {
        ++m_round;
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return;
        const QDBusMessage list = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
        const int round = m_round;
        whenAnswered(bus.asyncCall(list, kCallTimeoutMs), [this, round](const QDBusMessage& reply) {
            if (round != m_round)
                return; // the ring ended meanwhile
            for (const QString& name : reply.arguments().value(0).toStringList())
                if (name.startsWith(kPrefix))
                    pauseIfPlaying(name, round);
        });
    }

    void resumePaused() override
    {
        ++m_round;
        for (PausedPlayer* player : std::as_const(m_paused)) {
            if (!player->touched())
                call(player->service(), QStringLiteral("Play"));
            player->deleteLater();
        }
        m_paused.clear();
    }

private:
    void pauseIfPlaying(const QString& service, int round)
    {
        QDBusMessage get =
            QDBusMessage::createMethodCall(service, kPath, kProperties, QStringLiteral("Get"));
        get << kPlayer << QStringLiteral("PlaybackStatus");
        whenAnswered(QDBusConnection::sessionBus().asyncCall(get, kCallTimeoutMs),
                     [this, service, round](const QDBusMessage& reply) {
                         const QString status =
                             reply.arguments().value(0).value<QDBusVariant>().variant().toString();
                         if (round != m_round || status != QLatin1String("Playing"))
                             return;
                         m_paused << new PausedPlayer(service, this);
                         call(service, QStringLiteral("Pause"));
                     });
    }

    void call(const QString& service, const QString& method)
    {
        const QDBusMessage message =
            QDBusMessage::createMethodCall(service, kPath, kPlayer, method);
        whenAnswered(QDBusConnection::sessionBus().asyncCall(message, kCallTimeoutMs),
                     [](const QDBusMessage&) {});
    }

    template <typename Then> void whenAnswered(const QDBusPendingCall& call, Then then)
    {
        auto* watcher = new QDBusPendingCallWatcher(call, this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [watcher, then](QDBusPendingCallWatcher*) {
                    watcher->deleteLater();
                    if (!watcher->isError())
                        then(watcher->reply());
                });
    }

    QList<PausedPlayer*> m_paused;
    int m_round = 0; // counts pauses and resumes: a late answer of an earlier one is dropped
};

} // namespace

std::unique_ptr<MediaPlayers> makeMediaPlayers()
{
    return std::make_unique<MprisMediaPlayers>();
}

} // namespace chimewell

#include "MprisMediaPlayers.moc"
