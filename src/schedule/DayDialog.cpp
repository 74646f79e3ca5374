#include "DayDialog.h"

#include "lang/Texts.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "storage/AlarmTime.h"
#include "storage/DaySchedule.h"
#include "widgets/FormLayout.h"
#include "widgets/NamedComboBox.h"
#include "widgets/QtText.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QComboBox>

namespace chimewell {

const QStringList DayDialog::kListedDays = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                            "Friday", "Saturday", "Sunday"};

DayDialog::DayDialog(PlatformServices& services, const QString& appDir, AlarmCommands& alarms,
                     QWidget* parent)
    : QDialog(parent), m_services(services), m_appDir(appDir), m_alarms(alarms)
{
    // Modeless and without an owner.
    form::setFixedBorder(this);
    setModal(false);
}

QComboBox* DayDialog::dayList(QWidget* box, const char* name)
{
    // Named by its frame for screen readers, its text field too.
    auto* combo = form::named(new NamedComboBox(box), name);
    combo->setFont(form::defaultFont());
    form::place(combo, 240, 360, 1335, 315);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(kListedDays);
    combo->setCurrentIndex(-1);
    combo->setEditText(QStringLiteral("Monday"));
    return combo;
}

std::optional<QString> DayDialog::chosenDay(QComboBox* combo)
{
    // Only the seven names are ever read back, and a day text is part of a file name: a
    // misspelt day or a path would write a file that no alarm reads, or one outside the
    // schedule folder.
    std::string canonical;
    if (!isDayName(toStd(combo->currentText().trimmed()), &canonical)) {
        m_services.messages->show(translated(texts::chooseDay), MessageIcon::Exclamation);
        return std::nullopt;
    }
    return toQ(canonical);
}

void DayDialog::reportWriteFailure(const QString& day, const std::string& error)
{
    const QString file = toQ(dayFilePath(toStd(m_appDir), toStd(day)));
    m_services.messages->show(translated(texts::dayNotSaved, {day, file, toQ(error)}),
                              MessageIcon::Stop);
}

void DayDialog::tellDone(const QString& day, const DayAlarms& before, const Text& alone,
                         const Text& replaced, const Text* beside)
{
    const DayAlarm* first = nullptr;
    int others = 0;
    for (const DayAlarm& alarm : *before.alarms)
        alarm.isFirst() ? void(first = &alarm) : void(++others);
    QString text;
    if (others == 0)
        text = translated(alone, {day});
    else if (first)
        text = translated(replaced,
                          {day, toQ(first->time), toQ(first->reason), QString::number(others)});
    else
        text = translated(beside ? *beside : alone, {day, QString::number(others)});
    m_services.messages->show(text, MessageIcon::Information);
}

void DayDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the dialog as Cancel and the close box do, saving nothing.
    if (!form::closeOnEscape(this, event))
        QDialog::keyPressEvent(event);
}

int DayDialog::weekdayOf(const QString& day)
{
    for (int weekday = 0; weekday < 7; ++weekday)
        if (day == toQ(dayName(weekday)))
            return weekday;
    return 0;
}

} // namespace chimewell
