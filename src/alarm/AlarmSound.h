#pragma once

#include <QtCore/QElapsedTimer>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QTimer>
#include <chrono>

namespace chimewell {

class SoundDevice;

/// How loud a sound plays: percent of its own loudness, and the seconds of its fade-in.
struct Loudness
{
    int volume = 100;
    int fadeSeconds = 0;
};

/// What an alarm plays: its own sound, else the default chime, else beeps, so that a sound
/// that cannot be played never leaves an alarm silent; once, or again and again for a while.
/// A ring whose sound fails (its sound server went away) keeps trying, own sound first, for as
/// long as it is meant to ring: a timed ring until its time is over, a ring that plays once for
/// at least the length of its sound. Between rounds of tries it waits 1, 2, 4, 8 and then 10 s.
/// A timed ring that fell back to the chime or the beeps tries its own sound again after each
/// of their rounds.
/// The play button plays only what was chosen, without falling back.
///
/// A ring plays at its volume; with a fade-in, it starts at a tenth of it and rises to it over
/// the fade's seconds (fadeLevel()), and a round of a repeating sound after the first plays at
/// its volume whatever is left of the fade. Alarms that join a ring take it as it is.
class AlarmSound : public QObject
{
    Q_OBJECT
public:
    /// How long a ring that plays once keeps trying when the length of its sound is not known.
    static constexpr int kOnceTryingMs = 30'000;
    /// The pause after the n-th round of tries that all failed.
    static int pauseAfter(int failedRounds);

    AlarmSound(SoundDevice& device, const QString& chime, QObject* parent = nullptr);

    /// How often a fade-in steps up.
    static constexpr int kFadeStepMs = 100;

    /// Rings `file` (the chime when empty) for `duration`, or once when it is zero.
    void ring(const QString& file, std::chrono::seconds duration, Loudness loudness = {});
    /// `file` once, as it stands, in place of whatever plays.
    void play(const QString& file, Loudness loudness = {});
    /// Silences whatever plays.
    void stop();
    bool isRinging() const { return m_ringing; }
    /// How long a timed ring still rings; zero for a ring that plays once, or none.
    std::chrono::milliseconds ringTimeLeft() const;
    /// A timed ring rings for `left` from now (at once over when it is not positive).
    void setRingTimeLeft(std::chrono::milliseconds left);

signals:
    /// The alarm's sound is over: it played out, its time was up, or it was silenced.
    void ended();
    /// Neither the alarm's sound, nor the chime, nor the beeps can be played now.
    void silent();
    /// A sound of the alarm is heard again after it was silent.
    void heard();

private:
    void playNext();
    void onStarted(const QString& file, qint64 lengthMs);
    void onFailed(const QString& file);
    bool timeLeft() const;
    void end();
    void startFade(Loudness loudness);
    void stepFade();

    SoundDevice& m_device;
    QString m_chime;
    QStringList m_chain;     // what the alarm plays, first to last resort
    QStringList m_fallbacks; // what it plays next when its current sound fails
    QString m_current;
    bool m_ringing = false;
    bool m_repeat = false;
    bool m_heard = false;  // the current sound has been heard
    bool m_silent = false; // told silent, not heard since
    int m_failedRounds = 0;
    qint64 m_onceMs = kOnceTryingMs;
    QElapsedTimer m_since; // the ring's start
    QTimer m_ringTime;
    QTimer m_pause;
    Loudness m_loudness;
    QElapsedTimer m_fadeClock;
    QTimer m_fadeStep;
    int m_roundsHeard = 0; // of the current play
};

} // namespace chimewell
