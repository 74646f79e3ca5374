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

// Language packs address the window and its controls by these names: keep them as they are.
constexpr struct
{
    const char *window = "Form1", *clientArea = "ClientArea", *clock = "Label1",
               *alarmBox = "Frame1", *reasonLabel = "Label2", *reasonEdit = "Text1",
               *timeLabel = "Label3", *timeEdit = "Text2", *musicLabel = "Label4",
               *musicEdit = "Text4", *browseMusicHolder = "Picture1", *browseMusic = "Command1",
               *soundButtons = "Picture3", *preview = "Command3", *play = "cmdPlay",
               *stop = "cmdStop", *openBox = "Frame2", *openSite = "Check1", *openNote = "Label5",
               *siteEdit = "Text3", *openFile = "Check2", *fileEdit = "Text5",
               *browseFileHolder = "Picture2", *browseFile = "Command2", *alarmOn = "Option1",
               *alarmOff = "Option2", *minimize = "Command4", *ringingBell = "Image1",
               *idleBell = "Image2", *statusBar = "StatusBar1", *fileMenu = "mOptions",
               *scheduleItem = "mnuSchedule", *deleteItem = "mnuDelete",
               *fileSeparator1 = "mnuSeparator2", *optionsItem = "mnuLanguage",
               *fileSeparator2 = "mnuSeparator3", *exitItem = "mExit", *helpMenu = "mnuHelp",
               *websiteItem = "mnuWebsite", *helpSeparator = "mnuSeparator4",
               *aboutItem = "mnuAbout", *trayMenu = "mSysPopup", *stopAlarmItem = "mnuStopAlarm",
               *snoozeItem = "mnuSnooze", *showItem = "mnuShow", *traySeparator = "mnuSeparator1",
               *trayExitItem = "mnuExit";
} packName{};

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
    setObjectName(QString::fromLatin1(packName.window));
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
    m_clockTimer = new SecondTimer(QStringLiteral("Timer1"), *m_ticker, true, this);
    m_oneShotTimer = new SecondTimer(QStringLiteral("Timer2"), *m_ticker, false, this);
    // The weekly check runs for the whole run, so an alarm of a later day is never missed
    // because no refresh happened to find one pending.
    m_weeklyTimer = new SecondTimer(QStringLiteral("Timer3"), *m_ticker, true, this);
    connect(m_clockTimer, &SecondTimer::timeout, this, &MainWindow::updateClock);
    connect(m_oneShotTimer, &SecondTimer::timeout, this, &MainWindow::checkOneShotAlarm);
    connect(m_weeklyTimer, &SecondTimer::timeout, this, &MainWindow::checkWeeklyAlarm);
    connect(m_tray, &TrayModule::leftPressed, this, &MainWindow::restoreFromTray);

    buildControls();
    buildMenus();
    // A fixed single border: the window takes the size its contents ask for, and no other.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    const ClockReading now = reading();
    m_weeklyTrigger.restart(now);
    m_oneShotTrigger.restart(now);
    m_statusDate = services.clock->now().date();
    updateClock();

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
        paths << QString::fromStdString(dayFilePath(appDir, dayName(day)));
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
        if (const auto minute = parseTimeOfDay(toStd(m_timeEdit->text()))) {
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
    central->setObjectName(QString::fromLatin1(packName.clientArea));
    central->setFixedSize(form::px(4680), form::px(7335 + 120));
    setCentralWidget(central);

    m_clock = named(new ClockFace(central), packName.clock);
    m_clock->setFont(form::font(QStringLiteral("MS Sans Serif"), 24, true));
    place(m_clock, 960, 240, 3495, 615);

    auto* alarmBox = named(new QGroupBox(QStringLiteral("Alarm"), central), packName.alarmBox);
    alarmBox->setFont(verdana(8.25, true));
    place(alarmBox, 120, 960, 4455, 3015);
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
    place(label(alarmBox, packName.reasonLabel, QStringLiteral("Reason for alarm")), 240, 360, 2775,
          375);
    m_reasonEdit = edit(alarmBox, packName.reasonEdit, {});
    place(m_reasonEdit, 240, 600, 4095, 315);
    place(label(alarmBox, packName.timeLabel, QStringLiteral("Time (hh:mm)")), 240, 1080, 1815,
          375);
    m_timeEdit = edit(alarmBox, packName.timeEdit, QStringLiteral("13:00"));
    place(m_timeEdit, 240, 1320, 615, 285);
    place(label(alarmBox, packName.musicLabel, QStringLiteral("Select music source")), 240, 1680,
          3015, 375);
    m_musicEdit = edit(alarmBox, packName.musicEdit, {});
    place(m_musicEdit, 240, 1920, 3135, 285);
    // A "..." button in a picture box of its own, right of its field.
    auto browseButton = [&button](QWidget* box, const char* holderName, int holderHeight,
                                  const char* name, int top) {
        auto* holder = named(new QWidget(box), holderName);
        place(holder, 3480, 1680, 855, holderHeight);
        auto* b = button(holder, name, QStringLiteral("..."), form::defaultFont());
        b->setToolTip(QStringLiteral("Browse for file"));
        place(b, 120, top, 615, 375);
        return b;
    };
    m_browseMusicButton =
        browseButton(alarmBox, packName.browseMusicHolder, 615, packName.browseMusic, 120);
    auto* soundButtons = named(new QWidget(alarmBox), packName.soundButtons);
    place(soundButtons, 120, 2280, 2775, 615);
    m_previewButton =
        button(soundButtons, packName.preview, QStringLiteral("Preview"), verdana(8.25, true));
    place(m_previewButton, 120, 120, 1215, 375);
    m_playButton = button(soundButtons, packName.play, {}, form::defaultFont());
    form::makeSymbolButton(m_playButton, form::Glyph::Play, 12);
    place(m_playButton, 1440, 120, 495, 375);
    m_stopButton = button(soundButtons, packName.stop, {}, form::defaultFont());
    form::makeSymbolButton(m_stopButton, form::Glyph::Stop, 8.25);
    place(m_stopButton, 2040, 120, 495, 375);

    auto* openBox = named(new QGroupBox(QStringLiteral("Options"), central), packName.openBox);
    openBox->setFont(verdana(8.25, true));
    place(openBox, 120, 4080, 4455, 2175);
    m_openSiteCheck = named(new QCheckBox(QStringLiteral("Open site when it's time"), openBox),
                            packName.openSite);
    m_openSiteCheck->setFont(verdana(8.25, true));
    place(m_openSiteCheck, 240, 360, 4095, 255);
    auto* openNote = named(
        new QLabel(QStringLiteral("(Can also direct to a ZIP or EXE file for download)"), openBox),
        packName.openNote);
    openNote->setFont(verdana(6.75));
    openNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A note: longer translations wrap onto a second line.
    openNote->setWordWrap(true);
    place(openNote, 480, 600, 3855, 255);
    m_siteEdit = edit(openBox, packName.siteEdit, QStringLiteral("http://"));
    place(m_siteEdit, 120, 840, 4215, 285);
    m_openFileCheck = named(new QCheckBox(QStringLiteral("Open file when it's time"), openBox),
                            packName.openFile);
    m_openFileCheck->setFont(verdana(8.25, true));
    place(m_openFileCheck, 240, 1320, 4095, 255);
    m_fileEdit = edit(openBox, packName.fileEdit, {});
    place(m_fileEdit, 120, 1680, 3255, 285);
    m_browseFileButton =
        browseButton(openBox, packName.browseFileHolder, 375, packName.browseFile, 0);

    m_alarmOnButton =
        named(new QRadioButton(QStringLiteral("Alarm on"), central), packName.alarmOn);
    m_alarmOnButton->setFont(verdana(8.25, true));
    place(m_alarmOnButton, 360, 6360, 1815, 375);
    m_alarmOffButton =
        named(new QRadioButton(QStringLiteral("Alarm off"), central), packName.alarmOff);
    m_alarmOffButton->setFont(verdana(8.25, true));
    place(m_alarmOffButton, 2280, 6360, 2055, 375);
    m_alarmOffButton->setChecked(true);

    m_minimizeButton = button(central, packName.minimize, QStringLiteral("Minimize to systray"),
                              verdana(8.25, true));
    place(m_minimizeButton, 720, 6840, 3135, 495);

    // Picture stores for the status panel; never shown.
    m_ringingBell = named(new QLabel(central), packName.ringingBell);
    form::markAsPicture(m_ringingBell);
    m_ringingBell->setPixmap(statusBell(QStringLiteral("bell-active")));
    m_ringingBell->hide();
    m_idleBell = named(new QLabel(central), packName.idleBell);
    form::markAsPicture(m_idleBell);
    m_idleBell->setPixmap(statusBell(QStringLiteral("bell-idle")));
    m_idleBell->hide();

    QStatusBar* bar = statusBar();
    bar->setObjectName(QString::fromLatin1(packName.statusBar));
    bar->setSizeGripEnabled(false);
    bar->setFont(verdana(8.25));
    m_panel = new StatusPanel(bar);
    bar->addWidget(m_panel, 1);

    // Tab order follows the window from top to bottom.
    QWidget* order[] = {m_reasonEdit,    m_timeEdit,       m_musicEdit,     m_browseMusicButton,
                        m_previewButton, m_playButton,     m_stopButton,    m_openSiteCheck,
                        m_siteEdit,      m_openFileCheck,  m_fileEdit,      m_browseFileButton,
                        m_alarmOnButton, m_alarmOffButton, m_minimizeButton};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(m_alarmOnButton, &QRadioButton::clicked, this, &MainWindow::armAlarm);
    connect(m_alarmOffButton, &QRadioButton::clicked, this, &MainWindow::disarmAlarm);
    connect(m_playButton, &QPushButton::clicked, this, &MainWindow::playChosenSound);
    connect(m_stopButton, &QPushButton::clicked, this, &MainWindow::stopChosenSound);
    connect(m_browseMusicButton, &QPushButton::clicked, this, &MainWindow::browseForMusic);
    connect(m_browseFileButton, &QPushButton::clicked, this, &MainWindow::browseForFile);
    connect(m_previewButton, &QPushButton::clicked, this, &MainWindow::previewAlarm);
    connect(m_minimizeButton, &QPushButton::clicked, this, &MainWindow::minimizeToTray);
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

    auto* file = named(new QMenu(QStringLiteral("&File"), this), packName.fileMenu);
    menuBar()->addMenu(file);
    connect(action(file, packName.scheduleItem, QStringLiteral("&Schedule alarm")),
            &QAction::triggered, this, &MainWindow::scheduleRequested);
    connect(action(file, packName.deleteItem, QStringLiteral("&Delete alarm")), &QAction::triggered,
            this, &MainWindow::deleteRequested);
    separator(file, packName.fileSeparator1);
    connect(action(file, packName.optionsItem, QStringLiteral("&Options")), &QAction::triggered,
            this, &MainWindow::optionsRequested);
    separator(file, packName.fileSeparator2);
    connect(action(file, packName.exitItem, QStringLiteral("&Exit")), &QAction::triggered, this,
            &QWidget::close);

    auto* help = named(new QMenu(QStringLiteral("&Help"), this), packName.helpMenu);
    menuBar()->addMenu(help);
    connect(action(help, packName.websiteItem, QStringLiteral("&Visit our website")),
            &QAction::triggered, this, [this] { openTarget(kWebsite); });
    separator(help, packName.helpSeparator);
    connect(action(help, packName.aboutItem, QStringLiteral("&About...")), &QAction::triggered,
            this, &MainWindow::aboutRequested);

    // The tray's pop-up menu; not on the menu bar. Stop and Snooze show while an alarm rings.
    m_trayMenu = named(new QMenu(QStringLiteral("SysPopup"), this), packName.trayMenu);
    QAction* stopAlarm = action(m_trayMenu, packName.stopAlarmItem, QStringLiteral("S&top alarm"));
    connect(stopAlarm, &QAction::triggered, m_bell, &AlarmBell::stop);
    QAction* snooze = action(m_trayMenu, packName.snoozeItem, QStringLiteral("S&nooze 5 minutes"));
    connect(snooze, &QAction::triggered, m_bell, &AlarmBell::snooze);
    QAction* ringingSeparator = m_trayMenu->addSeparator();
    for (QAction* a : {stopAlarm, snooze, ringingSeparator})
        a->setVisible(false);
    connect(m_bell, &AlarmBell::ringingChanged, this, [=](bool ringing) {
        for (QAction* a : {stopAlarm, snooze, ringingSeparator})
            a->setVisible(ringing);
    });
    connect(action(m_trayMenu, packName.showItem, QStringLiteral("&Show")), &QAction::triggered,
            this, [this] {
                setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
                show();
                raise();
                activateWindow();
            });
    separator(m_trayMenu, packName.traySeparator);
    connect(action(m_trayMenu, packName.trayExitItem, QStringLiteral("&Exit")), &QAction::triggered,
            this, &QWidget::close);
}

