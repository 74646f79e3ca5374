// A media player for the end-to-end scenarios: it owns org.mpris.MediaPlayer2.e2e NAME on the
// session bus with the player interface (PlaybackStatus, Play, Pause, PlayPause, Stop), tells
// every change of its state as players do, and logs each call it gets, one line each ("Pause",
// "Play"). It starts playing. With MPRIS_HANG=1 it never answers anything. Usage:
// e2e-mpris-player NAME LOG
#include <QtCore/QCoreApplication>
#include <QtCore/QFile>
#include <QtCore/QTextStream>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusVariant>
#include <QtDBus/QDBusVirtualObject>

namespace {

const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");

class Player : public QDBusVirtualObject
{
public:
    explicit Player(const QString& log) : m_log(log) {}

    QString introspect(const QString&) const override
    {
        return QStringLiteral(
            "<interface name=\"org.mpris.MediaPlayer2.Player\">"
            "<method name=\"Play\"/><method name=\"Pause\"/><method name=\"PlayPause\"/>"
            "<method name=\"Stop\"/>"
            "<property name=\"PlaybackStatus\" type=\"s\" access=\"read\"/></interface>");
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override
    {
        log(message.member());
        if (qEnvironmentVariableIntValue("MPRIS_HANG")) {
            message.setDelayedReply(true); // and never answered
            return true;
        }
        const QString member = message.member();
        if (message.interface() == kProperties && member == QLatin1String("Get")) {
            bus.send(message.createReply(QVariant::fromValue(QDBusVariant(m_status))));
            return true;
        }
        if (message.interface() == kProperties && member == QLatin1String("GetAll")) {
            bus.send(
                message.createReply(QVariantMap{{QStringLiteral("PlaybackStatus"), m_status}}));
            return true;
        }
        if (member == QLatin1String("Play"))
            setStatus(QStringLiteral("Playing"), bus);
        else if (member == QLatin1String("Pause"))
            setStatus(QStringLiteral("Paused"), bus);
        else if (member == QLatin1String("Stop"))
            setStatus(QStringLiteral("Stopped"), bus);
        else if (member == QLatin1String("PlayPause"))
            setStatus(m_status == QLatin1String("Playing") ? QStringLiteral("Paused")
                                                           : QStringLiteral("Playing"),
                      bus);
        else
            return false;
        bus.send(message.createReply());
        return true;
    }

private:
    void setStatus(const QString& status, const QDBusConnection& bus)
    {
        if (status == m_status)
            return;
        m_status = status;
        QDBusMessage changed =
            QDBusMessage::createSignal(kPath, kProperties, QStringLiteral("PropertiesChanged"));
        changed << kPlayer << QVariantMap{{QStringLiteral("PlaybackStatus"), status}}
                << QStringList();
        bus.send(changed);
    }
    void log(const QString& line) const
    {
        QFile f(m_log);
        if (f.open(QIODevice::Append))
            QTextStream(&f) << line << "\n";
    }

    QString m_log;
    QString m_status = QStringLiteral("Playing");
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    QDBusConnection bus = QDBusConnection::sessionBus();
    Player player(QString::fromLocal8Bit(argv[2]));
    if (!bus.registerVirtualObject(kPath, &player) ||
        !bus.registerService(QStringLiteral("org.mpris.MediaPlayer2.e2e") +
                             QString::fromLocal8Bit(argv[1])))
        return 1;
    return app.exec();
}
