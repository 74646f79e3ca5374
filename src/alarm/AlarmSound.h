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
/// The play button plays only what was chosen, without falling back.
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
    void onFailed(const QString& file);
    void end();

    SoundDevice& m_device;
    QString m_chime;
    QStringList m_fallbacks; // what an alarm plays next when its current sound fails
    QString m_current;
    bool m_ringing = false;
    bool m_repeat = false;
    bool m_heard = false;
    QTimer m_ringTime;
};

} // namespace chimewell
