#include "DeleteDialog.h"

#include "alarm/AlarmCommands.h"
#include "lang/Texts.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "storage/DaySchedule.h"
#include "widgets/FormLayout.h"
#include "widgets/QtText.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QPushButton>

namespace chimewell {

using form::named;

DeleteDialog::DeleteDialog(PlatformServices& services, const QString& appDir, AlarmCommands& alarms,
                           QWidget* parent)
    : DayDialog(services, appDir, alarms, parent)
{
    const DeleteDialogNames& name = deleteDialogNames;
    setObjectName(QLatin1String(name.window));
    setWindowTitle(QStringLiteral("Delete alarm"));
    setFixedSize(form::px(4335), form::px(1200));

    auto* dayBox =
        named(new QGroupBox(QStringLiteral("Delete alarm from specific day"), this), name.dayBox);
    dayBox->setFont(form::verdana(8.25, true));
    form::place(dayBox, 120, 120, 4095, 975);
    m_dayCombo = dayList(dayBox, name.dayCombo);
    auto* buttonHolder = named(new QWidget(dayBox), name.buttonHolder);
    form::place(buttonHolder, 1680, 240, 2175, 615);
    auto* remove =
        named(new QPushButton(QStringLiteral("Delete"), buttonHolder), name.deleteButton);
    remove->setFont(form::verdana(8.25, true));
    remove->setAutoDefault(false); // not the default button: Enter does not delete
    form::place(remove, 120, 120, 1935, 375);
    setTabOrder(m_dayCombo, remove);

    connect(remove, &QPushButton::clicked, this, &DeleteDialog::deleteDay);
}

void DeleteDialog::deleteDay()
{
    const auto day = chosenDay(m_dayCombo);
    if (!day)
        return;
    std::string error;
    const DayAlarms before = readDayAlarms(toStd(m_appDir), toStd(*day));
    if (!m_alarms.clearFirstDayAlarm(weekdayOf(*day), &error)) {
        reportWriteFailure(*day, error);
        return;
    }
    tellDone(*day, before, texts::dayDeleted, texts::dayDeletedOne, nullptr);
    close();
}

} // namespace chimewell
