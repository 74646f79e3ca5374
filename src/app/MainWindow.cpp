#include "MainWindow.h"

#include "AlarmBell.h"
#include "AlarmSound.h"
#include "ClockFace.h"
#include "SecondTicker.h"
#include "StatusPanel.h"
#include "platform/Clock.h"
#include "platform/FilePicker.h"
#include "platform/FormLayout.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/QtText.h"
#include "platform/ShellOpen.h"
#include "platform/SystemEvents.h"
#include "storage/DaySchedule.h"
#include "storage/Settings.h"
#include "tray/TrayModule.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QFileSystemWatcher>
#include <QtCore/QLocale>
#include <QtCore/QTimer>
#include <QtGui/QCloseEvent>
#include <QtGui/QIcon>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
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

// The locale's long time format without the time zone ("t") that Qt's long format adds.
QString longTimeFormat()
{
    const QString format = QLocale().timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) {
            while (!out.isEmpty() && out.back().isSpace())
                out.chop(1);
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

// A status bar bell of 16 x 16: on a scaled screen the picture of twice the size, which
// stays sharp when drawn smaller (QIcon would take the 16 px one at a scale of 1.5).
QPixmap statusBell(const QString& name)
{
    if (qApp->devicePixelRatio() <= 1.0)
        return QPixmap(QStringLiteral(":/images/") + name + QStringLiteral(".png"));
    QPixmap large(QStringLiteral(":/images/") + name + QStringLiteral("@2x.png"));
    large.setDevicePixelRatio(2.0);
    return large;
}

QString localeLongTime(const QTime& time)
{
    static const QString format = longTimeFormat(); // read once: the clock runs every second
    return QLocale().toString(time, format);
}

} // namespace

MainWindow::MainWindow(PlatformServices& services, const QString& appDir, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_appDir(appDir)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Chimewell"));
    // A fixed single border without minimise and maximise boxes.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    m_tray = new TrayModule(*services.tray, services.notifier, this);
    m_sound = new AlarmSound(
        *services.sound, QString::fromStdString(appFile(toStd(appDir), kDefaultSoundName)), this);
    m_bell = new AlarmBell(*m_sound, *m_tray, *services.clock, this);
    m_ticker = new SecondTicker(*services.clock, this);
    connect(m_ticker, &SecondTicker::tick, m_bell, &AlarmBell::tick);
    m_timer1 = new SecondTimer(QStringLiteral("Timer1"), *m_ticker, true, this);
    m_timer2 = new SecondTimer(QStringLiteral("Timer2"), *m_ticker, false, this);
    // The weekly check runs for the whole run, so an alarm of a later day is never missed
    // because no refresh happened to find one pending.
    m_timer3 = new SecondTimer(QStringLiteral("Timer3"), *m_ticker, true, this);
    connect(m_timer1, &SecondTimer::timeout, this, &MainWindow::Timer1_Timer);
    connect(m_timer2, &SecondTimer::timeout, this, &MainWindow::Timer2_Timer);
    connect(m_timer3, &SecondTimer::timeout, this, &MainWindow::Timer3_Timer);
    connect(m_tray, &TrayModule::leftPressed, this, &MainWindow::restoreFromTray);

    buildControls();
    buildMenus();
    // A fixed single border: the window takes the size its contents ask for, and no other.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    const ClockReading now = reading();
    m_weeklyTrigger.restart(now);
    m_oneShotTrigger.restart(now);
    m_statusDate = services.clock->now().date();
    Timer1_Timer();

    m_ticker->setPlanner([this] { return plannedWake(); });
    // A day file or the settings edited by hand take effect at once, not at the next wake.
    m_watcher = new QFileSystemWatcher(this);
    watchSchedule();
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        watchSchedule();
        m_ticker->wake();
    });
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] {
        watchSchedule();
        m_ticker->wake();
    });
    if (services.systemEvents) {
        connect(services.systemEvents, &SystemEvents::clockChanged, m_ticker, &SecondTicker::wake);
        connect(services.systemEvents, &SystemEvents::resumed, m_ticker, &SecondTicker::wake);
    }
    // A window that comes up shows the clock at once and keeps it running.
    qApp->installEventFilter(this);
}

