#pragma once

namespace chimewell {

/// What the sound output that alarms play on is set to, as far as it is known.
struct OutputState
{
    bool known = false; // false: nothing below can be trusted (no sound server, or not yet)
    bool muted = false;
    int volume = 100; // percent of full, 0 to 100
    bool operator==(const OutputState&) const = default;
};

} // namespace chimewell
