#pragma once

#include <QtCore/QByteArray>

namespace chimewell {

/// The beeps that sound when no file can be played: short 880 Hz tones, a quarter of a second
/// every half second, for kBeepSeconds.
inline constexpr int kBeepSeconds = 6;

/// The beeps as 16-bit mono samples at `rate` samples a second.
QByteArray beepSamples(int rate);
/// 16-bit mono `samples` at `rate` as a WAV file, for players that play only files.
QByteArray waveFile(const QByteArray& samples, int rate);

} // namespace chimewell
