#pragma once

#include <QtCore/QDate>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <chrono>

namespace chimewell {

/// One alarm as it rings: what it tells, what it plays, what it opens, how long it rings and
/// how long a snooze of it lasts.
struct Alarm
{
    enum class Kind
    {
        OneShot,
        Weekly,
        Timer
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
    std::chrono::minutes snoozeFor{5};
    /// Weekly: the weekday (0 for Sunday) of the day file it is in.
    int weekday = -1;
    /// How the command line and D-Bus name it ("once", "monday.2", "t7").
    QString id;
    /// How loud it plays, in percent of its sound's own loudness, and over how many seconds it
    /// fades in at first.
    int volume = 100;
    int fadeSeconds = 0;
};

/// An alarm that passed while the program could not ring it, and when it was due.
struct MissedAlarm
{
    Alarm alarm;
    QDate day;
};

} // namespace chimewell
