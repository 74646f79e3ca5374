#include "WindowsSoundDevice.h"

#include "Beeps.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>
#include <QtCore/QStandardPaths>
#include <QtWidgets/QApplication>
#include <algorithm>
#include <cmath>
#include <utility>
#include <windows.h>
// (After windows.h, whose types it uses.)
#include <mmsystem.h>

namespace chimewell {
namespace {

// Sends one command string; false when MCI refused it. `answer` receives what it returns.
bool command(const QString& text, QString* answer = nullptr)
{
    wchar_t buffer[128] = {};
    const MCIERROR error = mciSendStringW(reinterpret_cast<const wchar_t*>(text.utf16()), buffer,
                                          sizeof buffer / sizeof buffer[0], nullptr);
    if (answer)
        *answer = QString::fromWCharArray(buffer);
    return error == 0;
}

// A number that MCI reports (length and position are in milliseconds); -1 when it cannot.
qint64 number(const QString& alias, const char* what)
{
    QString answer;
    if (!command(QStringLiteral("status %1 %2").arg(alias, QLatin1String(what)), &answer))
        return -1;
    bool ok = false;
    const qint64 value = answer.toLongLong(&ok);
    return ok ? value : -1;
}

QString newAlias()
{
    static int counter = 0;
    return QStringLiteral("chimewell%1").arg(++counter);
}

} // namespace

WindowsSoundDevice::WindowsSoundDevice(QObject* parent) : SoundDevice(parent)
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &WindowsSoundDevice::poll);
    m_nextRound.setSingleShot(true);
    m_nextRound.setTimerType(Qt::PreciseTimer);
    connect(&m_nextRound, &QTimer::timeout, this, &WindowsSoundDevice::startNextRound);
}

WindowsSoundDevice::~WindowsSoundDevice()
{
    closeAll();
    if (!m_beepsFile.isEmpty())
        QFile::remove(m_beepsFile);
}

void WindowsSoundDevice::play(const QString& file, bool repeat)
{
    closeAll();
    ++m_playNumber;
    m_file = file;
    m_repeat = repeat;
    m_heard = false;
    m_over = false;
    m_length = -1;
    if (file == kBeeps) {
        // The speaker's own beep too, where the sound output is what fails.
        QApplication::beep();
        m_path = beepsFile();
    } else {
        m_path = file;
    }
    if (m_path.isEmpty() || !QFileInfo(m_path).isFile()) {
        fail();
        return;
    }
    m_aliases[0] = newAlias();
    m_current = 0;
    // The device is chosen by what the file holds, not by its name: "mpegvideo" plays MP3
    // and WAV alike.
    if (!command(QStringLiteral("open \"%1\" type mpegvideo alias %2")
                     .arg(QDir::toNativeSeparators(QFileInfo(m_path).absoluteFilePath()),
                          m_aliases[0]))) {
        m_aliases[0].clear();
        fail();
        return;
    }
    m_length = number(m_aliases[0], "length");
    if (!startRound(0))
        fail();
}

void WindowsSoundDevice::stop()
{
    ++m_playNumber;
    m_over = true;
    closeAll();
}

void WindowsSoundDevice::setVolume(double level)
{
    m_volume = std::clamp(level, 0.0, 1.0);
    for (int alias = 0; alias < 2; ++alias)
        applyVolume(alias);
}

void WindowsSoundDevice::applyVolume(int alias)
{
    // MCI's volume runs from 0 to 1000; a device that cannot set it plays as loud as it is.
    if (!m_aliases[alias].isEmpty())
        command(QStringLiteral("setaudio %1 volume to %2")
                    .arg(m_aliases[alias])
                    .arg(std::lround(m_volume * 1000)));
}

bool WindowsSoundDevice::startRound(int alias)
{
    applyVolume(alias);
    if (!command(QStringLiteral("play %1 from 0").arg(m_aliases[alias])))
        return false;
    m_current = alias;
    m_heard = false;
    m_lastPosition = -1;
    m_roundStarted.start();
    m_lastMove.start();
    m_poll.start();
    return true;
}

