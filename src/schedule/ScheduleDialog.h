#pragma once

#include "DayDialog.h"

namespace chimewell {

class AlarmFields;

// Language packs address the window and its controls by these names (the alarm's fields by
// alarmFieldNames): keep them as they are.
inline constexpr struct ScheduleDialogNames
{
    const char *window = "frmSchedule", *dayBox = "Frame4", *dayCombo = "Combo1",
               *goHolder = "Picture2", *go = "Command2", *schedule = "Command3",
               *cancel = "Command4";
} scheduleDialogNames{};

/// `frmSchedule`, "Schedule alarm": sets or replaces the weekly alarm of one weekday.
class ScheduleDialog : public DayDialog
{
    Q_OBJECT
public:
    ScheduleDialog(PlatformServices& services, const QString& appDir, AlarmCommands& alarms,
                   QWidget* parent = nullptr);

private:
    void loadDay(); // Go
    void saveDay(); // Schedule

    QComboBox* m_dayCombo;
    AlarmFields* m_fields;
};

} // namespace chimewell
