#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>

namespace chimewell {

class SoundDevice;

/// The command sequences sent to the main window's sound device. An alarm that cannot play
/// its sound falls back to the default chime, and then to the system beep: a silent alarm
/// is a missed alarm. The play button plays only what was chosen, without falling back.
class AlarmSound : public QObject
{
    Q_OBJECT
public:
    AlarmSound(SoundDevice& device, const QString& defaultSound, QObject* parent = nullptr);

    /// Stops what plays, then plays `file`, or the default sound when `file` is empty.
    void playAlarmSound(const QString& file);
    /// Stops and rewinds whatever plays.
    void stopPlayback();
    /// The play button: opens and plays `file` as it stands.
    void playChosen(const QString& file);

    QString defaultSound() const { return m_defaultSound; }

signals:
    /// Neither the chosen nor the default sound could be played; the beep sounded instead.
    void fellBackToBeep();
    /// An alarm's sound played to its end, or gave way to the beep.
    void alarmEnded();

private:
    enum class Stage
    {
        None,
        Chosen,
        Default
    };
    void open(const QString& file);
    void onFailed(const QString& file);
    void onEnded(const QString& file);

    SoundDevice& m_device;
    QString m_defaultSound;
    Stage m_stage = Stage::None;
    QString m_current;
};

} // namespace chimewell
