#include "Loudness.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

namespace chimewell {
namespace {

// A whole number with nothing around it but blanks, or nothing.
std::optional<int> wholeNumber(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The same volume, give or take the rounding of the sound server.
bool sameSetting(const OutputState& a, const OutputState& b)
{
    return a.muted == b.muted && std::abs(a.volume - b.volume) <= 1;
}

} // namespace

int alarmVolume(std::string_view value)
{
    const auto percent = wholeNumber(value);
    return percent && *percent >= 1 && *percent <= 100 ? *percent : 100;
}

std::optional<int> alarmFadeSeconds(std::string_view value)
{
    const auto seconds = wholeNumber(value);
    if (seconds && *seconds >= 0 && *seconds <= kLongestFadeSeconds)
        return seconds;
    return std::nullopt;
}

int fadeSecondsSetting(std::string_view setting)
{
    const auto seconds = wholeNumber(setting);
    return seconds && (*seconds == 10 || *seconds == 30 || *seconds == 60) ? *seconds : 0;
}

WhenMuted whenMutedSetting(std::string_view setting)
{
    return setting == "unmute" ? WhenMuted::Unmute : WhenMuted::Warn;
}

bool pauseMusicSetting(std::string_view setting)
{
    return setting != "0";
}

double fadeLevel(int volumePercent, int fadeSeconds, std::int64_t elapsedMs)
{
    const double full = std::clamp(volumePercent, 1, 100) / 100.0;
    const std::int64_t fadeMs = std::int64_t(fadeSeconds) * 1000;
    if (fadeMs <= 0 || elapsedMs >= fadeMs)
        return full;
    const double done = double(std::max<std::int64_t>(elapsedMs, 0)) / double(fadeMs);
    // From -20 dB to 0 dB, evenly.
    return full * std::pow(10.0, done - 1.0);
}

Hearing hearing(const OutputState& state)
{
    if (!state.known)
        return Hearing::Fine;
    if (state.muted)
        return Hearing::Muted;
    return state.volume < kQuietBelowPercent ? Hearing::Quiet : Hearing::Fine;
}

bool warnOf(const OutputState& state, std::optional<std::int64_t> secondsAhead)
{
    return hearing(state) != Hearing::Fine && secondsAhead && *secondsAhead >= 0 &&
           *secondsAhead <= kWarnAheadSeconds;
}

bool WarningOnce::update(bool warning, const OutputState& state)
{
    if (!state.known)
        return false;
    if (!warning) {
        m_told = false;
        return false;
    }
    return !std::exchange(m_told, true);
}

std::optional<OutputState> RingUnmute::during(const OutputState& now, WhenMuted mode)
{
    if (!now.known)
        return std::nullopt;
    switch (m_phase) {
    case Phase::Raised:
        if (!sameSetting(now, m_set))
            m_phase = Phase::LeftAlone; // the user's own choice, from now on
        return std::nullopt;
    case Phase::LeftAlone:
        return std::nullopt;
    case Phase::Waiting:
        break;
    }
    if (mode != WhenMuted::Unmute || (!now.muted && now.volume >= kRingVolumePercent)) {
        m_phase = Phase::LeftAlone;
        return std::nullopt;
    }
    m_before = now;
    m_set = {true, false, std::max(now.volume, kRingVolumePercent)};
    m_phase = Phase::Raised;
    return m_set;
}

std::optional<OutputState> RingUnmute::after(const OutputState& now)
{
    const bool putBack = m_phase == Phase::Raised && now.known && sameSetting(now, m_set);
    m_phase = Phase::Waiting;
    if (putBack)
        return m_before;
    return std::nullopt;
}

} // namespace chimewell
