#pragma once

#include "DayDialog.h"

namespace chimewell {

// Language packs address the window and its controls by these names: keep them as they are.
inline constexpr struct DeleteDialogNames
{
    const char *window = "frmDelete", *dayBox = "Frame3", *dayCombo = "Combo2",
               *buttonHolder = "Picture3", *deleteButton = "Command5";
} deleteDialogNames{};

/// `frmDelete`, "Delete alarm": blanks the weekly alarm of one weekday.
class DeleteDialog : public DayDialog
{
    Q_OBJECT
public:
    DeleteDialog(PlatformServices& services, const QString& appDir, AlarmCommands& alarms,
                 QWidget* parent = nullptr);

private:
    void deleteDay();

    QComboBox* m_dayCombo;
};

} // namespace chimewell
