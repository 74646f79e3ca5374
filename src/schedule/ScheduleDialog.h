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
    void Command2_Click(); // Go
    void Command1_Click(); // browse
    void Command3_Click(); // Schedule
    void Command4_Click(); // Cancel

    QComboBox* m_combo1;
    QLineEdit* m_text1;
    QLineEdit* m_text2;
    QLineEdit* m_text4;
};

} // namespace chimewell