void MainWindow::watchSchedule()
{
    // A file replaced by renaming drops out of the watch: add what exists now, again.
    const std::string appDir = toStd(m_appDir);
    QStringList paths{QString::fromStdString(settingsFilePath(appDir)),
                      QString::fromStdString(appFile(appDir, kScheduleFolder))};
    for (int day = 0; day < 7; ++day)
        paths << QString::fromStdString(DayFilePath(appDir, dayName(day)));
    for (const QString& path : paths)
        if (QFileInfo::exists(path) && !m_watcher->files().contains(path) &&
            !m_watcher->directories().contains(path))
            m_watcher->addPath(path);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() == QEvent::Show || event->type() == QEvent::WindowStateChange) &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
        QTimer::singleShot(0, m_ticker, &SecondTicker::wake);
    return QMainWindow::eventFilter(watched, event);
}

std::optional<qint64> MainWindow::plannedWake() const
{
    if ((isVisible() && !isMinimized()) || (m_secondsNeeded && m_secondsNeeded()))
        return std::nullopt;
    const ClockReading now = reading();
    const std::int64_t today = dayNumber(now.local.year, now.local.month, now.local.day);
    std::vector<int> todays;
    std::vector<int> tomorrows;
    if (isOneShotArmed()) {
        if (const auto minute = parseTimeOfDay(toStd(m_text2->text()))) {
            todays.push_back(*minute);
            tomorrows.push_back(*minute);
        }
    }
    if (const auto minute = weeklyMinuteOn(today))
        todays.push_back(*minute);
    if (const auto minute = weeklyMinuteOn(today + 1))
        tomorrows.push_back(*minute);
    std::optional<std::int64_t> snooze;
    if (const auto until = m_bell->snoozedUntil())
        snooze = until->toSecsSinceEpoch();
    return nextWakeEpoch(now, todays, tomorrows, snooze, kHeartbeatSeconds);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    central->setFixedSize(form::px(4680), form::px(7335 + 120));
    setCentralWidget(central);

    m_label1 = named(new ClockFace(central), "Label1");
    m_label1->setFont(form::font(QStringLiteral("MS Sans Serif"), 24, true));
    place(m_label1, 960, 240, 3495, 615);

    auto* frame1 = named(new QGroupBox(QStringLiteral("Alarm"), central), "Frame1");
    frame1->setFont(verdana(8.25, true));
    place(frame1, 120, 960, 4455, 3015);
    auto label = [](QWidget* parent, const char* name, const QString& text) {
        auto* l = named(new QLabel(text, parent), name);
        l->setFont(verdana(8.25));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    auto edit = [](QWidget* parent, const char* name, const QString& text) {
        auto* e = named(new QLineEdit(text, parent), name);
        e->setFont(form::defaultFont());
        return e;
    };
    auto button = [](QWidget* parent, const char* name, const QString& text, const QFont& font) {
        auto* b = named(new QPushButton(text, parent), name);
        b->setFont(font);
        b->setAutoDefault(false);
        return b;
    };
    place(label(frame1, "Label2", QStringLiteral("Reason for alarm")), 240, 360, 2775, 375);
    m_text1 = edit(frame1, "Text1", {});
    place(m_text1, 240, 600, 4095, 315);
    place(label(frame1, "Label3", QStringLiteral("Time (hh:mm)")), 240, 1080, 1815, 375);
    m_text2 = edit(frame1, "Text2", QStringLiteral("13:00"));
    place(m_text2, 240, 1320, 615, 285);
    place(label(frame1, "Label4", QStringLiteral("Select music source")), 240, 1680, 3015, 375);
    m_text4 = edit(frame1, "Text4", {});
    place(m_text4, 240, 1920, 3135, 285);
    auto* picture1 = named(new QWidget(frame1), "Picture1");
    place(picture1, 3480, 1680, 855, 615);
    m_command1 = button(picture1, "Command1", QStringLiteral("..."), form::defaultFont());
    m_command1->setToolTip(QStringLiteral("Browse for file"));
    place(m_command1, 120, 120, 615, 375);
    auto* picture3 = named(new QWidget(frame1), "Picture3");
    place(picture3, 120, 2280, 2775, 615);
    m_command3 = button(picture3, "Command3", QStringLiteral("Preview"), verdana(8.25, true));
    place(m_command3, 120, 120, 1215, 375);
    m_cmdPlay = button(picture3, "cmdPlay", {}, form::defaultFont());
    form::makeSymbolButton(m_cmdPlay, form::Glyph::Play, 12);
    place(m_cmdPlay, 1440, 120, 495, 375);
    m_cmdStop = button(picture3, "cmdStop", {}, form::defaultFont());
    form::makeSymbolButton(m_cmdStop, form::Glyph::Stop, 8.25);
    place(m_cmdStop, 2040, 120, 495, 375);

    auto* frame2 = named(new QGroupBox(QStringLiteral("Options"), central), "Frame2");
    frame2->setFont(verdana(8.25, true));
    place(frame2, 120, 4080, 4455, 2175);
    m_check1 = named(new QCheckBox(QStringLiteral("Open site when it's time"), frame2), "Check1");
    m_check1->setFont(verdana(8.25, true));
    place(m_check1, 240, 360, 4095, 255);
    auto* label5 = named(
        new QLabel(QStringLiteral("(Can also direct to a ZIP or EXE file for download)"), frame2),
        "Label5");
    label5->setFont(verdana(6.75));
    label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A note: longer translations wrap onto a second line.
    label5->setWordWrap(true);
    place(label5, 480, 600, 3855, 255);
    m_text3 = edit(frame2, "Text3", QStringLiteral("http://"));
    place(m_text3, 120, 840, 4215, 285);
    m_check2 = named(new QCheckBox(QStringLiteral("Open file when it's time"), frame2), "Check2");
    m_check2->setFont(verdana(8.25, true));
    place(m_check2, 240, 1320, 4095, 255);
    m_text5 = edit(frame2, "Text5", {});
    place(m_text5, 120, 1680, 3255, 285);
    auto* picture2 = named(new QWidget(frame2), "Picture2");
    place(picture2, 3480, 1680, 855, 375);
    m_command2 = button(picture2, "Command2", QStringLiteral("..."), form::defaultFont());
    m_command2->setToolTip(QStringLiteral("Browse for file"));
    place(m_command2, 120, 0, 615, 375);

    m_option1 = named(new QRadioButton(QStringLiteral("Alarm on"), central), "Option1");
    m_option1->setFont(verdana(8.25, true));
    place(m_option1, 360, 6360, 1815, 375);
    m_option2 = named(new QRadioButton(QStringLiteral("Alarm off"), central), "Option2");
    m_option2->setFont(verdana(8.25, true));
    place(m_option2, 2280, 6360, 2055, 375);
    m_option2->setChecked(true);

    m_command4 =
        button(central, "Command4", QStringLiteral("Minimize to systray"), verdana(8.25, true));
    place(m_command4, 720, 6840, 3135, 495);

    // Picture stores for the status panel; never shown.
    m_image1 = named(new QLabel(central), "Image1");
    form::markAsPicture(m_image1);
    m_image1->setPixmap(statusBell(QStringLiteral("bell-active")));
    m_image1->hide();
    m_image2 = named(new QLabel(central), "Image2");
    form::markAsPicture(m_image2);
    m_image2->setPixmap(statusBell(QStringLiteral("bell-idle")));
    m_image2->hide();

    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFont(verdana(8.25));
    m_panel = new StatusPanel(bar);
    bar->addWidget(m_panel, 1);

    // Tab order follows the window from top to bottom.
    QWidget* order[] = {m_text1,   m_text2,    m_text4,   m_command1, m_command3,
                        m_cmdPlay, m_cmdStop,  m_check1,  m_text3,    m_check2,
                        m_text5,   m_command2, m_option1, m_option2,  m_command4};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(m_option1, &QRadioButton::clicked, this, &MainWindow::Option1_Click);
    connect(m_option2, &QRadioButton::clicked, this, &MainWindow::Option2_Click);
    connect(m_cmdPlay, &QPushButton::clicked, this, &MainWindow::cmdPlay_Click);
    connect(m_cmdStop, &QPushButton::clicked, this, &MainWindow::cmdStop_Click);
    connect(m_command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(m_command3, &QPushButton::clicked, this, &MainWindow::Command3_Click);
    connect(m_command4, &QPushButton::clicked, this, &MainWindow::minimizeToTray);
}

void MainWindow::buildMenus()
{
    auto action = [this](QMenu* menu, const char* name, const QString& text) {
        auto* a = named(new QAction(text, this), name);
        menu->addAction(a);
        return a;
    };
    auto separator = [this](QMenu* menu, const char* name) {
        // No text: some styles draw a separator's text as a heading.
        auto* a = named(new QAction(this), name);
        a->setSeparator(true);
        menu->addAction(a);
    };

    auto* file = named(new QMenu(QStringLiteral("&File"), this), "mOptions");
    menuBar()->addMenu(file);
    connect(action(file, "mnuSchedule", QStringLiteral("&Schedule alarm")), &QAction::triggered,
            this, &MainWindow::scheduleRequested);
    connect(action(file, "mnuDelete", QStringLiteral("&Delete alarm")), &QAction::triggered, this,
            &MainWindow::deleteRequested);
    separator(file, "mnuSeparator2");
    connect(action(file, "mnuLanguage", QStringLiteral("&Options")), &QAction::triggered, this,
            &MainWindow::optionsRequested);
    separator(file, "mnuSeparator3");
    connect(action(file, "mExit", QStringLiteral("&Exit")), &QAction::triggered, this,
            &QWidget::close);

    auto* help = named(new QMenu(QStringLiteral("&Help"), this), "mnuHelp");
    menuBar()->addMenu(help);
    connect(action(help, "mnuWebsite", QStringLiteral("&Visit our website")), &QAction::triggered,
            this, [this] { OpenInternet(kWebsite); });
    separator(help, "mnuSeparator4");
    connect(action(help, "mnuAbout", QStringLiteral("&About...")), &QAction::triggered, this,
            &MainWindow::aboutRequested);

    // The tray's pop-up menu; not on the menu bar. Stop and Snooze show while an alarm rings.
    m_sysPopup = named(new QMenu(QStringLiteral("SysPopup"), this), "mSysPopup");
    QAction* stopAlarm = action(m_sysPopup, "mnuStopAlarm", QStringLiteral("S&top alarm"));
    connect(stopAlarm, &QAction::triggered, m_bell, &AlarmBell::stop);
    QAction* snooze = action(m_sysPopup, "mnuSnooze", QStringLiteral("S&nooze 5 minutes"));
    connect(snooze, &QAction::triggered, m_bell, &AlarmBell::snooze);
    QAction* ringingSeparator = m_sysPopup->addSeparator();
    for (QAction* a : {stopAlarm, snooze, ringingSeparator})
        a->setVisible(false);
    connect(m_bell, &AlarmBell::ringingChanged, this, [=](bool ringing) {
        for (QAction* a : {stopAlarm, snooze, ringingSeparator})
            a->setVisible(ringing);
    });
    connect(action(m_sysPopup, "mnuShow", QStringLiteral("&Show")), &QAction::triggered, this,
            [this] {
                setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
                show();
                raise();
                activateWindow();
            });
    separator(m_sysPopup, "mnuSeparator1");
    connect(action(m_sysPopup, "mnuExit", QStringLiteral("&Exit")), &QAction::triggered, this,
            &QWidget::close);
}

void MainWindow::startClock()
{
    m_ticker->start();
}

ClockReading MainWindow::reading() const
{
    return toReading(m_services.clock->now());
}

void MainWindow::setStatus(const QString& text, bool alarmPicture)
{
    m_panel->set(text, (alarmPicture ? m_image1 : m_image2)->pixmap());
}

void MainWindow::RefreshScheduleStatus(bool checkOneShot)
{
    const ClockReading now = reading();
    const std::string day = GetDay(now.local);
    const std::string time = readDayValue(toStd(m_appDir), day, kTimeKey);
    StatusText status;
    if (weeklyStatus(time, now.local, status)) {
        m_timer3->setEnabled(true);
        setStatus(QString::fromStdString(status.text), true);
    } else if (!checkOneShot) {
        setStatus(toQ(kNoAlarmText), false);
    } else {
        ShowOneShotStatus();
    }
    updateTrayToolTip();
}

void MainWindow::ShowOneShotStatus()
{
    const StatusText status =
        oneShotStatus(m_option1->isChecked(), toStd(m_text2->text()), reading().local);
    setStatus(QString::fromStdString(status.text), status.alarmPicture);
}

void MainWindow::OpenInternet(const QString& url)
{
    if (!url.trimmed().isEmpty())
        m_services.shell->open(url);
}

void MainWindow::PlayAlarmSound(const QString& file)
{
    m_sound->PlayAlarmSound(file);
}

void MainWindow::StopPlayback()
{
    m_sound->StopPlayback();
}

void MainWindow::minimizeToTray()
{
    // Without a notification area a hidden window could never come back.
    if (m_tray->hasNotificationArea())
        hide();
    else
        showMinimized();
}

void MainWindow::restoreFromTray()
{
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    show();
    // Also in front of the windows that cover it, and ready for the keyboard.
    raise();
    activateWindow();
}

bool MainWindow::isOneShotArmed() const
{
    return m_timer2->isEnabled();
}

QString MainWindow::alarmMessage(const QString& time, const QString& reason)
{
    const QString shown = reason.size() > kReasonShownLimit
                              ? reason.left(kReasonShownLimit - 1) + QChar(0x2026)
                              : reason;
    return QStringLiteral("It's ") + time + QStringLiteral(". Time for ") + shown +
           QLatin1Char('.');
}

QString MainWindow::trayToolTip() const
{
    const ClockReading now = reading();
    const int nowSeconds = now.local.hour * 3600 + now.local.minute * 60 + now.local.second;
    const std::int64_t today = dayNumber(now.local.year, now.local.month, now.local.day);
    std::optional<std::int64_t> next; // minutes from today's midnight
    if (isOneShotArmed()) {
        if (const auto minute = parseTimeOfDay(toStd(m_text2->text())))
            next = *minute * 60 > nowSeconds ? *minute : *minute + 1440;
    }
    // Within a week every weekday's file comes round once; today's again a week on.
    for (std::int64_t day = today; day <= today + 7; ++day) {
        const auto minute = weeklyMinuteOn(day);
        if (!minute || (day == today && *minute * 60 <= nowSeconds))
            continue;
        const std::int64_t at = (day - today) * 1440 + *minute;
        if (!next || at < *next)
            next = at;
        break;
    }
    QString tip = QStringLiteral("Chimewell");
    if (next) {
        const std::int64_t day = today + *next / 1440;
        tip += QLatin1Char('\n') + m_bell->text(AlarmBell::kNextText) + QLatin1Char(' ') +
               toQ(dayName(weekdayOfDayNumber(day))) + QLatin1Char(' ') +
               QString::fromStdString(formatTimeOfDay(static_cast<int>(*next % 1440)));
    }
    return tip;
}

void MainWindow::updateTrayToolTip()
{
    m_tray->setToolTip(trayToolTip());
}

void MainWindow::Option1_Click()
{
    if (m_text1->text().isEmpty() || m_text2->text().isEmpty()) {
        m_services.messages->show(QStringLiteral("Please fill in all fields"),
                                  MessageIcon::Exclamation);
        m_option2->setChecked(true);
        disarm();
        return;
    }
    const auto minutes = parseTimeOfDay(toStd(m_text2->text()));
    if (!minutes) {
        m_services.messages->show(toQ(kTimeFormatText), MessageIcon::Exclamation);
        m_option2->setChecked(true);
        disarm();
        return;
    }
    m_text2->setText(QString::fromStdString(formatTimeOfDay(*minutes)));
    for (QPushButton* b : {m_command1, m_command2, m_command3, m_cmdPlay, m_cmdStop})
        b->setEnabled(false);
    for (QLineEdit* e : {m_text1, m_text2, m_text3, m_text4, m_text5})
        e->setReadOnly(true);
    m_oneShotTrigger.restart(reading());
    m_timer2->setEnabled(true);
    setStatus(toQ(kAlarmActiveText), true);
    updateTrayToolTip();
}

void MainWindow::Option2_Click()
{
    disarm();
}

void MainWindow::disarm()
{
    for (QPushButton* b : {m_command1, m_command2, m_command3, m_cmdPlay})
        b->setEnabled(true);
    m_cmdStop->setEnabled(false);
    for (QLineEdit* e : {m_text1, m_text2, m_text3, m_text4, m_text5})
        e->setReadOnly(false);
    m_timer2->setEnabled(false);
    m_bell->cancel(AlarmBell::Source::OneShot);
    StopPlayback();
    RefreshScheduleStatus(false);
}

void MainWindow::Timer1_Timer()
{
    const QDateTime now = m_services.clock->now();
    m_label1->setText(localeLongTime(now.time()));
    // A new day: the status line must not go on showing yesterday's state.
    if (now.date() != m_statusDate) {
        m_statusDate = now.date();
        RefreshScheduleStatus(true);
    }
    // The next alarm may come from a day file edited by hand: look again every minute.
    if (now.time().minute() != m_tipMinute) {
        m_tipMinute = now.time().minute();
        updateTrayToolTip();
    }
}

void MainWindow::Timer2_Timer()
{
    const AlarmCheck due =
        m_oneShotTrigger.check(parseTimeOfDay(toStd(m_text2->text())), reading());
    if (due.due == AlarmDue::Ring) {
        fireOneShot();
    } else if (due.due == AlarmDue::Missed) {
        setStatus(m_bell->tellMissed(alarmMessage(m_text2->text(), m_text1->text())), true);
        updateTrayToolTip();
    }
}

void MainWindow::fireOneShot()
{
    m_bell->ring(AlarmBell::Source::OneShot, m_text4->text(),
                 alarmMessage(m_text2->text(), m_text1->text()));
    if (m_check1->isChecked())
        OpenInternet(m_text3->text());
    if (m_check2->isChecked())
        OpenInternet(m_text5->text());
    updateTrayToolTip();
}

std::optional<int> MainWindow::weeklyMinuteOn(std::int64_t day) const
{
    return parseTimeOfDay(
        readDayValue(toStd(m_appDir), dayName(weekdayOfDayNumber(day)), kTimeKey));
}

void MainWindow::Timer3_Timer()
{
    const std::string appDir = toStd(m_appDir);
    const AlarmCheck due = m_weeklyTrigger.check(
        [&appDir](std::int64_t day) -> std::optional<int> {
            const auto time = tryReadDayValue(appDir, dayName(weekdayOfDayNumber(day)), kTimeKey);
            if (!time)
                return AlarmTrigger::kUnknownMinute;
            return parseTimeOfDay(*time);
        },
        reading());
    if (due.due == AlarmDue::No)
        return;
    const std::string_view day = dayName(weekdayOfDayNumber(due.day));
    // The time as the file spells it, so the message shows what the user wrote.
    const QString time = QString::fromStdString(readDayValue(appDir, day, kTimeKey));
    const QString reason = QString::fromStdString(readDayValue(appDir, day, kReasonKey));
    if (due.due == AlarmDue::Missed) {
        setStatus(m_bell->tellMissed(alarmMessage(time, reason)), true);
    } else {
        m_bell->ring(AlarmBell::Source::Weekly,
                     QString::fromStdString(readDayValue(appDir, day, kMusicKey)),
                     alarmMessage(time, reason));
        ShowOneShotStatus();
    }
    updateTrayToolTip();
}

void MainWindow::cmdPlay_Click()
{
    if (m_text4->text().isEmpty()) {
        m_services.messages->show(QStringLiteral("You must select a file to play"),
                                  MessageIcon::Exclamation);
        return;
    }
    m_cmdStop->setEnabled(true);
    m_cmdPlay->setEnabled(false);
    m_sound->playChosen(m_text4->text());
}

void MainWindow::cmdStop_Click()
{
    m_cmdPlay->setEnabled(true);
    m_cmdStop->setEnabled(false);
    StopPlayback();
}

void MainWindow::Command1_Click()
{
    if (const auto file = m_services.picker->openFile(
            this, parseFilterList(QString::fromLatin1(kMusicFilterList)), 0))
        m_text4->setText(*file);
}

void MainWindow::Command2_Click()
{
    if (const auto file = m_services.picker->openFile(
            this, parseFilterList(QString::fromLatin1(kFileFilterList)), 0))
        m_text5->setText(*file);
}

void MainWindow::Command3_Click()
{
    m_tray->ShowTrayBalloon(this, alarmMessage(m_text2->text(), m_text1->text()),
                            QStringLiteral("Chimewell"), TrayModule::NIIF_INFO);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // `Command1` is the window's default button: Enter presses it unless the focus is on
    // another button, which Enter then presses itself.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
            focused->click();
        else if (m_command1->isEnabled())
            m_command1->click();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    m_tray->RemoveTrayIcon();
    event->accept();
    emit shutDown();
}

} // namespace chimewell
