#pragma once

#include "DayDialog.h"

class QLineEdit;
class QPushButton;

namespace chimewell {

/// `frmSchedule`, "Schedule alarm": sets or replaces the weekly alarm of one weekday.
class ScheduleDialog : public DayDialog
{
    Q_OBJECT
public:
    ScheduleDialog(PlatformServices& services, const QString& appDir, RefreshStatus refresh,
                   QWidget* parent = nullptr);

private:
    void loadDay();        // Go
    void browseForMusic(); // browse
    void saveDay();        // Schedule
    void cancelEdit();     // Cancel

    QComboBox* m_dayCombo;
    QLineEdit* m_reasonEdit;
    QLineEdit* m_timeEdit;
    QLineEdit* m_musicEdit;
};

} // namespace chimewell