void MainWindow::startClock()
{
    m_ticker->start();
}

ClockReading MainWindow::reading() const
{
    // The clock in the form the time rules take.
    const QDateTime time = m_services.clock->now();
    const QDate d = time.date();
    const QTime t = time.time();
    return {{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()},
            time.toSecsSinceEpoch()};
}

void MainWindow::setStatus(const QString& text, bool alarmPicture)
{
    m_panel->set(text, (alarmPicture ? m_ringingBell : m_idleBell)->pixmap());
}

void MainWindow::refreshScheduleStatus(bool checkOneShot)
{
    const ClockReading now = reading();
    const std::string day = dayNameOf(now.local);
    const std::string time = readDayValue(toStd(m_appDir), day, kTimeKey);
    StatusText status;
    if (weeklyStatus(time, now.local, status)) {
        m_weeklyTimer->setEnabled(true);
        setStatus(QString::fromStdString(status.text), true);
    } else if (!checkOneShot) {
        setStatus(toQ(kNoAlarmText), false);
    } else {
        showOneShotStatus();
    }
    updateTrayToolTip();
}

void MainWindow::showOneShotStatus()
{
    const StatusText status =
        oneShotStatus(m_alarmOnButton->isChecked(), toStd(m_timeEdit->text()), reading().local);
    setStatus(QString::fromStdString(status.text), status.alarmPicture);
}

