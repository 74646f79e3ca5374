#pragma once

#include <QtCore/QLocale>
#include <QtCore/QString>
#include <QtCore/QStringList>

namespace chimewell {

/// A text the user reads outside the windows' captions (a message, a notification, the status
/// line), which a language pack translates by a loose string of the same name. Numbered
/// places (%1, %2...) are filled in by translated(); a translation must keep every one of them.
struct Text
{
    const char* name;
    const char* english;
};

/// The loaded pack's words for `text` with its places filled in; the English words when no
/// pack is loaded, or the pack lacks the text or one of its places.
QString translated(const Text& text, const QStringList& fill = {});
/// The loaded pack's language, for what Qt words itself (weekday names); English without one.
QLocale translatedLocale();

namespace texts {

inline constexpr Text stop{"AlarmStop", "Stop"};
inline constexpr Text snooze{"AlarmSnooze", "Snooze 5 minutes"};
inline constexpr Text missedPrefix{"MissedAlarm", "Missed alarm:"};
inline constexpr Text nextPrefix{"NextAlarm", "Next alarm:"};
inline constexpr Text alarm{"AlarmText", "It's %1. Time for %2."};
inline constexpr Text noSound{"NoSound", "No sound could be played."};
inline constexpr Text scheduledActive{"StatusScheduled", "Scheduled alarm active (%1)"};
inline constexpr Text alarmActive{"StatusActive", "Alarm active"};
inline constexpr Text noAlarm{"StatusNone", "No alarm active..."};
inline constexpr Text fillInAllFields{"FillInAllFields", "Please fill in all fields"};
inline constexpr Text timeFormat{"TimeFormat",
                                 "Please enter the time as hh:mm, for example 07:30."};
inline constexpr Text chooseFileToPlay{"ChooseFileToPlay", "You must select a file to play"};
inline constexpr Text chooseDay{"ChooseDay", "Please choose a day from the list."};
inline constexpr Text dayAdded{"DayAdded", "Succesfully added alarm for %1"};
inline constexpr Text dayDeleted{"DayDeleted", "Succesfully deleted alarm for %1"};
inline constexpr Text dayNotSaved{"DayNotSaved", "The alarm for %1 could not be saved in %2 (%3)."};
inline constexpr Text settingNotSaved{"SettingNotSaved",
                                      "The setting could not be saved in %1 (%2)."};
inline constexpr Text logOnNotSaved{"LogOnNotSaved", "The log-on entry %1 could not be changed."};
inline constexpr Text packNotLoaded{"PackNotLoaded", "The language pack could not be loaded:\n%1"};
inline constexpr Text folderMissing{"FolderMissing", "%1 doesn't exist."};
inline constexpr Text welcome{"Welcome",
                              "Thank you for choosing Chimewell.\r\nBecause this is the first "
                              "time you open Chimewell\r\nyou will be taken to the options "
                              "immediately."};

/// Every text above, for the pack tool's template and check.
inline constexpr Text all[] = {
    stop,        snooze,           missedPrefix,  nextPrefix,    alarm,
    noSound,     scheduledActive,  alarmActive,   noAlarm,       fillInAllFields,
    timeFormat,  chooseFileToPlay, chooseDay,     dayAdded,      dayDeleted,
    dayNotSaved, settingNotSaved,  logOnNotSaved, packNotLoaded, folderMissing,
    welcome};

} // namespace texts
} // namespace chimewell