void WindowsSoundDevice::startNextRound()
{
    if (m_over)
        return;
    m_nextRound.stop();
    const int next = 1 - m_current;
    if (m_aliases[next].isEmpty()) {
        m_aliases[next] = newAlias();
        if (!command(QStringLiteral("open \"%1\" type mpegvideo alias %2")
                         .arg(QDir::toNativeSeparators(QFileInfo(m_path).absoluteFilePath()),
                              m_aliases[next]))) {
            m_aliases[next].clear();
            fail();
            return;
        }
    }
    // The round that ends plays out its last moments under the next one's start.
    if (!startRound(next))
        fail();
}

void WindowsSoundDevice::scheduleNextRound(qint64 position)
{
    if (!m_repeat || m_length <= 0 || m_nextRound.isActive())
        return;
    m_nextRound.start(int(std::max<qint64>(0, m_length - position - kLeadMs)));
}

void WindowsSoundDevice::poll()
{
    if (m_over) {
        m_poll.stop();
        return;
    }
    const QString& alias = m_aliases[m_current];
    const qint64 position = number(alias, "position");
    QString mode;
    if (position < 0 || !command(QStringLiteral("status %1 mode").arg(alias), &mode)) {
        fail();
        return;
    }
    if (position != m_lastPosition) {
        m_lastPosition = position;
        m_lastMove.start();
    }
    const bool playing = mode == QLatin1String("playing");
    if (!m_heard) {
        if (position >= kHeardMs)
            markHeard();
        else if (m_roundStarted.elapsed() >= kStartTimeoutMs)
            fail();
        // Stopped by itself before it was heard for long enough: it was not heard at all.
        // (Right after "play" the mode may still read "stopped" for a moment.)
        else if (!playing && m_roundStarted.elapsed() >= 500)
            fail();
        return;
    }
    if (!playing)
        finish();
    else if (m_lastMove.elapsed() >= kStallMs)
        fail();
    else
        scheduleNextRound(position);
}

void WindowsSoundDevice::markHeard()
{
    m_heard = true;
    // The round before, which played out under this one's start, is over now.
    const QString& previous = m_aliases[1 - m_current];
    if (!previous.isEmpty())
        command(QStringLiteral("stop %1").arg(previous));
    scheduleNextRound(m_lastPosition);
    emit started(m_file, m_length > 0 ? m_length : -1);
}

void WindowsSoundDevice::finish()
{
    if (m_repeat) {
        // Usually the next round has started already; else it starts now.
        startNextRound();
        return;
    }
    m_over = true;
    closeAll();
    emit finished(m_file);
}

void WindowsSoundDevice::fail()
{
    closeAll();
    if (std::exchange(m_over, true))
        return;
    // Told from the event loop: the caller of play() may fall back at once.
    QMetaObject::invokeMethod(
        this,
        [this, number = m_playNumber, file = m_file] {
            if (number == m_playNumber)
                emit failed(file);
        },
        Qt::QueuedConnection);
}

void WindowsSoundDevice::closeAll()
{
    m_poll.stop();
    m_nextRound.stop();
    for (QString& alias : m_aliases) {
        if (alias.isEmpty())
            continue;
        command(QStringLiteral("stop %1").arg(alias));
        command(QStringLiteral("close %1").arg(alias));
        alias.clear();
    }
}

QString WindowsSoundDevice::beepsFile()
{
    // MCI plays only files: the beeps are written out once, to the user's temporary folder.
    if (!m_beepsFile.isEmpty() && QFileInfo(m_beepsFile).isFile())
        return m_beepsFile;
    const QString path = QStandardPaths::writableLocation(QStandardPaths::TempLocation) +
                         QStringLiteral("/chimewell-beeps-%1.wav").arg(GetCurrentProcessId());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(waveFile(beepSamples(22050), 22050)) < 0 ||
        !file.commit())
        return {};
    m_beepsFile = path;
    return path;
}

std::unique_ptr<SoundDevice> makeSoundDevice()
{
    return std::make_unique<WindowsSoundDevice>();
}

} // namespace chimewell
