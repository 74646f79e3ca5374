#include "DeleteDialog.h"

#include "platform/FormLayout.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/QtText.h"
#include "storage/DaySchedule.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QPushButton>

namespace chimewell {

DeleteDialog::DeleteDialog(PlatformServices& services, const QString& appDir, RefreshStatus refresh,
                           QWidget* parent)
    : DayDialog(services, appDir, std::move(refresh), parent)
{
    setObjectName(QStringLiteral("frmDelete"));
    setWindowTitle(QStringLiteral("Delete alarm"));
    setFixedSize(form::px(4335), form::px(1200));

    auto* frame3 = new QGroupBox(QStringLiteral("Delete alarm from specific day"), this);
    frame3->setObjectName(QStringLiteral("Frame3"));
    frame3->setFont(form::verdana(8.25, true));
    form::place(frame3, 120, 120, 4095, 975);
    m_combo2 = new QComboBox(frame3);
    m_combo2->setObjectName(QStringLiteral("Combo2"));
    m_combo2->setFont(form::defaultFont());
    form::place(m_combo2, 240, 360, 1335, 315);
    fillDays(m_combo2);
    auto* picture3 = new QWidget(frame3);
    picture3->setObjectName(QStringLiteral("Picture3"));
    form::place(picture3, 1680, 240, 2175, 615);
    auto* remove = new QPushButton(QStringLiteral("Delete"), picture3);
    remove->setObjectName(QStringLiteral("Command5"));
    remove->setFont(form::verdana(8.25, true));
    remove->setAutoDefault(false); // not the default button: Enter does not delete
    form::place(remove, 120, 120, 1935, 375);
    setTabOrder(remove, m_combo2);

    connect(remove, &QPushButton::clicked, this, &DeleteDialog::Command5_Click);
}

void DeleteDialog::Command5_Click()
{
    const auto day = chosenDay(m_combo2);
    if (!day)
        return;
    std::string error;
    if (!writeDayAlarm(toStd(m_appDir), toStd(*day), {}, {}, {}, &error)) {
        reportWriteFailure(*day, error);
        return;
    }
    m_services.messages->show(QStringLiteral("Succesfully deleted alarm for ") + *day,
                              MessageIcon::Information);
    if (m_refresh)
        m_refresh(true);
    close();
}

} // namespace chimewell
