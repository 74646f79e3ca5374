#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Countdown timers that outlive the program: each running timer is kept in the settings file,
// in a section of its own, as one key per timer ("T3=1796000000 Tea": the instant it is due,
// in seconds since the epoch, and its reason).

namespace chimewell {

inline constexpr std::string_view kTimersSection = "timers";
/// The most timers that run at once; the settings file then stays far below its 1 MB limit.
inline constexpr std::size_t kMostTimers = 1000;
/// A timer's reason is cut to this many characters.
inline constexpr std::size_t kLongestTimerReason = 200;
/// The longest a timer runs, in seconds.
inline constexpr std::int64_t kLongestTimerSeconds = 24 * 3600;

/// A running timer as it is kept.
struct KeptTimer
{
    std::string id; // "t" and a number, unique among the running timers
    std::int64_t due = 0;
    std::string reason;
    bool operator==(const KeptTimer&) const = default;
};

/// The length of a timer as the user types it: "90s", "20m", "1h30m", "1h 30m", "2h", or a
/// bare number of minutes ("25"). Nothing for anything else, for zero, and for more than
/// kLongestTimerSeconds.
std::optional<std::int64_t> parseTimerLength(std::string_view text);

/// The reason as a timer keeps it: control characters become spaces, bytes that are not UTF-8
/// become U+FFFD, spaces at either end go, and it is cut to kLongestTimerReason characters.
std::string cleanTimerReason(std::string_view text);

/// The timers of the settings file in `appDir`, earliest first; a key that does not hold a
/// timer is left alone.
std::vector<KeptTimer> readTimers(const std::string& appDir);

/// Makes the timers section hold `timers`: keys of timers that ended go, new ones are added;
/// every other line of the file keeps its bytes. False, with the reason in `error`, when the
/// file could not be written.
bool writeTimers(const std::string& appDir, const std::vector<KeptTimer>& timers,
                 std::string* error = nullptr);

/// The id after the highest of `timers` ("t1" for none).
std::string nextTimerId(const std::vector<KeptTimer>& timers);

} // namespace chimewell
