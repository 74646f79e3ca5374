#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>

namespace chimewell {

/// The multimedia device: driven only by a file name and the commands "OPEN", "PLAY",
/// "STOP" and "PREV" (back to the start). Playing goes on in the background.
class SoundDevice : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SoundDevice() override = default;

    virtual void setFileName(const QString& fileName) = 0;
    virtual QString fileName() const = 0;
    /// Carries out one command at once; unknown commands are ignored.
    virtual void command(const QString& command) = 0;
    /// The system's beep, the last resort of an alarm that has no sound to play.
    virtual void beep() = 0;

signals:
    /// The opened file could not be played (missing, not audio, no decoder, or playing that
    /// never got under way). Emitted once per "OPEN", possibly before command() returns.
    void failed(const QString& fileName);
    /// The opened file started to sound.
    void started(const QString& fileName);
    /// The opened file played to its end.
    void ended(const QString& fileName);
};

} // namespace chimewell
