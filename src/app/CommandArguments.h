#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the program is asked to do by its command line: start (shown, or hidden with
// -minimized), or carry out one verb on the running copy and answer it.

namespace chimewell {

struct CommandRequest
{
    enum Verb
    {
        Start,
        StartHidden,
        Background, // hidden, and silent where a copy runs already
        Stop,       // what rings now, or the alarm `id`
        Snooze,     // the same
        Timer,      // `seconds`, `reason`
        Cancel,     // the timer `id`
        List,       // `json`
        Help,
        Version,
        Refused // `refusal` says why
    } verb = Start;
    std::string id;
    std::int64_t seconds = 0;
    std::string reason;
    bool json = false;
    std::string refusal;

    /// Whether it is carried out by the running copy (or by one started for it).
    bool isForRunningCopy() const;
};

/// The request of the arguments after the program's name.
CommandRequest parseArguments(const std::vector<std::string>& arguments);

/// What --help prints.
std::string usageText();

/// How a verb ended, as the process's exit status.
enum class CommandStatus
{
    Done = 0,
    NothingToDo = 1, // nothing rings, no such timer
    Refused = 2      // a bad argument, or no answer from the running copy
};

/// A verb's answer: the exit status and what goes to standard output and standard error.
struct CommandReply
{
    CommandStatus status = CommandStatus::Done;
    std::string out;
    std::string err;
};

/// The request and the reply as they travel between two copies of the program: the arguments
/// joined by NUL; the status, output and error joined by NUL.
std::string encodeArguments(const std::vector<std::string>& arguments);
std::vector<std::string> decodeArguments(const std::string& bytes);
std::string encodeReply(const CommandReply& reply);
/// Nothing for bytes that are not a reply.
bool decodeReply(const std::string& bytes, CommandReply& reply);

} // namespace chimewell