void MainWindow::openTarget(const QString& url)
{
    if (!url.trimmed().isEmpty())
        m_services.shell->open(url);
}

void MainWindow::playAlarmSound(const QString& file)
{
    m_sound->playAlarmSound(file);
}

void MainWindow::stopPlayback()
{
    m_sound->stopPlayback();
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
    return m_oneShotTimer->isEnabled();
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
        if (const auto minute = parseTimeOfDay(toStd(m_timeEdit->text())))
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

void MainWindow::armAlarm()
{
    if (m_reasonEdit->text().isEmpty() || m_timeEdit->text().isEmpty()) {
        m_services.messages->show(QStringLiteral("Please fill in all fields"),
                                  MessageIcon::Exclamation);
        m_alarmOffButton->setChecked(true);
        disarmAlarm();
        return;
    }
    const auto minutes = parseTimeOfDay(toStd(m_timeEdit->text()));
    if (!minutes) {
        m_services.messages->show(toQ(kTimeFormatText), MessageIcon::Exclamation);
        m_alarmOffButton->setChecked(true);
        disarmAlarm();
        return;
    }
    m_timeEdit->setText(QString::fromStdString(formatTimeOfDay(*minutes)));
    for (QPushButton* b :
         {m_browseMusicButton, m_browseFileButton, m_previewButton, m_playButton, m_stopButton})
        b->setEnabled(false);
    for (QLineEdit* e : {m_reasonEdit, m_timeEdit, m_siteEdit, m_musicEdit, m_fileEdit})
        e->setReadOnly(true);
    m_oneShotTrigger.restart(reading());
    m_oneShotTimer->setEnabled(true);
    setStatus(toQ(kAlarmActiveText), true);
    updateTrayToolTip();
}

void MainWindow::disarmAlarm()
{
    for (QPushButton* b : {m_browseMusicButton, m_browseFileButton, m_previewButton, m_playButton})
        b->setEnabled(true);
    m_stopButton->setEnabled(false);
    for (QLineEdit* e : {m_reasonEdit, m_timeEdit, m_siteEdit, m_musicEdit, m_fileEdit})
        e->setReadOnly(false);
    m_oneShotTimer->setEnabled(false);
    m_bell->cancel(AlarmBell::Source::OneShot);
    stopPlayback();
    refreshScheduleStatus(false);
}

void MainWindow::updateClock()
{
    const QDateTime now = m_services.clock->now();
    m_clock->setText(localeLongTime(now.time()));
    // A new day: the status line must not go on showing yesterday's state.
    if (now.date() != m_statusDate) {
        m_statusDate = now.date();
        refreshScheduleStatus(true);
    }
    // The next alarm may come from a day file edited by hand: look again every minute.
    if (now.time().minute() != m_tipMinute) {
        m_tipMinute = now.time().minute();
        updateTrayToolTip();
    }
}

void MainWindow::checkOneShotAlarm()
{
    const AlarmCheck due =
        m_oneShotTrigger.check(parseTimeOfDay(toStd(m_timeEdit->text())), reading());
    if (due.due == AlarmDue::Ring) {
        fireOneShot();
    } else if (due.due == AlarmDue::Missed) {
        setStatus(m_bell->tellMissed(alarmMessage(m_timeEdit->text(), m_reasonEdit->text())), true);
        updateTrayToolTip();
    }
}

void MainWindow::fireOneShot()
{
    m_bell->ring(AlarmBell::Source::OneShot, m_musicEdit->text(),
                 alarmMessage(m_timeEdit->text(), m_reasonEdit->text()));
    if (m_openSiteCheck->isChecked())
        openTarget(m_siteEdit->text());
    if (m_openFileCheck->isChecked())
        openTarget(m_fileEdit->text());
    updateTrayToolTip();
}

std::optional<int> MainWindow::weeklyMinuteOn(std::int64_t day) const
{
    return parseTimeOfDay(
        readDayValue(toStd(m_appDir), dayName(weekdayOfDayNumber(day)), kTimeKey));
}

void MainWindow::checkWeeklyAlarm()
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
        showOneShotStatus();
    }
    updateTrayToolTip();
}

