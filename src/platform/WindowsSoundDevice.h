#pragma once

#include "SoundDevice.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QTimer>

namespace chimewell {

/// The sound device on Windows' multimedia device control (MCI), which every Windows has and
/// which plays MP3 and WAV files through the system's own decoders. Each play opens its file
/// under an alias of its own and closes it when it is over. The device tells nothing by itself
/// to a program without a window for it, so a timer reads the position while something plays.
///
/// A repeating sound is opened twice, and each round starts on the other alias kLeadMs before
/// the round before it ends: MCI's own "repeat" leaves about 150 ms of silence between rounds.
class WindowsSoundDevice final : public SoundDevice
{
    Q_OBJECT
public:
    /// A play not heard within this counts as failed.
    static constexpr int kStartTimeoutMs = 5000;
    /// A sound that was heard and then stands still this long has failed: its output has gone.
    static constexpr int kStallMs = 2000;
    /// How long before a round's end the next round starts.
    static constexpr int kLeadMs = 150;
    /// How often the position is read while something plays.
    static constexpr int kPollMs = 100;

    explicit WindowsSoundDevice(QObject* parent = nullptr);
    ~WindowsSoundDevice() override;

    void play(const QString& file, bool repeat) override;
    void stop() override;
    void setVolume(double level) override;

private:
    void applyVolume(int alias);
    bool startRound(int alias);
    void startNextRound();
    void scheduleNextRound(qint64 position);
    void poll();
    void markHeard();
    void finish();
    void fail();
    void closeAll();
    QString beepsFile();

    QString m_file;
    QString m_path; // what MCI opens: the file, or the beeps written out
    bool m_repeat = false;
    bool m_heard = false;
    bool m_over = true; // failed, finished or stopped: nothing more is told of this play
    int m_playNumber = 0;
    QString m_aliases[2];
    int m_current = 0;
    qint64 m_length = -1;
    qint64 m_lastPosition = -1;
    QElapsedTimer m_roundStarted;
    QElapsedTimer m_lastMove;
    QTimer m_poll;
    QTimer m_nextRound;
    QString m_beepsFile;
    double m_volume = 1.0;
};

} // namespace chimewell
