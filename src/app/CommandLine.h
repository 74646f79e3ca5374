#pragma once

#include "CommandArguments.h"
#include "platform/RemoteControl.h"

#include <QtCore/QDateTime>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <memory>

namespace chimewell {

class AlarmCommands;
class SingleInstance;

/// Carries out a verb of the command line on the alarms of the running program.
CommandReply carryOut(AlarmCommands& alarms, const CommandRequest& request);

/// The running program's answer to the bytes of a later copy's request.
QByteArray answerRequest(AlarmCommands& alarms, const QByteArray& request);

/// --list where no copy runs: the day files and the kept timers, as they would ring.
CommandReply listFromFiles(const QString& appDir, const QDateTime& now, bool json);

/// A verb of the command line in a process that is not the program: sent to the copy that
/// runs for `appDir`; where none runs, --list is answered from the files and any other verb
/// starts a copy hidden in the tray (`executable` with --background) and is sent to it.
/// Returns the reply, with status 2 when no copy answered in time.
CommandReply sendToRunningCopy(SingleInstance& instance, const std::vector<std::string>& arguments,
                               const CommandRequest& request, const QString& appDir,
                               const QString& executable);

/// What the session bus may ask of the alarms, and what it is told of them.
class AlarmsOnTheBus : public QObject, public RemoteControlTarget
{
    Q_OBJECT
public:
    /// `publish` puts it on the bus (nothing where there is no bus).
    AlarmsOnTheBus(
        AlarmCommands& alarms,
        const std::function<std::unique_ptr<RemoteControl>(RemoteControlTarget&)>& publish,
        QObject* parent = nullptr);
    ~AlarmsOnTheBus() override;

    Outcome stop(const QString& id) override;
    Outcome snooze(const QString& id) override;
    Outcome startTimer(qint64 seconds, const QString& reason, QString& id,
                       QString& refusal) override;
    Outcome cancelTimer(const QString& id) override;
    QList<Listed> list() const override;
    bool isRinging() const override;

private:
    AlarmCommands& m_alarms;
    std::unique_ptr<RemoteControl> m_control;
};

} // namespace chimewell
