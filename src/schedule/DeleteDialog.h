#pragma once

#include "DayDialog.h"

namespace chimewell {

/// `frmDelete`, "Delete alarm": blanks the weekly alarm of one weekday.
class DeleteDialog : public DayDialog
{
    Q_OBJECT
public:
    DeleteDialog(PlatformServices& services, const QString& appDir, RefreshStatus refresh,
                 QWidget* parent = nullptr);

private:
    void deleteDay();

    QComboBox* m_dayCombo;
};

} // namespace chimewell
