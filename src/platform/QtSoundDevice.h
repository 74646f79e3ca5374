#pragma once

#include "SoundDevice.h"

#include <QtCore/QPointer>
#include <QtCore/QTimer>

class QAudioOutput;
class QAudioSink;
class QBuffer;
class QMediaPlayer;

namespace chimewell {

/// The device on QMediaPlayer. Every "OPEN" gets a player of its own: on Qt 6.4 with
/// GStreamer a player that is stopped, rewound and given a new source goes silent for good
/// after a few rounds, without any error. A play that has neither passed `kProgressMs` nor
/// ended `kProgressTimeoutMs` after it started counts as failed, so that a stalled pipeline
/// is never taken for a sound. (A stalled one stops at about 120 ms for good; the first
/// play of a run, on a fresh plugin cache, can rest at 130-190 ms for up to 1.8 s.)
class QtSoundDevice final : public SoundDevice
{
    Q_OBJECT
public:
    static constexpr int kProgressTimeoutMs = 4000;
    static constexpr int kProgressMs = 300;

    explicit QtSoundDevice(QObject* parent = nullptr);
    ~QtSoundDevice() override;

    void setFileName(const QString& fileName) override { m_fileName = fileName; }
    QString fileName() const override { return m_fileName; }
    void command(const QString& command) override;
    void beep() override;

private:
    void newPlayer();
    void retirePlayer();
    void dropRetiredPlayers();
    void markProgress();
    void reportFailure();
    void checkProgress();

    QString m_fileName;
    QString m_openFile;
    bool m_failureReported = false;
    bool m_progressed = false;
    QPointer<QMediaPlayer> m_player;
    QList<QPointer<QMediaPlayer>> m_retired;
    QTimer m_progressCheck;
    QPointer<QAudioSink> m_beepSink;
    QBuffer* m_beepBuffer = nullptr;
};

} // namespace chimewell
