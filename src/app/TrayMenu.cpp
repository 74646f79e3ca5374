#include "TrayMenu.h"

#include "MainWindow.h"
#include "alarm/AlarmBell.h"
#include "alarm/AlarmScheduler.h"
#include "lang/Texts.h"
#include "tray/TrayModule.h"
#include "widgets/FormLayout.h"

namespace chimewell {

TrayMenu::TrayMenu(AlarmScheduler& alarms, TrayModule& tray, QWidget* mainWindow)
    : QMenu(QStringLiteral("SysPopup"), mainWindow), m_alarms(alarms), m_tray(tray)
{
    const MainWindowNames& name = mainWindowNames;
    setObjectName(QLatin1String(name.trayMenu));
    auto item = [this](const char* itemName, const QString& text, auto slot) {
        QAction* a = addAction(text);
        a->setObjectName(QLatin1String(itemName));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    AlarmBell& bell = alarms.bell();
    m_ringingItems = {
        item(name.stopAlarmItem, QStringLiteral("S&top alarm"), [&bell] { bell.stop(); }),
        item(name.snoozeItem, QStringLiteral("S&nooze 5 minutes"), [&bell] { bell.snooze(); }),
        addSeparator()};
    item(name.showItem, QStringLiteral("&Show"), [mainWindow] { form::bringForward(mainWindow); });
    // No text: some styles draw a separator's text as a heading.
    addSeparator()->setObjectName(QLatin1String(name.traySeparator));
    item(name.trayExitItem, QStringLiteral("&Exit"), [mainWindow] { mainWindow->close(); });

    reshape();
    connect(&bell, &AlarmBell::ringingChanged, this, [this](bool ringing) {
        m_ringing = ringing;
        if (!m_open)
            reshape();
    });
    connect(this, &QMenu::aboutToShow, this, [this] {
        reshape();
        m_open = true;
    });
    connect(this, &QMenu::aboutToHide, this, [this] { m_open = false; });
    connect(&alarms, &AlarmScheduler::changed, this, &TrayMenu::updateToolTip);
}

void TrayMenu::reshape()
{
    for (QAction* a : std::as_const(m_ringingItems))
        a->setVisible(m_ringing);
}

void TrayMenu::updateToolTip()
{
    QString tip = QStringLiteral("Chimewell");
    if (const auto next = m_alarms.nextAlarm())
        tip += QLatin1Char('\n') + translated(texts::nextPrefix) + QLatin1Char(' ') +
               translatedLocale().dayName(next->date().dayOfWeek()) + QLatin1Char(' ') +
               next->time().toString(QStringLiteral("hh:mm"));
    m_tray.setToolTip(tip);
}

} // namespace chimewell
