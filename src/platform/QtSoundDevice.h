#pragma once

#include "SoundDevice.h"

#include <QtCore/QBuffer>
#include <QtCore/QTimer>

class QAudioSink;
class QMediaPlayer;

namespace chimewell {

/// The sound device on QMediaPlayer, and on the audio output for the beeps. Every play gets a
/// player of its own: on Qt 6.4 with GStreamer a player that is stopped and given a new source
/// goes silent for good after a few rounds. Tearing a player down stalls the next one at about
/// 120 ms, silently, so the one before is kept until the new one is heard. A player that
/// failed goes at once, with every player kept: it may hold a connection to a sound server that
/// has gone, which every later player would then share.
///
/// A repeating sound starts its next round's player kLeadMs before the current round ends,
/// about the time a new player takes to be heard, so that no pause is heard between rounds.
class QtSoundDevice final : public SoundDevice
{
    Q_OBJECT
public:
    /// A play not heard within this counts as failed: a stalled pipeline rests near its start
    /// for good, and the first play of a run, on a fresh plugin cache, can take 1.8 s to start.
    static constexpr int kStartTimeoutMs = 5000;
    /// A sound that was heard and then stands still this long has failed: its sound server has
    /// gone, and GStreamer does not always say so.
    static constexpr int kStallMs = 2000;
    /// How long before a round's end the next round starts: about what a new player takes to
    /// be heard (130 to 210 ms here, with GStreamer and PulseAudio).
    static constexpr int kLeadMs = 150;

    explicit QtSoundDevice(QObject* parent = nullptr);
    ~QtSoundDevice() override;

    void play(const QString& file, bool repeat) override;
    void stop() override;
    void setVolume(double level) override;

private:
    void playFile();
    QMediaPlayer* makePlayer();
    void connectPlayer(QMediaPlayer* player);
    void scheduleNextRound();
    void startNextRound();
    void playBeeps();
    void connectBeeps();
    void checkBeeps();
    void checkProgress();
    void markHeard();
    void finish();
    void fail();
    /// Stops what plays; the player is kept until its successor is heard.
    void retire();
    /// Destroys every player and the beep output.
    void dropAll();

    QString m_file;
    bool m_repeat = false;
    bool m_heard = false;
    bool m_over = false; // failed or finished: nothing more is told of this play
    int m_playNumber = 0;
    QMediaPlayer* m_player = nullptr;
    QList<QMediaPlayer*> m_retired;
    QAudioSink* m_beeps = nullptr;
    QBuffer m_beepData;
    QTimer m_startCheck;
    QTimer m_beepProgress;
    QTimer m_stallCheck;
    QTimer m_nextRound;
    qint64 m_lastPosition = -1;
    double m_volume = 1.0;
};

} // namespace chimewell
