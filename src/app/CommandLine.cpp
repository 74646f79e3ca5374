#include "CommandLine.h"

#include "alarm/AlarmCommands.h"
#include "platform/SingleInstance.h"
#include "storage/AlarmList.h"
#include "storage/Timers.h"
#include "widgets/QtText.h"

#include <QtCore/QDeadlineTimer>
#include <QtCore/QProcess>
#include <QtCore/QThread>

namespace chimewell {
namespace {

// How long a running copy has to answer, and a copy started for a verb to come up.
constexpr int kAnswerMs = 5000;
constexpr int kStartMs = 20000;

CommandReply reply(CommandStatus status, const std::string& out, const std::string& err = {})
{
    return {status, out, err};
}

std::string localTime(const QDateTime& at)
{
    return toStd(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

CommandReply listed(const std::vector<ListedAlarm>& alarms, bool json)
{
    return reply(CommandStatus::Done, json ? listJson(alarms) : listText(alarms));
}

ClockReading readingOf(const QDateTime& time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    return {{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()},
            time.toSecsSinceEpoch()};
}

CommandReply decoded(const QByteArray& bytes)
{
    CommandReply answer;
    if (!decodeReply(bytes.toStdString(), answer))
        return reply(CommandStatus::Refused, {},
                     "The running Chimewell gave an answer that "
                     "cannot be read.\n");
    return answer;
}

} // namespace

CommandReply carryOut(AlarmCommands& alarms, const CommandRequest& request)
{
    const QString id = toQ(request.id);
    switch (request.verb) {
    case CommandRequest::Stop:
        if (alarms.stop(id))
            return reply(CommandStatus::Done, "Stopped.\n");
        return reply(CommandStatus::NothingToDo,
                     id.isEmpty() ? "Nothing rings.\n" : "No alarm " + request.id + " rings.\n");
    case CommandRequest::Snooze:
        if (alarms.snooze(id))
            return reply(CommandStatus::Done, "Snoozed.\n");
        return reply(CommandStatus::NothingToDo,
                     id.isEmpty() ? "Nothing rings.\n" : "No alarm " + request.id + " rings.\n");
    case CommandRequest::Timer: {
        QString refusal;
        const auto timer = alarms.startTimer(request.seconds, toQ(request.reason), &refusal);
        if (!timer)
            return reply(CommandStatus::Refused, {}, toStd(refusal) + '\n');
        return reply(CommandStatus::Done, toStd(timer->id) + '\t' + localTime(timer->due) + '\n');
    }
    case CommandRequest::Cancel:
        if (alarms.cancelTimer(id))
            return reply(CommandStatus::Done, "Cancelled " + request.id + ".\n");
        return reply(CommandStatus::NothingToDo, "No timer " + request.id + " runs.\n");
    case CommandRequest::List:
        return listed(alarms.list(), request.json);
    case CommandRequest::Refused:
        return reply(CommandStatus::Refused, {}, request.refusal + '\n' + usageText());
    default:
        return reply(CommandStatus::Refused, {}, "Only a running copy's verbs travel.\n");
    }
}

QByteArray answerRequest(AlarmCommands& alarms, const QByteArray& request)
{
    const CommandRequest parsed = parseArguments(decodeArguments(request.toStdString()));
    return QByteArray::fromStdString(encodeReply(carryOut(alarms, parsed)));
}

CommandReply listFromFiles(const QString& appDir, const QDateTime& now, bool json)
{
    const std::string dir = toStd(appDir);
    WeekAlarms week;
    for (int weekday = 0; weekday < 7; ++weekday)
        week[std::size_t(weekday)] = readDayAlarms(dir, dayName(weekday)).alarms;
    std::vector<InstantAlarm> timers;
    for (const KeptTimer& timer : readTimers(dir))
        if (timer.due > now.toSecsSinceEpoch())
            timers.push_back({timer.due, timer.id, timer.reason.empty() ? "Timer" : timer.reason});
    // The one-shot alarm and the snoozes live only in the running program.
    return listed(listComing(readingOf(now), week, std::nullopt, {}, {}, timers), json);
}

CommandReply sendToRunningCopy(SingleInstance& instance, const std::vector<std::string>& arguments,
                               const CommandRequest& request, const QString& appDir,
                               const QString& executable)
{
    const QByteArray bytes = QByteArray::fromStdString(encodeArguments(arguments));
    const CommandReply noAnswer =
        reply(CommandStatus::Refused, {},
              "Chimewell runs for this folder but did not answer within 5 seconds; nothing was "
              "done.\n");
    QByteArray answer;
    switch (instance.ask(bytes, kAnswerMs, answer)) {
    case SingleInstance::Asked::Answered:
        return decoded(answer);
    case SingleInstance::Asked::NoAnswer:
        return noAnswer;
    case SingleInstance::Asked::NobodyListens:
        break;
    }
    int waitMs = kAnswerMs; // a copy that holds the lock may be starting
    if (instance.tryAcquire()) {
        // No copy runs.
        if (request.verb == CommandRequest::List) {
            const CommandReply listedNow =
                listFromFiles(appDir, QDateTime::currentDateTime(), request.json);
            instance.release();
            return listedNow;
        }
        instance.release();
        // Its output goes nowhere: a shell that reads this one's would wait for it too.
        QProcess program;
        program.setProgram(executable);
        program.setArguments({QStringLiteral("--background")});
        program.setWorkingDirectory(appDir);
        program.setStandardInputFile(QProcess::nullDevice());
        program.setStandardOutputFile(QProcess::nullDevice());
        program.setStandardErrorFile(QProcess::nullDevice());
        if (!program.startDetached())
            return reply(CommandStatus::Refused, {},
                         "Chimewell could not be started: " + toStd(executable) + '\n');
        waitMs = kStartMs;
    }
    // A copy that has just started may take its time to answer its first request (Wine
    // starting its services): once it listens, the rest of the time is its to answer.
    const QDeadlineTimer deadline(waitMs);
    while (!deadline.hasExpired()) {
        const int left = int(std::max<qint64>(deadline.remainingTime(), kAnswerMs));
        switch (instance.ask(bytes, left, answer)) {
        case SingleInstance::Asked::Answered:
            return decoded(answer);
        case SingleInstance::Asked::NoAnswer:
            return noAnswer;
        case SingleInstance::Asked::NobodyListens:
            QThread::msleep(100);
            break;
        }
    }
    return noAnswer;
}

AlarmsOnTheBus::AlarmsOnTheBus(
    AlarmCommands& alarms,
    const std::function<std::unique_ptr<RemoteControl>(RemoteControlTarget&)>& publish,
    QObject* parent)
    : QObject(parent), m_alarms(alarms), m_control(publish ? publish(*this) : nullptr)
{
    if (!m_control)
        return;
    connect(&alarms, &AlarmCommands::ringingChanged, this,
            [this](bool ringing) { m_control->ringingChanged(ringing); });
    connect(&alarms, &AlarmCommands::rang, this,
            [this](const QString& id, const QString& reason) { m_control->alarmRang(id, reason); });
    connect(&alarms, &AlarmCommands::stoppedRinging, this,
            [this](const QString& id) { m_control->alarmStopped(id); });
}

AlarmsOnTheBus::~AlarmsOnTheBus() = default;

RemoteControlTarget::Outcome AlarmsOnTheBus::stop(const QString& id)
{
    return m_alarms.stop(id) || id.isEmpty() ? Outcome::Done : Outcome::NothingToDo;
}

RemoteControlTarget::Outcome AlarmsOnTheBus::snooze(const QString& id)
{
    return m_alarms.snooze(id) || id.isEmpty() ? Outcome::Done : Outcome::NothingToDo;
}

RemoteControlTarget::Outcome AlarmsOnTheBus::startTimer(qint64 seconds, const QString& reason,
                                                        QString& id, QString& refusal)
{
    const auto timer = m_alarms.startTimer(seconds, reason, &refusal);
    if (!timer)
        return Outcome::Refused;
    id = timer->id;
    return Outcome::Done;
}

RemoteControlTarget::Outcome AlarmsOnTheBus::cancelTimer(const QString& id)
{
    return m_alarms.cancelTimer(id) ? Outcome::Done : Outcome::NothingToDo;
}

QList<RemoteControlTarget::Listed> AlarmsOnTheBus::list() const
{
    QList<Listed> alarms;
    for (const ListedAlarm& alarm : m_alarms.list())
        alarms << Listed{alarm.epochSeconds, toQ(alarm.kind), toQ(alarm.id), toQ(alarm.reason)};
    return alarms;
}

bool AlarmsOnTheBus::isRinging() const
{
    return m_alarms.isRinging();
}

} // namespace chimewell
