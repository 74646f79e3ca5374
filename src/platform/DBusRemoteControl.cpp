// The program's service on the session bus: org.chimewell.Chimewell at /org/chimewell/Chimewell
// with the interface org.chimewell.Chimewell1.

#include "RemoteControl.h"

#include <QtDBus/QDBusArgument>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusConnectionInterface>
#include <QtDBus/QDBusContext>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusMetaType>

namespace chimewell {

namespace {

const QString kService = QStringLiteral("org.chimewell.Chimewell");
const QString kPath = QStringLiteral("/org/chimewell/Chimewell");
const QString kInterface = QStringLiteral("org.chimewell.Chimewell1");

// One alarm of List(), (xsss).
struct BusAlarm
{
    qint64 due = 0;
    QString kind;
    QString id;
    QString reason;
};

QDBusArgument& operator<<(QDBusArgument& out, const BusAlarm& alarm)
{
    out.beginStructure();
    out << alarm.due << alarm.kind << alarm.id << alarm.reason;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, BusAlarm& alarm)
{
    in.beginStructure();
    in >> alarm.due >> alarm.kind >> alarm.id >> alarm.reason;
    in.endStructure();
    return in;
}

} // namespace
} // namespace chimewell

Q_DECLARE_METATYPE(chimewell::BusAlarm)

namespace chimewell {
namespace {

// The object on the bus. Its scriptable slots, signals and property are what the bus sees.
class BusObject : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.chimewell.Chimewell1")
    Q_PROPERTY(bool Ringing READ ringing)

public:
    explicit BusObject(RemoteControlTarget& target) : m_target(target) {}

    bool ringing() const { return m_target.isRinging(); }

public slots:
    Q_SCRIPTABLE void Stop() { m_target.stop({}); }
    Q_SCRIPTABLE void Snooze() { m_target.snooze({}); }
    Q_SCRIPTABLE void StopAlarm(const QString& id) { tell(m_target.stop(id), id, {}); }
    Q_SCRIPTABLE void SnoozeAlarm(const QString& id) { tell(m_target.snooze(id), id, {}); }
    Q_SCRIPTABLE QString StartTimer(uint seconds, const QString& reason)
    {
        QString id;
        QString refusal;
        tell(m_target.startTimer(seconds, reason, id, refusal), {}, refusal);
        return id;
    }
    Q_SCRIPTABLE void CancelTimer(const QString& id) { tell(m_target.cancelTimer(id), id, {}); }
    Q_SCRIPTABLE QList<chimewell::BusAlarm> List()
    {
        QList<BusAlarm> alarms;
        for (const RemoteControlTarget::Listed& alarm : m_target.list())
            alarms << BusAlarm{alarm.due, alarm.kind, alarm.id, alarm.reason};
        return alarms;
    }

signals:
    Q_SCRIPTABLE void AlarmRang(const QString& id, const QString& reason);
    Q_SCRIPTABLE void AlarmStopped(const QString& id);

private:
    // A call that could not be carried out gets an error back, as its caller expects.
    void tell(RemoteControlTarget::Outcome outcome, const QString& id, const QString& refusal)
    {
        if (!calledFromDBus() || outcome == RemoteControlTarget::Outcome::Done)
            return;
        if (outcome == RemoteControlTarget::Outcome::Refused)
            sendErrorReply(QDBusError::InvalidArgs, refusal);
        else
            sendErrorReply(kInterface + QStringLiteral(".Error.NotFound"),
                           QStringLiteral("Nothing has the id \"%1\".").arg(id.left(100)));
    }

    RemoteControlTarget& m_target;
};

class DBusRemoteControl final : public RemoteControl
{
public:
    explicit DBusRemoteControl(RemoteControlTarget& target) : m_object(target) {}
    ~DBusRemoteControl() override
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(kPath);
        bus.unregisterService(kService);
    }

    bool publish()
    {
        qDBusRegisterMetaType<BusAlarm>();
        qDBusRegisterMetaType<QList<BusAlarm>>();
        QDBusConnection bus = QDBusConnection::sessionBus();
        return bus.isConnected() &&
               bus.registerObject(kPath, &m_object,
                                  QDBusConnection::ExportScriptableSlots |
                                      QDBusConnection::ExportScriptableSignals |
                                      QDBusConnection::ExportAllProperties) &&
               bus.registerService(kService);
    }

    void ringingChanged(bool ringing) override
    {
        QDBusMessage signal =
            QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                       QStringLiteral("PropertiesChanged"));
        signal << kInterface << QVariantMap{{QStringLiteral("Ringing"), ringing}} << QStringList();
        QDBusConnection::sessionBus().send(signal);
    }
    void alarmRang(const QString& id, const QString& reason) override
    {
        emit m_object.AlarmRang(id, reason);
    }
    void alarmStopped(const QString& id) override { emit m_object.AlarmStopped(id); }

private:
    BusObject m_object;
};

} // namespace

std::unique_ptr<RemoteControl> makeRemoteControl(RemoteControlTarget& target)
{
    auto control = std::make_unique<DBusRemoteControl>(target);
    if (!control->publish())
        return nullptr;
    return control;
}

} // namespace chimewell

#include "DBusRemoteControl.moc"
