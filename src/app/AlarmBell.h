#pragma once

#include <QtCore/QDateTime>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <functional>
#include <optional>

namespace chimewell {

class AlarmSound;
class Clock;
class TrayModule;

/// Rings an alarm, its sound and a notice that stays, until the user stops or snoozes it or
/// the sound ends; and tells, without sound, an alarm that passed while the program could not
/// run. The notice carries Stop and Snooze where the desktop shows buttons on notifications;
/// the tray menu offers the same while the alarm rings.
class AlarmBell : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSnoozeSeconds = 5 * 60;

    enum class Source
    {
        OneShot,
        Weekly
    };

    /// A text the language pack may translate: its loose-string name, and the English one.
    struct Text
    {
        const char* name;
        const char* english;
    };
    static constexpr Text kStopText{"AlarmStop", "Stop"};
    static constexpr Text kSnoozeText{"AlarmSnooze", "Snooze 5 minutes"};
    static constexpr Text kMissedText{"MissedAlarm", "Missed alarm:"};
    static constexpr Text kNextText{"NextAlarm", "Next alarm:"};
    static constexpr Text kAllTexts[] = {kStopText, kSnoozeText, kMissedText, kNextText};

    /// Looks up a pack's loose string by name; empty when the pack has none.
    using StringLookup = std::function<QString(const QString& name)>;

    AlarmBell(AlarmSound& sound, TrayModule& tray, const Clock& clock, QObject* parent = nullptr);

    void setStrings(StringLookup lookup) { m_strings = std::move(lookup); }
    /// The pack's text, or the English one.
    QString text(const Text& text) const;

    /// Plays `soundFile` (the default chime when empty) and shows `message` as an alarm.
    void ring(Source source, const QString& soundFile, const QString& message);
    /// Tells an alarm that was missed; returns the text shown.
    QString tellMissed(const QString& message);
    /// Silences the alarm; whatever is armed stays armed.
    void stop();
    /// Silences the alarm and rings it again, sound and notice, `kSnoozeSeconds` from now.
    void snooze();
    /// The alarm of `source` was switched off: it neither rings on nor comes back.
    void cancel(Source source);
    /// Rings a snoozed alarm once its time has come; called every second.
    void tick();

    bool isRinging() const { return m_ringing; }
    std::optional<QDateTime> snoozedUntil() const { return m_snoozeUntil; }

signals:
    void ringingChanged(bool ringing);

private:
    struct Alarm
    {
        Source source;
        QString soundFile;
        QString message;
    };
    void setRinging(bool ringing);
    void onAction(const QString& key);

    AlarmSound& m_sound;
    TrayModule& m_tray;
    const Clock& m_clock;
    StringLookup m_strings;
    std::optional<Alarm> m_last;
    std::optional<QDateTime> m_snoozeUntil;
    bool m_ringing = false;
};

} // namespace chimewell
