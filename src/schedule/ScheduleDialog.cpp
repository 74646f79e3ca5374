#include "ScheduleDialog.h"

#include "platform/FilePicker.h"
#include "platform/FormLayout.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/QtText.h"
#include "storage/AlarmTime.h"
#include "storage/DaySchedule.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

namespace chimewell {
// Language packs address the window and its controls by these names: keep them as they are.
constexpr struct
{
    const char *window = "frmSchedule", *dayBox = "Frame4", *dayCombo = "Combo1",
               *goHolder = "Picture2", *go = "Command2", *alarmBox = "Frame1",
               *reasonLabel = "Label2", *reasonEdit = "Text1", *timeLabel = "Label3",
               *timeEdit = "Text2", *musicLabel = "Label4", *musicEdit = "Text4",
               *browseHolder = "Picture1", *browse = "Command1", *schedule = "Command3",
               *cancel = "Command4";
} packName{};

using form::named;
using form::place;
using form::verdana;

ScheduleDialog::ScheduleDialog(PlatformServices& services, const QString& appDir,
                               RefreshStatus refresh, QWidget* parent)
    : DayDialog(services, appDir, std::move(refresh), parent)
{
    setObjectName(QString::fromLatin1(packName.window));
    setWindowTitle(QStringLiteral("Schedule alarm"));
    setFixedSize(form::px(4695), form::px(4125));

    auto* dayBox = named(new QGroupBox(QStringLiteral("Select day"), this), packName.dayBox);
    dayBox->setFont(verdana(8.25, true));
    place(dayBox, 120, 120, 2535, 855);
    m_dayCombo = named(new QComboBox(dayBox), packName.dayCombo);
    m_dayCombo->setFont(form::defaultFont());
    place(m_dayCombo, 240, 360, 1335, 315);
    fillDays(m_dayCombo);
    auto* goHolder = named(new QWidget(dayBox), packName.goHolder);
    place(goHolder, 1680, 240, 735, 375);
    auto* go = named(new QPushButton(QStringLiteral("Go"), goHolder), packName.go);
    go->setFont(verdana(8.25, true));
    place(go, 120, 0, 495, 375);

    auto* alarmBox = named(new QGroupBox(QStringLiteral("Alarm"), this), packName.alarmBox);
    alarmBox->setFont(verdana(8.25, true));
    place(alarmBox, 120, 1080, 4455, 2415);
    auto label = [alarmBox](const char* name, const QString& text) {
        auto* l = named(new QLabel(text, alarmBox), name);
        l->setFont(verdana(8.25));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    auto edit = [alarmBox](const char* name, const QString& text) {
        auto* e = named(new QLineEdit(text, alarmBox), name);
        e->setFont(form::defaultFont());
        return e;
    };
    place(label(packName.reasonLabel, QStringLiteral("Reason for alarm")), 240, 360, 2775, 375);
    m_reasonEdit = edit(packName.reasonEdit, {});
    place(m_reasonEdit, 240, 600, 4095, 315);
    place(label(packName.timeLabel, QStringLiteral("Time (hh:mm)")), 240, 1080, 1815, 375);
    m_timeEdit = edit(packName.timeEdit, QStringLiteral("13:00"));
    place(m_timeEdit, 240, 1320, 615, 285);
    place(label(packName.musicLabel, QStringLiteral("Select music source")), 240, 1680, 3015, 375);
    m_musicEdit = edit(packName.musicEdit, {});
    place(m_musicEdit, 240, 1920, 3135, 285);
    auto* browseHolder = named(new QWidget(alarmBox), packName.browseHolder);
    place(browseHolder, 3480, 1680, 855, 615);
    auto* browse = named(new QPushButton(QStringLiteral("..."), browseHolder), packName.browse);
    browse->setFont(verdana(8.25, true));
    browse->setToolTip(QStringLiteral("Browse for file"));
    place(browse, 120, 120, 615, 375);

    auto* schedule = named(new QPushButton(QStringLiteral("Schedule"), this), packName.schedule);
    schedule->setFont(verdana(8.25, true));
    schedule->setDefault(true);
    place(schedule, 960, 3600, 1455, 375);
    auto* cancel = named(new QPushButton(QStringLiteral("Cancel"), this), packName.cancel);
    cancel->setFont(verdana(8.25, true));
    place(cancel, 2520, 3600, 1455, 375);

    // The designed tab order: browse, sound, time, reason, Schedule, Cancel, day, Go.
    QWidget* order[] = {browse,   m_musicEdit, m_timeEdit, m_reasonEdit,
                        schedule, cancel,      m_dayCombo, go};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(go, &QPushButton::clicked, this, &ScheduleDialog::loadDay);
    connect(browse, &QPushButton::clicked, this, &ScheduleDialog::browseForMusic);
    connect(schedule, &QPushButton::clicked, this, &ScheduleDialog::saveDay);
    connect(cancel, &QPushButton::clicked, this, &ScheduleDialog::cancelEdit);
}

void ScheduleDialog::loadDay()
{
    const auto day = chosenDay(m_dayCombo);
    if (!day)
        return;
    const std::string appDir = toStd(m_appDir);
    m_reasonEdit->setText(toQ(readDayValue(appDir, toStd(*day), kReasonKey)));
    m_timeEdit->setText(toQ(readDayValue(appDir, toStd(*day), kTimeKey)));
    m_musicEdit->setText(toQ(readDayValue(appDir, toStd(*day), kMusicKey)));
}

void ScheduleDialog::browseForMusic()
{
    if (const auto file = m_services.picker->openFile(
            this, parseFilterList(QString::fromLatin1(kMusicFilterList)), 0))
        m_musicEdit->setText(*file);
}

void ScheduleDialog::saveDay()
{
    if (m_reasonEdit->text().isEmpty() || m_timeEdit->text().isEmpty()) {
        m_services.messages->show(QStringLiteral("Please fill in all fields"),
                                  MessageIcon::Exclamation);
        return;
    }
    const auto day = chosenDay(m_dayCombo);
    if (!day)
        return;
    const auto minutes = parseTimeOfDay(toStd(m_timeEdit->text()));
    if (!minutes) {
        m_services.messages->show(toQ(kTimeFormatText), MessageIcon::Exclamation);
        return;
    }
    const std::string time = formatTimeOfDay(*minutes);
    std::string error;
    if (!writeDayAlarm(toStd(m_appDir), toStd(*day), toStd(m_reasonEdit->text()), time,
                       toStd(m_musicEdit->text()), &error)) {
        reportWriteFailure(*day, error);
        return; // the dialog stays open with what the user typed
    }
    m_timeEdit->setText(toQ(time));
    m_services.messages->show(QStringLiteral("Succesfully added alarm for ") + *day,
                              MessageIcon::Information);
    if (m_refresh)
        m_refresh(true);
    close();
}

void ScheduleDialog::cancelEdit()
{
    close();
}

} // namespace chimewell
