#pragma once

#include "SoundDevice.h"

#include <memory>

class QAudioOutput;
class QMediaPlayer;

namespace chimewell {

/// The device on QMediaPlayer. The player is made on the first command, so a program that
/// never plays does not pay for the multimedia stack at start-up.
class QtSoundDevice final : public SoundDevice
{
    Q_OBJECT
public:
    explicit QtSoundDevice(QObject* parent = nullptr);
    ~QtSoundDevice() override;

    void setFileName(const QString& fileName) override { m_fileName = fileName; }
    QString fileName() const override { return m_fileName; }
    void command(const QString& command) override;
    void beep() override;

private:
    void ensurePlayer();
    void reportFailure();

    QString m_fileName;
    QString m_openFile;
    bool m_failureReported = false;
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
};

} // namespace chimewell
