#pragma once

#include "lang/Texts.h"
#include "storage/DaySchedule.h"

#include <QtWidgets/QDialog>
#include <optional>

class QComboBox;

namespace chimewell {

class AlarmCommands;
struct PlatformServices;

/// What the two schedule dialogs share: a day list and the messages. They change the day files
/// through the alarms.
class DayDialog : public QDialog
{
    Q_OBJECT
public:
    /// The seven day names in the order the lists show them.
    static const QStringList kListedDays;

    DayDialog(PlatformServices& services, const QString& appDir, AlarmCommands& alarms,
              QWidget* parent = nullptr);

protected:
    /// A day list in `box` (where its frame names it for screen readers), showing "Monday"
    /// with no entry selected.
    static QComboBox* dayList(QWidget* box, const char* name);
    /// The English name of the day typed or chosen in `combo`; nothing, after telling the
    /// user, when it is not one of the seven days.
    std::optional<QString> chosenDay(QComboBox* combo);
    /// 0 for "Sunday" to 6 for "Saturday".
    static int weekdayOf(const QString& day);
    /// Tells the user that the day file could not be written.
    void reportWriteFailure(const QString& day, const std::string& error);
    /// Tells what a write to `day`'s "alarm" did, as the day was before it (`before`): in the
    /// words `alone` where the day held no other alarm, else naming the alarm `replaced`
    /// (or `beside` when "alarm" held none) and the others that stay.
    void tellDone(const QString& day, const DayAlarms& before, const Text& alone,
                  const Text& replaced, const Text* beside);
    void keyPressEvent(QKeyEvent* event) override;

    PlatformServices& m_services;
    QString m_appDir;
    AlarmCommands& m_alarms;
};

} // namespace chimewell
