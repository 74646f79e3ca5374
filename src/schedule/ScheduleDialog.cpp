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

using form::named;
using form::place;
using form::verdana;

ScheduleDialog::ScheduleDialog(PlatformServices& services, const QString& appDir,
                               RefreshStatus refresh, QWidget* parent)
    : DayDialog(services, appDir, std::move(refresh), parent)
{
    setObjectName(QStringLiteral("frmSchedule"));
    setWindowTitle(QStringLiteral("Schedule alarm"));
    setFixedSize(form::px(4695), form::px(4125));

    auto* frame4 = named(new QGroupBox(QStringLiteral("Select day"), this), "Frame4");
    frame4->setFont(verdana(8.25, true));
    place(frame4, 120, 120, 2535, 855);
    m_combo1 = named(new QComboBox(frame4), "Combo1");
    m_combo1->setFont(form::defaultFont());
    place(m_combo1, 240, 360, 1335, 315);
    fillDays(m_combo1);
    auto* picture2 = named(new QWidget(frame4), "Picture2");
    place(picture2, 1680, 240, 735, 375);
    auto* go = named(new QPushButton(QStringLiteral("Go"), picture2), "Command2");
    go->setFont(verdana(8.25, true));
    place(go, 120, 0, 495, 375);

    auto* frame1 = named(new QGroupBox(QStringLiteral("Alarm"), this), "Frame1");
    frame1->setFont(verdana(8.25, true));
    place(frame1, 120, 1080, 4455, 2415);
    auto label = [frame1](const char* name, const QString& text) {
        auto* l = named(new QLabel(text, frame1), name);
        l->setFont(verdana(8.25));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    auto edit = [frame1](const char* name, const QString& text) {
        auto* e = named(new QLineEdit(text, frame1), name);
        e->setFont(form::defaultFont());
        return e;
    };
    place(label("Label2", QStringLiteral("Reason for alarm")), 240, 360, 2775, 375);
    m_text1 = edit("Text1", {});
    place(m_text1, 240, 600, 4095, 315);
    place(label("Label3", QStringLiteral("Time (hh:mm)")), 240, 1080, 1815, 375);
    m_text2 = edit("Text2", QStringLiteral("13:00"));
    place(m_text2, 240, 1320, 615, 285);
    place(label("Label4", QStringLiteral("Select music source")), 240, 1680, 3015, 375);
    m_text4 = edit("Text4", {});
    place(m_text4, 240, 1920, 3135, 285);
    auto* picture1 = named(new QWidget(frame1), "Picture1");
    place(picture1, 3480, 1680, 855, 615);
    auto* browse = named(new QPushButton(QStringLiteral("..."), picture1), "Command1");
    browse->setFont(verdana(8.25, true));
    browse->setToolTip(QStringLiteral("Browse for file"));
    place(browse, 120, 120, 615, 375);

    auto* schedule = named(new QPushButton(QStringLiteral("Schedule"), this), "Command3");
    schedule->setFont(verdana(8.25, true));
    schedule->setDefault(true);
    place(schedule, 960, 3600, 1455, 375);
    auto* cancel = named(new QPushButton(QStringLiteral("Cancel"), this), "Command4");
    cancel->setFont(verdana(8.25, true));
    place(cancel, 2520, 3600, 1455, 375);

    // The designed tab order: browse, sound, time, reason, Schedule, Cancel, day, Go.
    QWidget* order[] = {browse, m_text4, m_text2, m_text1, schedule, cancel, m_combo1, go};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(go, &QPushButton::clicked, this, &ScheduleDialog::Command2_Click);
    connect(browse, &QPushButton::clicked, this, &ScheduleDialog::Command1_Click);
    connect(schedule, &QPushButton::clicked, this, &ScheduleDialog::Command3_Click);
    connect(cancel, &QPushButton::clicked, this, &ScheduleDialog::Command4_Click);
}

void ScheduleDialog::Command2_Click()
{
    const auto day = chosenDay(m_combo1);
    if (!day)
        return;
    const std::string appDir = toStd(m_appDir);
    m_text1->setText(toQ(readDayValue(appDir, toStd(*day), kReasonKey)));
    m_text2->setText(toQ(readDayValue(appDir, toStd(*day), kTimeKey)));
    m_text4->setText(toQ(readDayValue(appDir, toStd(*day), kMusicKey)));
}

void ScheduleDialog::Command1_Click()
{
    if (const auto file = m_services.picker->openFile(
            this, parseFilterList(QString::fromLatin1(kMusicFilterList)), 0))
        m_text4->setText(*file);
}

void ScheduleDialog::Command3_Click()
{
    if (m_text1->text().isEmpty() || m_text2->text().isEmpty()) {
        m_services.messages->show(QStringLiteral("Please fill in all fields"),
                                  MessageIcon::Exclamation);
        return;
    }
    const auto day = chosenDay(m_combo1);
    if (!day)
        return;
    const auto minutes = parseTimeOfDay(toStd(m_text2->text()));
    if (!minutes) {
        m_services.messages->show(toQ(kTimeFormatText), MessageIcon::Exclamation);
        return;
    }
    const std::string time = formatTimeOfDay(*minutes);
    std::string error;
    if (!writeDayAlarm(toStd(m_appDir), toStd(*day), toStd(m_text1->text()), time,
                       toStd(m_text4->text()), &error)) {
        reportWriteFailure(*day, error);
        return; // the dialog stays open with what the user typed
    }
    m_text2->setText(toQ(time));
    m_services.messages->show(QStringLiteral("Succesfully added alarm for ") + *day,
                              MessageIcon::Information);
    if (m_refresh)
        m_refresh(true);
    close();
}

void ScheduleDialog::Command4_Click()
{
    close();
}

} // namespace chimewell
