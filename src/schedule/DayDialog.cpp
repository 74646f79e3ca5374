#include "DayDialog.h"

#include "platform/FormLayout.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/QtText.h"
#include "storage/AlarmTime.h"
#include "storage/DaySchedule.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QComboBox>

namespace chimewell {

const QStringList DayDialog::kListedDays = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                            "Friday", "Saturday", "Sunday"};
const QString DayDialog::kChooseDayText = QStringLiteral("Please choose a day from the list.");

DayDialog::DayDialog(PlatformServices& services, const QString& appDir, RefreshStatus refresh,
                     QWidget* parent)
    : QDialog(parent), m_services(services), m_appDir(appDir), m_refresh(std::move(refresh))
{
    // Modeless and without an owner; a fixed border without minimise and maximise boxes.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(false);
}

void DayDialog::fillDays(QComboBox* combo)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(kListedDays);
    combo->setCurrentIndex(-1);
    combo->setEditText(QStringLiteral("Monday"));
}

std::optional<QString> DayDialog::chosenDay(QComboBox* combo)
{
    // Only the seven names are ever read back, and a day text is part of a file name: a
    // misspelt day or a path would write a file that no alarm reads, or one outside the
    // schedule folder.
    std::string canonical;
    if (!isDayName(toStd(combo->currentText().trimmed()), &canonical)) {
        m_services.messages->show(kChooseDayText, MessageIcon::Exclamation);
        return std::nullopt;
    }
    return toQ(canonical);
}

void DayDialog::reportWriteFailure(const QString& day, const std::string& error)
{
    const QString file = toQ(dayFilePath(toStd(m_appDir), toStd(day)));
    m_services.messages->show(QStringLiteral("The alarm for %1 could not be saved in %2 (%3).")
                                  .arg(day, file, toQ(error)),
                              MessageIcon::Stop);
}

void DayDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the dialog as Cancel and the close box do, saving nothing.
    if (!form::closeOnEscape(this, event))
        QDialog::keyPressEvent(event);
}

} // namespace chimewell
