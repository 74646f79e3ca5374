#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>
#include <memory>

namespace chimewell {

/// Plays sound files in the background, one at a time. A sound counts as started only once it
/// has been heard for `kHeardMs`: a file that ends sooner, or that never gets that far, has
/// failed, so that whoever plays it can fall back to something that is heard.
class SoundDevice : public QObject
{
    Q_OBJECT
public:
    /// Not a file: a few seconds of beeps on the sound output, for when no file can be played.
    static inline const QString kBeeps = QStringLiteral(":beeps");
    static constexpr int kHeardMs = 1000;

    using QObject::QObject;
    ~SoundDevice() override = default;

    /// Stops what plays and plays `file` (or `kBeeps`) from its start; with `repeat`, again and
    /// again without a gap until stop().
    virtual void play(const QString& file, bool repeat = false) = 0;
    /// Stops whatever plays. Emits nothing.
    virtual void stop() = 0;
    /// How loud what plays, and what plays next, sounds: from 0 to 1 of the file's own
    /// loudness (a factor of its samples). 1 until it is set.
    virtual void setVolume(double level) = 0;

signals:
    /// `file` has been heard for kHeardMs (again at every round while it repeats); it lasts
    /// `lengthMs` from its start, -1 when that is not known.
    void started(const QString& file, qint64 lengthMs);
    /// `file` could not be played: missing, not a sound, shorter than kHeardMs, stalled, or no
    /// sound output. Emitted once per play, never from inside play() itself.
    void failed(const QString& file);
    /// `file` played to its end (never while it repeats).
    void finished(const QString& file);
};

/// The sound device of the system the program was built for.
std::unique_ptr<SoundDevice> makeSoundDevice();

} // namespace chimewell