void MainWindow::playChosenSound()
{
    if (m_musicEdit->text().isEmpty()) {
        m_services.messages->show(QStringLiteral("You must select a file to play"),
                                  MessageIcon::Exclamation);
        return;
    }
    m_stopButton->setEnabled(true);
    m_playButton->setEnabled(false);
    m_sound->playChosen(m_musicEdit->text());
}

void MainWindow::stopChosenSound()
{
    m_playButton->setEnabled(true);
    m_stopButton->setEnabled(false);
    stopPlayback();
}

void MainWindow::browseForMusic()
{
    if (const auto file = m_services.picker->openFile(
            this, parseFilterList(QString::fromLatin1(kMusicFilterList)), 0))
        m_musicEdit->setText(*file);
}

void MainWindow::browseForFile()
{
    if (const auto file = m_services.picker->openFile(
            this, parseFilterList(QString::fromLatin1(kFileFilterList)), 0))
        m_fileEdit->setText(*file);
}

void MainWindow::previewAlarm()
{
    m_tray->showBalloon(alarmMessage(m_timeEdit->text(), m_reasonEdit->text()),
                        QStringLiteral("Chimewell"));
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // The browse-for-music button is the default one: Enter presses it unless the focus is on
    // another button, which Enter then presses itself.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
            focused->click();
        else if (m_browseMusicButton->isEnabled())
            m_browseMusicButton->click();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    m_tray->removeIcon();
    event->accept();
    emit shutDown();
}

} // namespace chimewell
