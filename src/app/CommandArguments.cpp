#include "CommandArguments.h"

#include "storage/Timers.h"

namespace chimewell {

bool CommandRequest::isForRunningCopy() const
{
    return verb == Stop || verb == Snooze || verb == Timer || verb == Cancel || verb == List;
}

CommandRequest parseArguments(const std::vector<std::string>& arguments)
{
    CommandRequest request;
    const auto refuse = [&request](const std::string& why) {
        request.verb = CommandRequest::Refused;
        request.refusal = why;
        return request;
    };
    if (arguments.empty())
        return request;
    const std::string& verb = arguments[0];
    const std::size_t extra = arguments.size() - 1;
    if (verb == "-minimized" && extra == 0) {
        request.verb = CommandRequest::StartHidden;
    } else if (verb == "--background") {
        request.verb = CommandRequest::Background;
    } else if (verb == "--help" || verb == "-h") {
        request.verb = CommandRequest::Help;
    } else if (verb == "--version") {
        request.verb = CommandRequest::Version;
    } else if (verb == "--stop" || verb == "--snooze") {
        request.verb = verb == "--stop" ? CommandRequest::Stop : CommandRequest::Snooze;
        if (extra > 1)
            return refuse(verb + " takes at most one alarm id");
        if (extra == 1)
            request.id = arguments[1];
    } else if (verb == "--timer") {
        request.verb = CommandRequest::Timer;
        if (extra == 0)
            return refuse("--timer needs a length, such as 20m, 90s, 1h30m or 25 (minutes)");
        if (extra > 2)
            return refuse("--timer takes a length and one reason (quote a reason of several "
                          "words)");
        const auto seconds = parseTimerLength(arguments[1]);
        if (!seconds)
            return refuse("\"" + cleanTimerReason(arguments[1]) +
                          "\" is not a length from 1 second to 24 hours, such as 20m, 90s, "
                          "1h30m or 25 (minutes)");
        request.seconds = *seconds;
        if (extra == 2)
            request.reason = cleanTimerReason(arguments[2]);
    } else if (verb == "--cancel") {
        request.verb = CommandRequest::Cancel;
        if (extra != 1)
            return refuse("--cancel needs the id of one timer, as --list shows it");
        request.id = arguments[1];
    } else if (verb == "--list") {
        request.verb = CommandRequest::List;
        if (extra > 1 || (extra == 1 && arguments[1] != "--json"))
            return refuse("--list takes only --json");
        request.json = extra == 1;
    } else {
        return refuse("unknown argument \"" + cleanTimerReason(verb) + "\"");
    }
    if (request.verb != CommandRequest::Stop && request.verb != CommandRequest::Snooze &&
        request.verb != CommandRequest::Timer && request.verb != CommandRequest::Cancel &&
        request.verb != CommandRequest::List && extra > 0)
        return refuse(verb + " takes no other argument");
    return request;
}

std::string usageText()
{
    return "Usage: chimewell [-minimized]\n"
           "       chimewell --timer LENGTH [REASON]   start a timer: 20m, 90s, 1h30m, 25 "
           "(minutes); at most 24h\n"
           "       chimewell --cancel ID               cancel a timer\n"
           "       chimewell --stop [ID]               stop what rings (or the alarm ID)\n"
           "       chimewell --snooze [ID]             snooze what rings (or the alarm ID)\n"
           "       chimewell --list [--json]           the alarms of the next seven days\n"
           "       chimewell --background              start hidden in the tray, unless it runs\n"
           "       chimewell --help | --version\n"
           "A verb goes to the copy that runs for this folder; where none runs, one starts "
           "hidden in the tray and carries it out.\n"
           "Exit status: 0 done, 1 nothing to do, 2 refused.\n";
}

std::string encodeArguments(const std::vector<std::string>& arguments)
{
    std::string bytes;
    for (const std::string& argument : arguments) {
        if (!bytes.empty())
            bytes += '\0';
        bytes += argument;
    }
    return bytes;
}

std::vector<std::string> decodeArguments(const std::string& bytes)
{
    std::vector<std::string> arguments;
    if (bytes.empty())
        return arguments;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = bytes.find('\0', start);
        arguments.push_back(bytes.substr(start, end - start));
        if (end == std::string::npos)
            return arguments;
        start = end + 1;
    }
}

std::string encodeReply(const CommandReply& reply)
{
    return std::to_string(static_cast<int>(reply.status)) + '\0' + reply.out + '\0' + reply.err;
}

bool decodeReply(const std::string& bytes, CommandReply& reply)
{
    const std::size_t first = bytes.find('\0');
    const std::size_t second =
        first == std::string::npos ? std::string::npos : bytes.find('\0', first + 1);
    if (second == std::string::npos || first != 1 || bytes[0] < '0' || bytes[0] > '2')
        return false;
    reply.status = static_cast<CommandStatus>(bytes[0] - '0');
    reply.out = bytes.substr(first + 1, second - first - 1);
    reply.err = bytes.substr(second + 1);
    return true;
}

} // namespace chimewell
