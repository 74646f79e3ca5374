#include "MainWindow.h"

#include "ClockFace.h"
#include "OpenTargetsBox.h"
#include "StatusPanel.h"
#include "TimerMenu.h"
#include "TrayMenu.h"
#include "alarm/AlarmCommands.h"
#include "lang/Texts.h"
#include "platform/Clock.h"
#include "platform/FilePicker.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/ShellOpen.h"
#include "schedule/AlarmFields.h"
#include "tray/TrayModule.h"
#include "widgets/FormLayout.h"

#include <QtGui/QCloseEvent>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLayout>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QStatusBar>

namespace chimewell {

using form::named;
using form::place;
using form::verdana;

const QString MainWindow::kWebsite = QStringLiteral("https://chimewell.org/");

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QFont& font)
{
    auto* b = named(new QPushButton(text, parent), name);
    b->setFont(font);
    b->setAutoDefault(false);
    return b;
}

} // namespace

MainWindow::MainWindow(PlatformServices& services, AlarmCommands& alarms, TrayModule& tray,
                       QWidget* parent)
    : QMainWindow(parent), m_services(services), m_alarms(alarms), m_tray(tray)
{
    setObjectName(QLatin1String(mainWindowNames.window));
    setWindowTitle(QStringLiteral("Chimewell"));
    form::setFixedBorder(this);
    buildControls();
    buildMenus();
    m_trayMenu = new TrayMenu(alarms, tray, *services.messages, *services.clock, this);
    connect(m_trayMenu, &TrayMenu::alarmsRequested, this, &MainWindow::alarmsRequested);
    // A fixed single border: the window takes the size its contents ask for, and no other.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    updateClock();
    connect(&m_alarms, &AlarmCommands::ticked, this, &MainWindow::updateClock);
    connect(&m_alarms, &AlarmCommands::changed, this, &MainWindow::showStatus);
    connect(&m_alarms, &AlarmCommands::missed, this, [this](const QString& text) {
        m_panel->set(text.section(QLatin1Char('\n'), -1), true);
    });
    connect(&m_alarms, &AlarmCommands::ringingChanged, this, &MainWindow::updateStopButton);
    connect(&m_tray, &TrayModule::leftPressed, this, [this] { form::bringForward(this); });
}

MainWindow::~MainWindow() = default;

QMenu* MainWindow::trayMenu() const
{
    return m_trayMenu;
}

void MainWindow::buildControls()
{
    const MainWindowNames& name = mainWindowNames;
    auto* central = named(new QWidget(this), name.clientArea);
    central->setFixedSize(form::px(4680), form::px(7335 + 120));
    setCentralWidget(central);

    m_clock = named(new ClockFace(central), name.clock);
    m_clock->setFont(form::font(QStringLiteral("MS Sans Serif"), 24, true));
    place(m_clock, 960, 240, 3495, 615);

    m_fields = new AlarmFields(*m_services.picker, 960, 3015, central);
    auto* soundButtons = named(new QWidget(m_fields), name.soundButtons);
    place(soundButtons, 120, 2280, 2775, 615);
    m_previewButton =
        button(soundButtons, name.preview, QStringLiteral("Preview"), verdana(8.25, true));
    place(m_previewButton, 120, 120, 1215, 375);
    m_playButton = button(soundButtons, name.play, {}, form::defaultFont());
    form::makeSymbolButton(m_playButton, form::Glyph::Play, 12);
    form::nameByToolTip(m_playButton, QStringLiteral("Play"));
    place(m_playButton, 1440, 120, 495, 375);
    m_stopButton = button(soundButtons, name.stop, {}, form::defaultFont());
    form::makeSymbolButton(m_stopButton, form::Glyph::Stop, 8.25);
    form::nameByToolTip(m_stopButton, QStringLiteral("Stop"));
    place(m_stopButton, 2040, 120, 495, 375);

    m_targets = new OpenTargetsBox(*m_services.picker, central);

    m_alarmOnButton =
        named(new QRadioButton(QStringLiteral("This alarm on"), central), name.alarmOn);
    m_alarmOnButton->setFont(verdana(8.25, true));
    place(m_alarmOnButton, 360, 6360, 1815, 375);
    m_alarmOffButton =
        named(new QRadioButton(QStringLiteral("This alarm off"), central), name.alarmOff);
    m_alarmOffButton->setFont(verdana(8.25, true));
    place(m_alarmOffButton, 2280, 6360, 2055, 375);
    m_alarmOffButton->setChecked(true);
    auto* minimize =
        button(central, name.minimize, QStringLiteral("Minimize to systray"), verdana(8.25, true));
    place(minimize, 720, 6840, 3135, 495);

    QStatusBar* bar = statusBar();
    bar->setObjectName(QLatin1String(name.statusBar));
    bar->setSizeGripEnabled(false);
    bar->setFont(verdana(8.25));
    m_panel = new StatusPanel(bar);
    bar->addWidget(m_panel, 1);

    // Tab order follows the window from top to bottom.
    QList<QWidget*> order = {m_fields->browseButton(), m_previewButton, m_playButton, m_stopButton};
    order << m_targets->tabOrder() << m_alarmOnButton << m_alarmOffButton << minimize;
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(m_alarmOnButton, &QRadioButton::clicked, this, &MainWindow::armAlarm);
    connect(m_alarmOffButton, &QRadioButton::clicked, this, &MainWindow::disarmAlarm);
    connect(m_playButton, &QPushButton::clicked, this, &MainWindow::playChosenSound);
    connect(m_stopButton, &QPushButton::clicked, this, &MainWindow::stopChosenSound);
    connect(m_previewButton, &QPushButton::clicked, this, &MainWindow::previewAlarm);
    connect(minimize, &QPushButton::clicked, this, &MainWindow::minimizeToTray);
    connect(m_targets, &OpenTargetsBox::targetsChanged, this,
            [this] { m_alarms.setOneShotTargets(m_targets->targets()); });
}

