#include "ScheduleDialog.h"

#include "AlarmFields.h"
#include "alarm/AlarmCommands.h"
#include "lang/Texts.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "storage/AlarmTime.h"
#include "storage/DaySchedule.h"
#include "widgets/FormLayout.h"
#include "widgets/QtText.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

namespace chimewell {

using form::named;
using form::place;
using form::verdana;

ScheduleDialog::ScheduleDialog(PlatformServices& services, const QString& appDir,
                               AlarmCommands& alarms, QWidget* parent)
    : DayDialog(services, appDir, alarms, parent)
{
    const ScheduleDialogNames& name = scheduleDialogNames;
    setObjectName(QLatin1String(name.window));
    setWindowTitle(QStringLiteral("Schedule alarm"));
    setFixedSize(form::px(4695), form::px(4125));

    auto* dayBox = named(new QGroupBox(QStringLiteral("Select day"), this), name.dayBox);
    dayBox->setFont(verdana(8.25, true));
    place(dayBox, 120, 120, 2535, 855);
    m_dayCombo = dayList(dayBox, name.dayCombo);
    auto* goHolder = named(new QWidget(dayBox), name.goHolder);
    place(goHolder, 1680, 240, 735, 375);
    auto* go = named(new QPushButton(QStringLiteral("Go"), goHolder), name.go);
    go->setFont(verdana(8.25, true));
    place(go, 120, 0, 495, 375);

    m_fields = new AlarmFields(*services.picker, 1080, 2415, this);
    m_fields->browseButton()->setFont(verdana(8.25, true));

    auto* schedule = named(new QPushButton(QStringLiteral("Schedule"), this), name.schedule);
    schedule->setFont(verdana(8.25, true));
    schedule->setDefault(true);
    place(schedule, 960, 3600, 1455, 375);
    auto* cancel = named(new QPushButton(QStringLiteral("Cancel"), this), name.cancel);
    cancel->setFont(verdana(8.25, true));
    place(cancel, 2520, 3600, 1455, 375);

    // Reading order: the day and Go, the alarm's fields, then Schedule and Cancel.
    setTabOrder(m_dayCombo, go);
    setTabOrder(go, m_fields->reasonEdit());
    setTabOrder(m_fields->browseButton(), schedule);
    setTabOrder(schedule, cancel);

    connect(go, &QPushButton::clicked, this, &ScheduleDialog::loadDay);
    connect(schedule, &QPushButton::clicked, this, &ScheduleDialog::saveDay);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

void ScheduleDialog::loadDay()
{
    const auto day = chosenDay(m_dayCombo);
    if (!day)
        return;
    const std::string appDir = toStd(m_appDir);
    m_fields->reasonEdit()->setText(toQ(readDayValue(appDir, toStd(*day), kReasonKey)));
    m_fields->timeEdit()->setText(toQ(readDayValue(appDir, toStd(*day), kTimeKey)));
    m_fields->musicEdit()->setText(toQ(readDayValue(appDir, toStd(*day), kMusicKey)));
}

void ScheduleDialog::saveDay()
{
    const auto alarm = m_fields->validated(*m_services.messages);
    if (!alarm)
        return;
    const auto day = chosenDay(m_dayCombo);
    if (!day)
        return;
    std::string error;
    const DayAlarms before = readDayAlarms(toStd(m_appDir), toStd(*day));
    DayAlarm put;
    put.reason = toStd(alarm->reason);
    put.time = formatTimeOfDay(alarm->minuteOfDay);
    put.music = toStd(alarm->music);
    if (!m_alarms.putFirstDayAlarm(weekdayOf(*day), put, &error)) {
        reportWriteFailure(*day, error);
        return; // the dialog stays open with what the user typed
    }
    tellDone(*day, before, texts::dayAdded, texts::dayReplaced, &texts::dayAddedBeside);
    close();
}

} // namespace chimewell
