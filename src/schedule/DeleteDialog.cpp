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
// Language packs address the window and its controls by these names: keep them as they are.
constexpr struct
{
    const char *window = "frmDelete", *dayBox = "Frame3", *dayCombo = "Combo2",
               *buttonHolder = "Picture3", *deleteButton = "Command5";
} packName{};

DeleteDialog::DeleteDialog(PlatformServices& services, const QString& appDir, RefreshStatus refresh,
                           QWidget* parent)
    : DayDialog(services, appDir, std::move(refresh), parent)
{
    setObjectName(QString::fromLatin1(packName.window));
    setWindowTitle(QStringLiteral("Delete alarm"));
    setFixedSize(form::px(4335), form::px(1200));

    auto* dayBox = new QGroupBox(QStringLiteral("Delete alarm from specific day"), this);
    dayBox->setObjectName(QString::fromLatin1(packName.dayBox));
    dayBox->setFont(form::verdana(8.25, true));
    form::place(dayBox, 120, 120, 4095, 975);
    m_dayCombo = new QComboBox(dayBox);
    m_dayCombo->setObjectName(QString::fromLatin1(packName.dayCombo));
    m_dayCombo->setFont(form::defaultFont());
    form::place(m_dayCombo, 240, 360, 1335, 315);
    fillDays(m_dayCombo);
    auto* buttonHolder = new QWidget(dayBox);
    buttonHolder->setObjectName(QString::fromLatin1(packName.buttonHolder));
    form::place(buttonHolder, 1680, 240, 2175, 615);
    auto* remove = new QPushButton(QStringLiteral("Delete"), buttonHolder);
    remove->setObjectName(QString::fromLatin1(packName.deleteButton));
    remove->setFont(form::verdana(8.25, true));
    remove->setAutoDefault(false); // not the default button: Enter does not delete
    form::place(remove, 120, 120, 1935, 375);
    setTabOrder(remove, m_dayCombo);

    connect(remove, &QPushButton::clicked, this, &DeleteDialog::deleteDay);
}

void DeleteDialog::deleteDay()
{
    const auto day = chosenDay(m_dayCombo);
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
