#pragma once

#include "AlarmCommands.h"
#include "storage/Loudness.h"

#include <QtCore/QDateTime>
#include <QtCore/QObject>
#include <functional>
#include <optional>
#include <string>

namespace chimewell {

class AlarmBell;
class MediaPlayers;
class NoticeBoard;
class SoundOutput;
class TextSource;
struct Text;

/// Sees to it that an alarm is not rung into silence. While the sound output is muted or
/// turned down and an alarm is due within 12 hours, it warns (the status line and tooltip,
/// and once a notice with a button that unmutes); a ringing alarm's notice says so too. While
/// an alarm rings it unmutes the output when the settings ask for it and puts it back after,
/// and pauses the media players that play, to play them again after.
class OutputWatch : public QObject
{
    Q_OBJECT
public:
    /// `setting` reads a value of the settings' options as it stands now. Without an output
    /// (none known) it warns of nothing; without players, none are paused.
    OutputWatch(SoundOutput* output, MediaPlayers* players, AlarmBell& bell, NoticeBoard& notices,
                const TextSource& texts, std::function<std::string(std::string_view)> setting,
                QObject* parent = nullptr);
    ~OutputWatch() override;

    /// The next alarm (none to come) and the time now: the warning follows them.
    void look(const std::optional<QDateTime>& next, const QDateTime& now);
    AlarmCommands::OutputWarning warning() const { return m_warning; }
    /// The warning in the pack's words ("Muted: the 07:00 alarm will not be heard"); empty for
    /// none.
    using Words = std::function<QString(const Text&, const QStringList&)>;
    static QString words(const AlarmCommands::OutputWarning& warning, const Words& say);

signals:
    void warningChanged();

private:
    /// What the ringing alarms' notices say of the output: at every change of it, not of the
    /// clock.
    void noteForRinging();
    /// The warning, after a change of the output or of the next alarm, or the clock's tick.
    void update();
    void onRinging(bool ringing);
    void raiseForRing();
    void unmuteNow();

    SoundOutput* m_output;
    MediaPlayers* m_players;
    AlarmBell& m_bell;
    NoticeBoard& m_notices;
    const TextSource& m_texts;
    std::function<std::string(std::string_view)> m_setting;
    std::optional<QDateTime> m_next;
    QDateTime m_now;
    AlarmCommands::OutputWarning m_warning;
    WarningOnce m_once;
    RingUnmute m_unmute;
    WhenMuted m_whenMuted = WhenMuted::Warn; // as the settings said when the ring began
    bool m_ringing = false;
    bool m_playersPaused = false;
    int m_notice = 0; // the warning's notice while it shows
};

} // namespace chimewell
