#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <chrono>

namespace chimewell {

/// One alarm as it rings: what it tells, what it plays, what it opens and how long it rings.
struct Alarm
{
    enum class Kind
    {
        OneShot,
        Weekly
    };
    Kind kind = Kind::OneShot;
    /// The time as the user wrote it ("7:30" stays "7:30" in the message).
    QString time;
    QString reason;
    /// Empty: the default chime.
    QString soundFile;
    /// Web addresses and files opened as it rings.
    QStringList targets;
    /// How long its sound repeats; zero plays it once, to its end.
    std::chrono::seconds ringFor{0};
};

/// "It's 13:00. Time for Meeting." in the pack's words; an overlong reason is shortened.
QString alarmMessage(const Alarm& alarm);
inline constexpr int kReasonShownLimit = 200;

} // namespace chimewell
