// A notification server for the end-to-end scenarios: it owns org.freedesktop.Notifications on
// the session bus, logs every Notify call one line each, and presses a notification's button
// when a key is written to LOG.press. Usage: e2e-notify-server LOG
#include <QtCore/QCoreApplication>
#include <QtCore/QFile>
#include <QtCore/QTextStream>
#include <QtCore/QTimer>
#include <QtDBus/QDBusConnection>

class NotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit NotificationServer(const QString& log) : m_log(log)
    {
        connect(&m_poll, &QTimer::timeout, this, &NotificationServer::checkPress);
        m_poll.start(100);
    }

public slots:
    QStringList GetCapabilities() { return {"body", "body-markup", "actions"}; }
    uint Notify(const QString& app, uint, const QString&, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints,
                int timeout)
    {
        QFile f(m_log);
        f.open(QIODevice::Append);
        QTextStream(&f) << "id=" << ++m_lastId << " app=" << app
                        << " urgency=" << hints.value("urgency", 1).toInt()
                        << " timeout=" << timeout << " actions=" << actions.join(',')
                        << " summary=" << summary << " body=" << body << "\n";
        return m_lastId;
    }
    void CloseNotification(uint id) { emit NotificationClosed(id, 3); }

signals:
    void ActionInvoked(uint id, const QString& key);
    void NotificationClosed(uint id, uint reason);

private:
    void checkPress()
    {
        QFile press(m_log + ".press");
        if (!press.open(QIODevice::ReadOnly))
            return;
        const QString key = QString::fromUtf8(press.readAll()).trimmed();
        press.remove();
        emit ActionInvoked(m_lastId, key);
        emit NotificationClosed(m_lastId, 2);
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
