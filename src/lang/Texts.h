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

/// Where the words of loose texts come from: the language pack the program uses.
class TextSource
{
public:
    virtual ~TextSource() = default;
    /// The words for `text` with its places filled in; the English words when the source
    /// lacks the text or one of its places.
    virtual QString words(const Text& text, const QStringList& fill = {}) const = 0;
    /// The language, for what Qt words itself (weekday and month names).
    virtual QLocale locale() const = 0;
};

/// The loaded pack's words for `text` with its places filled in; the English words when no
/// pack is loaded, or the pack lacks the text or one of its places.
QString translated(const Text& text, const QStringList& fill = {});
/// The loaded pack's language, for what Qt words itself (weekday names); English without one.
QLocale translatedLocale();

namespace texts {

inline constexpr Text stop{"AlarmStop", "Stop"};
inline constexpr Text snooze{"AlarmSnooze", "Snooze %1 minutes"};
inline constexpr Text traySnooze{"TraySnooze", "S&nooze %1 minutes"};
inline constexpr Text close{"NoticeClose", "Close"};
inline constexpr Text missedPrefix{"MissedAlarm", "Missed alarm:"};
inline constexpr Text missedOn{"MissedAlarmOn", "Missed alarm on %1:"};
inline constexpr Text andMore{"AndMore", "... and %1 more (the full list is in the notice window)"};
inline constexpr Text nextPrefix{"NextAlarm", "Next alarm:"};
inline constexpr Text alarm{"AlarmText", "It's %1. Time for %2."};
inline constexpr Text noSound{"NoSound", "No sound could be played."};
inline constexpr Text dayFileRefused{"DayFileRefused",
                                     "%1 is not read (%2). Its alarms cannot ring until it can "
                                     "be read."};
inline constexpr Text settingsRefused{"SettingsRefused",
                                      "%1 is not read (%2). Chimewell goes on with its own "
                                      "settings and does not write over it."};
inline constexpr Text filesNotWritable{
    "FilesNotWritable", "Chimewell cannot keep what you change here: %1. It goes on, but new "
                        "alarms and settings are lost when it ends. Run it from a folder of your "
                        "own to keep them."};
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
inline constexpr Text dayReplaced{
    "DayReplaced", "Succesfully added alarm for %1 in place of its alarm at %2 (%3). The day's "
                   "%4 other alarms stay as they were."};
inline constexpr Text dayAddedBeside{"DayAddedBeside",
                                     "Succesfully added alarm for %1. The day's %2 other alarms "
                                     "stay as they were."};
inline constexpr Text dayDeletedOne{
    "DayDeletedOne", "Succesfully deleted the alarm at %2 (%3) for %1. The day's %4 other alarms "
                     "stay as they were."};
inline constexpr Text snoozedActive{"StatusSnoozed", "Snoozed alarm active (%1)"};
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
// The list of alarms and its editor.
inline constexpr Text everyDay{"EveryDay", "Every day"};
inline constexpr Text columnOn{"ColumnOn", "On"};
inline constexpr Text columnDays{"ColumnDays", "Days"};
inline constexpr Text columnTime{"ColumnTime", "Time"};
inline constexpr Text columnReason{"ColumnReason", "Reason"};
inline constexpr Text columnSound{"ColumnSound", "Sound"};
inline constexpr Text columnRings{"ColumnRings", "Rings"};
inline constexpr Text columnSnooze{"ColumnSnooze", "Snooze"};
inline constexpr Text ringOnce{"RingOnce", "Once"};
inline constexpr Text minutesShort{"MinutesShort", "%1 min"};
inline constexpr Text asInOptions{"AsInOptions", "As in Options (%1)"};
inline constexpr Text asInOptionsChoice{"AsInOptionsChoice", "As in Options"};
inline constexpr Text defaultSound{"DefaultSound", "The default chime"};
inline constexpr Text notATime{"NotATime", "%1 (not a time)"};
inline constexpr Text deleteQuestion{"DeleteQuestion", "Delete the alarm \"%1\" at %2 on %3?"};
inline constexpr Text badTime{"BadTime",
                              "%1: \"%2\" is not a time as hh:mm on the 24-hour clock. Nothing "
                              "was saved."};
inline constexpr Text chooseDays{"ChooseDays", "Please tick at least one day. Nothing was saved."};
inline constexpr Text nothingSaved{"NothingSaved", "Nothing was saved:\n%1"};
inline constexpr Text partlySaved{"PartlySaved",
                                  "The alarm was saved for %1 only: not for %2 (%3). The editor "
                                  "shows it as it is saved now."};
inline constexpr Text changedMeanwhile{"ChangedMeanwhile",
                                       "%1 was changed by another program while the alarm was "
                                       "open. Nothing was saved; the list now shows the file as "
                                       "it is."};
// Timers.
inline constexpr Text timerName{"TimerName", "Timer"};
inline constexpr Text timerActive{"StatusTimer", "Timer active (%1)"};
inline constexpr Text timerMenu{"TimerMenu", "T&imer"};
inline constexpr Text timerMinutes{"TimerMinutes", "%1 minutes"};
inline constexpr Text timerOther{"TimerOther", "&Other..."};
inline constexpr Text timerCancel{"TimerCancel", "Cancel \"%1\" (%2 left)"};
inline constexpr Text timerMore{"TimerMore", "... and %1 more timers"};
inline constexpr Text timerLength{"TimerLength", "&Length (20m, 90s, 1h30m, or minutes):"};
inline constexpr Text timerReason{"TimerReason", "&Name:"};
inline constexpr Text timerBadLength{"TimerBadLength",
                                     "Please enter a length from 1 second to 24 hours, such as "
                                     "20m, 90s, 1h30m or 25 (minutes)."};
inline constexpr Text timerRefused{"TimerRefused", "The timer could not be started: %1"};
// The sound output.
inline constexpr Text outputMuted{"OutputMuted", "Muted: the %1 alarm will not be heard"};
inline constexpr Text outputQuiet{"OutputQuiet", "Sound at %1 %: the %2 alarm may not be heard"};
inline constexpr Text unmuteNow{"UnmuteNow", "Unmute now"};
inline constexpr Text turnUpNow{"TurnUpNow", "Turn up to %1 %"};
inline constexpr Text ringMuted{"RingMuted", "The sound output is muted."};
inline constexpr Text ringQuiet{"RingQuiet", "The sound output is at %1 %."};
inline constexpr Text fadeOff{"FadeOff", "Off"};
inline constexpr Text secondsShort{"SecondsShort", "%1 s"};
inline constexpr Text whenMutedWarn{"WhenMutedWarn", "Warn me"};
inline constexpr Text whenMutedUnmute{"WhenMutedUnmute", "Unmute while an alarm rings"};

/// Every text above, for the pack tool's template and check.
inline constexpr Text all[] = {stop,
                               snooze,
                               traySnooze,
                               close,
                               missedPrefix,
                               missedOn,
                               andMore,
                               nextPrefix,
                               alarm,
                               noSound,
                               dayFileRefused,
                               settingsRefused,
                               filesNotWritable,
                               scheduledActive,
                               alarmActive,
                               noAlarm,
                               fillInAllFields,
                               timeFormat,
                               chooseFileToPlay,
                               chooseDay,
                               dayAdded,
                               dayDeleted,
                               dayReplaced,
                               dayAddedBeside,
                               dayDeletedOne,
                               snoozedActive,
                               dayNotSaved,
                               settingNotSaved,
                               logOnNotSaved,
                               packNotLoaded,
                               folderMissing,
                               welcome,
                               everyDay,
                               columnOn,
                               columnDays,
                               columnTime,
                               columnReason,
                               columnSound,
                               columnRings,
                               columnSnooze,
                               ringOnce,
                               minutesShort,
                               asInOptions,
                               asInOptionsChoice,
                               defaultSound,
                               notATime,
                               deleteQuestion,
                               badTime,
                               chooseDays,
                               nothingSaved,
                               partlySaved,
                               changedMeanwhile,
                               timerName,
                               timerActive,
                               timerMenu,
                               timerMinutes,
                               timerOther,
                               timerCancel,
                               timerMore,
                               timerLength,
                               timerReason,
                               timerBadLength,
                               timerRefused,
                               outputMuted,
                               outputQuiet,
                               unmuteNow,
                               turnUpNow,
                               ringMuted,
                               ringQuiet,
                               fadeOff,
                               secondsShort,
                               whenMutedWarn,
                               whenMutedUnmute};

} // namespace texts
} // namespace chimewell