void MainWindow::buildMenus()
{
    const MainWindowNames& name = mainWindowNames;
    auto item = [this](QMenu* menu, const char* itemName, const QString& text, auto slot) {
        auto* a = named(new QAction(text, this), itemName);
        menu->addAction(a);
        connect(a, &QAction::triggered, this, slot);
    };
    auto separator = [this](QMenu* menu, const char* itemName) {
        // No text: some styles draw a separator's text as a heading.
        auto* a = named(new QAction(this), itemName);
        a->setSeparator(true);
        menu->addAction(a);
    };
    auto* file = named(new QMenu(QStringLiteral("&File"), this), name.fileMenu);
    menuBar()->addMenu(file);
    item(file, name.alarmsItem, QStringLiteral("&Alarms..."), &MainWindow::alarmsRequested);
    item(file, name.scheduleItem, QStringLiteral("&Schedule alarm"),
         &MainWindow::scheduleRequested);
    item(file, name.deleteItem, QStringLiteral("&Delete alarm"), &MainWindow::deleteRequested);
    m_timerMenu = named(new TimerMenu(m_alarms, *m_services.messages, *m_services.clock, this),
                        name.timerMenu);
    file->addMenu(m_timerMenu);
    separator(file, name.fileSeparator1);
    item(file, name.optionsItem, QStringLiteral("&Options"), &MainWindow::optionsRequested);
    separator(file, name.fileSeparator2);
    item(file, name.exitItem, QStringLiteral("&Exit"), &QWidget::close);

    auto* help = named(new QMenu(QStringLiteral("&Help"), this), name.helpMenu);
    menuBar()->addMenu(help);
    item(help, name.websiteItem, QStringLiteral("&Visit our website"),
         [this] { m_services.shell->open(kWebsite); });
    separator(help, name.helpSeparator);
    item(help, name.aboutItem, QStringLiteral("&About..."), &MainWindow::aboutRequested);
}

void MainWindow::showStatus()
{
    m_panel->showStatus(m_alarms.status(), m_alarms.outputWarning());
    m_trayMenu->updateToolTip();
    m_timerMenu->retitle();
}

void MainWindow::updateClock()
{
    m_clock->showTime(m_services.clock->now().time());
}

void MainWindow::updateStopButton()
{
    // The stop button stops whatever plays: the sound being tried, or a ringing alarm.
    m_stopButton->setEnabled(m_previewPlays || m_alarms.isRinging());
}

void MainWindow::armAlarm()
{
    const auto alarm = m_fields->validated(*m_services.messages);
    if (!alarm) {
        m_alarmOffButton->setChecked(true);
        disarmAlarm();
        return;
    }
    m_fields->setLocked(true);
    m_targets->setLocked(true);
    for (QPushButton* b : {m_previewButton, m_playButton})
        b->setEnabled(false);
    m_previewPlays = false;
    m_alarms.arm({alarm->minuteOfDay, alarm->reason, alarm->music, m_targets->targets()});
    updateStopButton();
}

void MainWindow::disarmAlarm()
{
    m_fields->setLocked(false);
    m_targets->setLocked(false);
    m_previewButton->setEnabled(true);
    m_playButton->setEnabled(true);
    m_alarms.disarm();
    m_previewPlays = false;
    updateStopButton();
}

void MainWindow::playChosenSound()
{
    const QString file = m_fields->musicEdit()->text();
    if (file.isEmpty()) {
        m_services.messages->show(translated(texts::chooseFileToPlay), MessageIcon::Exclamation);
        return;
    }
    m_playButton->setEnabled(false);
    m_alarms.tryOutSound(file);
    m_previewPlays = true;
    updateStopButton();
}

void MainWindow::stopChosenSound()
{
    m_playButton->setEnabled(!m_alarms.isArmed());
    m_alarms.stopAllSound();
    m_previewPlays = false;
    updateStopButton();
}

void MainWindow::previewAlarm()
{
    Alarm alarm;
    alarm.time = m_fields->timeEdit()->text();
    alarm.reason = m_fields->reasonEdit()->text();
    m_alarms.preview(alarm);
}

void MainWindow::minimizeToTray()
{
    // Without a notification area a hidden window could never come back.
    if (m_tray.hasNotificationArea())
        hide();
    else
        showMinimized();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The clock shows: it runs every second from now on.
    emit clockShown();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        emit clockShown();
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // The browse-for-music button is the default one: Enter presses it unless the focus is on
    // another button, which Enter then presses itself.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
            focused->click();
        else if (m_fields->browseButton()->isEnabled())
            m_fields->browseButton()->click();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    m_tray.removeIcon();
    event->accept();
    emit shutDown();
}

} // namespace chimewell
