#pragma once

#include "platform/OutputState.h"

#include <cstdint>
#include <optional>
#include <string_view>

// How loud an alarm plays, and whether it can be heard at all: an alarm's own volume and
// fade-in, the settings that choose what happens when the output is muted, and the rules of
// the warning and of the output raised for a ring and put back after it.
namespace chimewell {

inline constexpr std::string_view kVolumeKey = "volume";           // alarm section
inline constexpr std::string_view kFadeSecondsKey = "fadeseconds"; // alarm section and options
inline constexpr std::string_view kWhenMutedKey = "whenmuted";     // options
inline constexpr std::string_view kPauseMusicKey = "pausemusic";   // options

inline constexpr int kLongestFadeSeconds = 300;
/// Below this volume (percent) an alarm may not be heard.
inline constexpr int kQuietBelowPercent = 10;
/// The volume (percent) an output is raised to, at least, for a ring.
inline constexpr int kRingVolumePercent = 50;
/// How far ahead an alarm is warned of.
inline constexpr std::int64_t kWarnAheadSeconds = 12 * 3600;

/// An alarm's own volume in percent of full: 1 to 100; 100 for anything else.
int alarmVolume(std::string_view value);
/// An alarm's own fade-in: 0 to kLongestFadeSeconds; nothing (the setting holds) for anything
/// else.
std::optional<int> alarmFadeSeconds(std::string_view value);
/// The fade-in setting: 10, 30 or 60 seconds, or 0 (none) for anything else.
int fadeSecondsSetting(std::string_view setting);
/// What the program does about a muted output: tells it, or also unmutes it for the ring.
enum class WhenMuted
{
    Warn,
    Unmute
};
/// "unmute" is Unmute; anything else Warn.
WhenMuted whenMutedSetting(std::string_view setting);
/// Whether media players are paused while an alarm rings: yes unless the setting is "0".
bool pauseMusicSetting(std::string_view setting);

/// The share of full loudness that a sound of `volumePercent` plays at `elapsedMs` into a
/// fade-in of `fadeSeconds`: a tenth of its volume at the start, rising in even steps of
/// loudness (the same number of decibels each second) to its volume at the end, and its
/// volume from then on.
double fadeLevel(int volumePercent, int fadeSeconds, std::int64_t elapsedMs);

/// Whether the output can be heard: an unknown state counts as Fine, nothing is said of it.
enum class Hearing
{
    Fine,
    Muted,
    Quiet
};
Hearing hearing(const OutputState& state);
/// Whether an alarm due in `secondsAhead` (none: no alarm to come) is to be warned of.
bool warnOf(const OutputState& state, std::optional<std::int64_t> secondsAhead);

/// The notice about a muted output comes once each time the warning begins: not again while it
/// lasts, nor when the output's state was unknown for a while in between (its sound server
/// restarted).
class WarningOnce
{
public:
    /// Returns whether the notice is to be told now.
    bool update(bool warning, const OutputState& state);

private:
    bool m_told = false;
};

/// The output raised for a ring ("unmute while an alarm rings") and put back after it, unless
/// the user changed it meanwhile; a user who changes it during the ring is not overruled.
class RingUnmute
{
public:
    /// While a ring lasts, at its start and at every change of the output: the state to put
    /// the output in, if any. Acts at most once in a ring.
    std::optional<OutputState> during(const OutputState& now, WhenMuted mode);
    /// The ring is over: the state to put the output back in, if any.
    std::optional<OutputState> after(const OutputState& now);

private:
    enum class Phase
    {
        Waiting, // the ring's output has not been seen yet
        Raised,  // raised by the program, as `m_set` says
        LeftAlone
    } m_phase = Phase::Waiting;
    OutputState m_before;
    OutputState m_set;
};

} // namespace chimewell
