// A notification server for the end-to-end scenarios: it owns org.freedesktop.Notifications on
// the session bus, logs every Notify call one line each, and acts on commands written to
// LOG.press: "action ID KEY" presses a button, "close ID REASON" closes a notification (ID
// may be "last"). NOTIFY_DELAY_MS delays every answer to Notify; NOTIFY_HANG=1 never answers
// it; NOTIFY_CRASH=1 makes the server die inside the first Notify call. CloseNotification
// calls are logged too ("closed id=N"). Usage: e2e-notify-server LOG
#include <QtCore/QCoreApplication>
#include <QtCore/QFile>
#include <QtCore/QTextStream>
#include <QtCore/QTimer>
#include <QtDBus/QDBusArgument>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>
#include <unistd.h>

class NotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit NotificationServer(const QString& log) : m_log(log)
    {
        connect(&m_poll, &QTimer::timeout, this, &NotificationServer::checkCommands);
        m_poll.start(100);
    }

public slots:
    QStringList GetCapabilities() { return {"body", "body-markup", "actions"}; }
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints,
                int timeout, const QDBusMessage& message)
    {
        if (qEnvironmentVariableIntValue("NOTIFY_CRASH"))
            ::_exit(1);
        const uint id = replaces ? replaces : ++m_lastId;
        QFile f(m_log);
        f.open(QIODevice::Append);
        // The picture: its file, and the size of the image-data hint's image.
        QString image = QStringLiteral("none");
        if (hints.contains("image-data")) {
            const QDBusArgument data = hints.value("image-data").value<QDBusArgument>();
            int width = 0, height = 0;
            data.beginStructure();
            data >> width >> height;
            image = QString::number(width) + 'x' + QString::number(height);
        }
        QTextStream(&f) << "id=" << id << " app=" << app << " icon=" << icon << " image=" << image
                        << " urgency=" << hints.value("urgency", 1).toInt()
                        << " timeout=" << timeout << " actions=" << actions.join(',')
                        << " summary=" << summary << " body=" << body << "\n";
        if (qEnvironmentVariableIntValue("NOTIFY_HANG")) {
            message.setDelayedReply(true); // and never answered
            return 0;
        }
        if (const int delay = qEnvironmentVariableIntValue("NOTIFY_DELAY_MS")) {
            message.setDelayedReply(true);
            QTimer::singleShot(delay, this, [message, id] {
                QDBusConnection::sessionBus().send(message.createReply(id));
            });
        }
        return id;
    }
    void CloseNotification(uint id)
    {
        QFile f(m_log);
        f.open(QIODevice::Append);
        QTextStream(&f) << "closed id=" << id << "\n";
        emit NotificationClosed(id, 3);
    }

signals:
    void ActionInvoked(uint id, const QString& key);
    void NotificationClosed(uint id, uint reason);

private:
    void checkCommands()
    {
        QFile commands(m_log + ".press");
        if (!commands.open(QIODevice::ReadOnly))
            return;
        const QStringList lines = QString::fromUtf8(commands.readAll()).split('\n');
        commands.remove();
        for (const QString& line : lines) {
            const QStringList words = line.split(' ', Qt::SkipEmptyParts);
            if (words.size() != 3)
                continue;
            const uint id = words[1] == "last" ? m_lastId : words[1].toUInt();
            if (words[0] == "action")
                emit ActionInvoked(id, words[2]);
            else if (words[0] == "close")
                emit NotificationClosed(id, words[2].toUInt());
        }
    }

    QString m_log;
    uint m_lastId = 0;
    QTimer m_poll;
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    NotificationServer server(args[1]);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/org/freedesktop/Notifications", &server,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) ||
        !bus.registerService("org.freedesktop.Notifications"))
        return 1;
    return app.exec();
}

#include "notifyserver.moc"
