#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QTimer>
#include <chrono>

namespace chimewell {

class SoundDevice;

/// What an alarm plays: its own sound, else the default chime, else beeps, so that a sound
/// that cannot be played never leaves an alarm silent; once, or again and again for a while.
/// A sound that was heard and then fails (its sound server restarted) starts the chain over,
/// once. The play button plays only what was chosen, without falling back.
class AlarmSound : public QObject
{
    Q_OBJECT
public:
    AlarmSound(SoundDevice& device, const QString& chime, QObject* parent = nullptr);

    /// Rings `file` (the chime when empty) for `duration`, or once when it is zero.
    void ring(const QString& file, std::chrono::seconds duration);
    /// `file` once, as it stands, in place of whatever plays.
    void play(const QString& file);
    /// Silences whatever plays.
    void stop();

signals:
    /// The alarm's sound is over: it played out, its time was up, nothing of it could be
    /// played, or it was silenced.
    void ended();
    /// Neither the alarm's sound, nor the chime, nor the beeps could be played.
    void silent();

private:
    void playNext();
    void onFailed(const QString& file);
    void end();

    SoundDevice& m_device;
    QString m_chime;
    QStringList m_chain;     // what the alarm plays, first to last resort
    QStringList m_fallbacks; // what it plays next when its current sound fails
    QString m_current;
    bool m_ringing = false;
    bool m_repeat = false;
    bool m_heard = false;   // the current sound has been heard
    bool m_retried = false; // the chain has been started over
    QTimer m_ringTime;
};

} // namespace chimewell
