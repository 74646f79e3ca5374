#pragma once

#include <QtCore/QList>
#include <QtCore/QString>
#include <memory>

namespace chimewell {

/// What the desktop's message bus may ask of the running program.
class RemoteControlTarget
{
public:
    /// An alarm to come as the bus lists it.
    struct Listed
    {
        qint64 due = 0; // seconds since the epoch
        QString kind;
        QString id;
        QString reason;
    };
    enum class Outcome
    {
        Done,
        NothingToDo, // nothing rings, or no alarm or timer has the id
        Refused      // `refusal` says why
    };

    virtual ~RemoteControlTarget() = default;
    /// An empty id: what rings now.
    virtual Outcome stop(const QString& id) = 0;
    virtual Outcome snooze(const QString& id) = 0;
    virtual Outcome startTimer(qint64 seconds, const QString& reason, QString& id,
                               QString& refusal) = 0;
    virtual Outcome cancelTimer(const QString& id) = 0;
    virtual QList<Listed> list() const = 0;
    virtual bool isRinging() const = 0;
};

/// The program's service on the desktop's message bus, which calls `target`. Told what
/// happens, it tells the bus's listeners.
class RemoteControl
{
public:
    virtual ~RemoteControl() = default;
    virtual void ringingChanged(bool ringing) = 0;
    virtual void alarmRang(const QString& id, const QString& reason) = 0;
    virtual void alarmStopped(const QString& id) = 0;
};

/// The service on the session bus, or nothing where there is none (Windows, no bus, the name
/// taken).
std::unique_ptr<RemoteControl> makeRemoteControl(RemoteControlTarget& target);

} // namespace chimewell
