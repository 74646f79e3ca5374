#include "TrayMenu.h"

#include "MainWindow.h"
#include "StatusPanel.h"
#include "TimerMenu.h"
#include "alarm/AlarmCommands.h"
#include "alarm/OutputWatch.h"
#include "lang/Texts.h"
#include "platform/Clock.h"
#include "tray/TrayModule.h"
#include "widgets/FormLayout.h"

namespace chimewell {

TrayMenu::TrayMenu(AlarmCommands& alarms, TrayModule& tray, MessageBox& messages,
                   const Clock& clock, QWidget* mainWindow)
    : QMenu(QStringLiteral("SysPopup"), mainWindow), m_alarms(alarms), m_tray(tray), m_clock(clock)
{
    const MainWindowNames& name = mainWindowNames;
    setObjectName(QLatin1String(name.trayMenu));
    auto item = [this](const char* itemName, const QString& text, auto slot) {
        QAction* a = addAction(text);
        a->setObjectName(QLatin1String(itemName));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    m_stop = item(name.stopAlarmItem, QStringLiteral("S&top alarm"), [&alarms] { alarms.stop(); });
    m_snooze = item(name.snoozeItem, QString(), [&alarms] { alarms.snooze(); });
    addSeparator();
    m_timers = form::named(new TimerMenu(alarms, messages, clock, mainWindow), name.trayTimerMenu);
    addMenu(m_timers);
    item(name.trayAlarmsItem, QStringLiteral("&Alarms..."), &TrayMenu::alarmsRequested);
    item(name.showItem, QStringLiteral("&Show"), [mainWindow] { form::bringForward(mainWindow); });
    // No text: some styles draw a separator's text as a heading.
    addSeparator()->setObjectName(QLatin1String(name.traySeparator));
    item(name.trayExitItem, QStringLiteral("&Exit"), [mainWindow] { mainWindow->close(); });

    reshape();
    connect(&alarms, &AlarmCommands::ringingChanged, this, [this] {
        if (!m_open)
            reshape();
    });
    connect(this, &QMenu::aboutToShow, this, [this] {
        reshape();
        m_open = true;
    });
    connect(this, &QMenu::aboutToHide, this, [this] { m_open = false; });
    connect(&alarms, &AlarmCommands::changed, this, &TrayMenu::updateToolTip);
}

void TrayMenu::reshape()
{
    const bool ringing = m_alarms.isRinging();
    m_stop->setEnabled(ringing);
    m_snooze->setEnabled(ringing);
    m_snooze->setText(
        translated(texts::traySnooze, {QString::number(m_alarms.snoozeMinutesNow())}));
    m_timers->retitle();
}

void TrayMenu::updateToolTip()
{
    QString tip = QStringLiteral("Chimewell");
    if (const auto next = m_alarms.nextAlarm())
        tip += QLatin1Char('\n') + translated(texts::nextPrefix) + QLatin1Char(' ') +
               StatusPanel::whenWords(*next, m_clock.now());
    if (const auto warning = m_alarms.outputWarning();
        warning.kind != AlarmCommands::OutputWarning::None)
        tip += QLatin1Char('\n') + OutputWatch::words(warning, &translated);
    m_tray.setToolTip(tip);
}

} // namespace chimewell
