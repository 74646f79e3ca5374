#include "Fakes.h"
#include "app/AlarmBell.h"
#include "app/ClockFace.h"
#include "app/CursorBlinkLimit.h"
#include "app/MainWindow.h"
#include "app/SecondTicker.h"
#include "app/StatusPanel.h"
#include "dialogs/WindowSlot.h"
#include "schedule/DeleteDialog.h"
#include "schedule/ScheduleDialog.h"
#include "tray/TrayModule.h"

#include <QtTest/QtTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>

using namespace chimewell;
using fakes::child;

namespace {

const QDate kSunday(2026, 12, 6);
const QDate kMonday(2026, 12, 7);

// The main window in a fresh application folder, driven by a fake clock, with the schedule
// dialogs it opens. Day files and the clock are set up before the window starts, at its first
// use or at start().
struct Fixture
{
    fakes::Services fx;
    fakes::AppFolder app;
    std::unique_ptr<MainWindow> window;
    WindowSlot schedule;
    WindowSlot remove;

    Fixture()
    {
        fx.clock.set(kMonday, QTime(12, 0, 0));
        auto refresh = [this](bool checkOneShot) { window->refreshScheduleStatus(checkOneShot); };
        schedule.setFactory(
            [this, refresh] { return new ScheduleDialog(fx.services, app.path(), refresh); });
        remove.setFactory(
            [this, refresh] { return new DeleteDialog(fx.services, app.path(), refresh); });
    }
    ~Fixture()
    {
        delete schedule.loaded();
        delete remove.loaded();
    }
    MainWindow& start()
    {
        window = std::make_unique<MainWindow>(fx.services, app.path());
        window->refreshScheduleStatus(false);
        return *window;
    }
    MainWindow& w() { return window ? *window : start(); }

    template <typename T = QWidget> T* get(const char* name) { return child<T>(&w(), name); }
    QLineEdit* text(int n) { return get<QLineEdit>(qPrintable(QString("Text%1").arg(n))); }
    QPushButton* button(const char* name) { return get<QPushButton>(name); }
    QLineEdit* edit(QWidget* dialog, const char* name) { return child<QLineEdit>(dialog, name); }
    QString status() { return w().findChild<StatusPanel*>()->text(); }
    bool activePicture()
    {
        return w().findChild<StatusPanel*>()->picture().toImage() ==
               get<QLabel>("Image1")->pixmap().toImage();
    }
    QString defaultSound() { return app.path() + "/alarm.mp3"; }
    void day(const QString& name, const QByteArray& time, const QByteArray& reason = "Gym",
             const QByteArray& music = "")
    {
        app.write("schedule/" + name + ".ini", "[alarm]\r\nREASON=" + reason + "\r\nTIME=" + time +
                                                   "\r\nMUSIC=" + music + "\r\n");
    }

    void arm(const QString& reason, const QString& time)
    {
        text(1)->setText(reason);
        text(2)->setText(time);
        QTest::mouseClick(get<QRadioButton>("Option1"), Qt::LeftButton);
    }
    void tickAt(const QTime& time) { tickTo(QDateTime(fx.clock.time.date(), time)); }
    void tickTo(const QDateTime& time)
    {
        fx.clock.time = time;
        w().ticker().fire();
        QCoreApplication::processEvents(); // queued sound fallbacks
    }
    void runSeconds(int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            fx.clock.step();
            w().ticker().fire();
        }
        QCoreApplication::processEvents();
    }
    // Alarms rung, not told as missed.
    int firings() const { return fx.tray.balloons.filter("|It's ").size(); }
    QStringList visibleTrayItems()
    {
        QStringList out;
        for (QAction* a : w().trayMenu()->actions())
            if (a->isVisible())
                out << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return out;
    }
    // Types into the schedule dialog (a null text leaves its field) and presses Schedule.
    void save(QWidget* d, const char* day, const char* reason, const char* time = nullptr,
              const char* music = nullptr)
    {
        child<QComboBox>(d, "Combo1")->setEditText(day);
        const char* texts[] = {reason, time, music};
        const char* boxes[] = {"Text1", "Text2", "Text4"};
        for (int i = 0; i < 3; ++i)
            if (texts[i])
                edit(d, boxes[i])->setText(texts[i]);
        child<QPushButton>(d, "Command3")->click();
    }
    void deleteDay(const char* day)
    {
        QWidget* d = remove.get();
        child<QComboBox>(d, "Combo2")->setEditText(day);
        child<QPushButton>(d, "Command5")->click();
    }
};

} // namespace

// The one-shot alarm of the main window, and the weekly schedule with its dialogs.
class TestAlarms : public QObject
{
    Q_OBJECT

private slots:
    void firesWithTheCallsInOrder();
    void arming_data();
    void arming();
    void previewAndPlayButtons();
    void soundFallsBackToTheChimeThenTheBeep();
    void pickersAndEnter();
    void trayHidesAndShowsTheWindow();
    void balloonsAreCutAndReachTheUserWithoutATray();
    void clockLabelFollowsTheClock();
    void stopAndSnooze();
    void trayTipNamesTheNextAlarm();
    void statusLine_data();
    void statusLine();
    void oneShotStatusAfterAWeeklyFiring_data();
    void oneShotStatusAfterAWeeklyFiring();
    void laterDaysAndHandEdits();
    void scheduleWritesTheDayFile();
    void enterRunsScheduleAndCancelForgets();
    void refusedInputWritesNothing_data();
    void refusedInputWritesNothing();
    void failedWriteIsReportedNotCelebrated();
    void deleteBlanksTheDay();
};

void TestAlarms::firesWithTheCallsInOrder()
{
    Fixture f;
    f.text(3)->setText("http://example.org/agenda");
    f.get<QCheckBox>("Check2")->setChecked(true);
    f.text(5)->setText("/home/me/agenda.doc");
    f.fx.clock.set(QTime(12, 59, 58));
    f.arm("Meeting", "13:00");
    f.get<QCheckBox>("Check1")->setChecked(true); // read when it fires, not when armed
    QCOMPARE(f.status(), QStringLiteral("Alarm active"));
    f.fx.log.entries.clear();
    f.tickAt(QTime(12, 59, 59));
    QVERIFY(f.fx.log.entries.isEmpty());
    f.tickAt(QTime(13, 0, 0));
    QCOMPARE(f.fx.log.entries,
             QStringList({"sound STOP", "sound PREV", "sound OPEN", "sound PLAY",
                          "balloon It's 13:00. Time for Meeting.", "open http://example.org/agenda",
                          "open /home/me/agenda.doc"}));
    QVERIFY(f.fx.sound.commands.contains("FileName=" + f.defaultSound()));
    QCOMPARE(f.fx.tray.balloons.first(), QStringLiteral("Chimewell|It's 13:00. Time for Meeting."));
    f.tickAt(QTime(13, 0, 1));
    QCOMPARE(f.firings(), 1);
    QVERIFY(f.w().isOneShotArmed()); // stays armed, and the panel keeps its text
    QCOMPARE(f.status(), QStringLiteral("Alarm active"));
    // a reason too long for any notification is shortened
    const QString message = MainWindow::alarmMessage("13:00", QString(10000, 'x'));
    QVERIFY(message.size() < MainWindow::kReasonShownLimit + 30);
    QVERIFY(message.endsWith(QStringLiteral("\u2026.")));
}

void TestAlarms::arming_data()
{
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result"); // the time kept, or the message shown
    const char* rows[][4] = {
        {"h:mm", "Wake up", " 7:30 ", "07:30"},
        {"empty reason", "", "13:00", "Please fill in all fields"},
        {"empty time", "Meeting", "", "Please fill in all fields"},
        {"not a time", "Meeting", "1:00 PM", "Please enter the time as hh:mm, for example 07:30."}};
    for (const auto& r : rows)
        QTest::newRow(r[0]) << r[1] << r[2] << r[3];
}

void TestAlarms::arming()
{
    QFETCH(QString, reason);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    Fixture f;
    f.text(4)->setText("/music/song.mp3");
    QTest::mouseClick(f.button("cmdPlay"), Qt::LeftButton); // a preview is playing
    f.arm(reason, typed);
    const char* buttons[] = {"Command1", "Command2", "Command3", "cmdPlay", "cmdStop"};
    if (result.contains(' ')) { // refused: a message, the alarm off, the field as typed
        QCOMPARE(f.fx.messages.texts(), QStringList{result});
        QCOMPARE(f.fx.messages.shown.first().icon, MessageIcon::Exclamation);
        QVERIFY(f.get<QRadioButton>("Option2")->isChecked());
        QVERIFY(!f.w().isOneShotArmed());
        QVERIFY(f.fx.sound.playing.isEmpty());
        QCOMPARE(f.text(2)->text(), typed);
        QCOMPARE(f.status(), QStringLiteral("No alarm active..."));
        return;
    }
    QVERIFY(f.fx.messages.shown.isEmpty());
    QCOMPARE(f.text(2)->text(), result);
    for (const char* b : buttons)
        QVERIFY2(!f.button(b)->isEnabled(), b);
    for (int n = 1; n <= 5; ++n)
        QVERIFY(f.text(n)->isReadOnly());
    QVERIFY(f.get<QCheckBox>("Check1")->isEnabled() && f.button("Command4")->isEnabled());

    QTest::mouseClick(f.get<QRadioButton>("Option2"), Qt::LeftButton);
    for (const char* b : buttons)
        QCOMPARE(f.button(b)->isEnabled(), QByteArray(b) != "cmdStop");
    for (int n = 1; n <= 5; ++n)
        QVERIFY(!f.text(n)->isReadOnly());
    QVERIFY(!f.w().isOneShotArmed());
    QCOMPARE(f.fx.sound.commands.mid(f.fx.sound.commands.size() - 2),
             QStringList({"STOP", "PREV"}));
}

void TestAlarms::previewAndPlayButtons()
{
    Fixture f;
    f.text(1)->setText("  "); // blanks in the reason are kept
    QTest::mouseClick(f.button("Command3"), Qt::LeftButton);
    QCOMPARE(f.fx.tray.balloons, QStringList{"Chimewell|It's 13:00. Time for   ."});
    QTest::mouseClick(f.button("cmdPlay"), Qt::LeftButton);
    QCOMPARE(f.fx.messages.texts(), QStringList{"You must select a file to play"});
    QVERIFY(f.fx.sound.commands.isEmpty());

    // it plays only what was chosen: an unplayable file has no chime in its place
    f.fx.sound.unplayable = {"/music/a.wav"};
    f.text(4)->setText("/music/a.wav");
    QTest::mouseClick(f.button("cmdPlay"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(f.fx.sound.commands, QStringList({"FileName=/music/a.wav", "OPEN", "PLAY"}));
    QCOMPARE(f.fx.messages.shown.size(), 1);
    QVERIFY(!f.button("cmdPlay")->isEnabled() && f.button("cmdStop")->isEnabled());
    QTest::mouseClick(f.button("cmdStop"), Qt::LeftButton);
    QCOMPARE(f.fx.sound.commands.mid(3), QStringList({"STOP", "PREV"}));
    QVERIFY(f.button("cmdPlay")->isEnabled() && !f.button("cmdStop")->isEnabled());
}

void TestAlarms::soundFallsBackToTheChimeThenTheBeep()
{
    for (bool chimeGone : {false, true}) {
        Fixture f;
        f.fx.sound.unplayable = {"/gone/song.mp3"};
        if (chimeGone)
            f.fx.sound.unplayable << f.defaultSound();
        f.text(4)->setText("/gone/song.mp3");
        f.get<QCheckBox>("Check1")->setChecked(true);
        f.fx.clock.set(QTime(12, 59, 59));
        f.arm("Meeting", "13:00");
        f.tickAt(QTime(13, 0, 0));
        QTRY_COMPARE(f.fx.sound.beeps, chimeGone ? 1 : 0);
        QCOMPARE(f.fx.sound.playing, chimeGone ? QString() : f.defaultSound());
        QCOMPARE(f.fx.tray.balloons.size(), 1); // the balloon and the site come all the same
        QCOMPARE(f.fx.shell.opened, QStringList{"http://"});
    }
}

void TestAlarms::pickersAndEnter()
{
    Fixture f;
    f.w().show();
    f.fx.picker.nextAnswer = QStringLiteral("/music/chosen.mp3");
    f.text(1)->setFocus();
    QTest::keyClick(f.text(1), Qt::Key_Return); // Enter presses the music picker
    QCOMPARE(f.text(4)->text(), QStringLiteral("/music/chosen.mp3"));
    QCOMPARE(f.fx.picker.lastFilters[0].pattern, QStringLiteral("*mp3"));
    QCOMPARE(f.fx.picker.lastFilters[1].pattern, QStringLiteral("*.wav"));
    f.fx.picker.nextAnswer.reset(); // cancelled: the field stays
    QTest::mouseClick(f.button("Command1"), Qt::LeftButton);
    QCOMPARE(f.text(4)->text(), QStringLiteral("/music/chosen.mp3"));

    f.fx.picker.nextAnswer = QStringLiteral("/docs/report.doc");
    QTest::mouseClick(f.button("Command2"), Qt::LeftButton);
    QCOMPARE(f.text(5)->text(), QStringLiteral("/docs/report.doc"));
    QCOMPARE(f.fx.picker.lastFilters.size(), 8);
    QCOMPARE(f.fx.picker.lastFilters.last().description, QStringLiteral("All Files (*.*)"));
    // on another button, Enter presses that button
    f.button("Command3")->setFocus();
    QTest::keyClick(f.button("Command3"), Qt::Key_Return);
    QCOMPARE(f.fx.picker.calls, 3);
    QCOMPARE(f.fx.tray.balloons.size(), 1);
    QVERIFY(f.fx.messages.shown.isEmpty());
}

void TestAlarms::trayHidesAndShowsTheWindow()
{
    // the icon's own clicks on a real tray: e2e_minimized
    Fixture f;
    f.w().show();
    QTest::mouseClick(f.button("Command4"), Qt::LeftButton);
    QVERIFY(!f.w().isVisible());
    f.fx.tray.pressLeft();
    QVERIFY(f.w().isVisible() && !f.w().isMinimized());
    f.w().hide();
    f.get<QAction>("mnuShow")->trigger();
    QVERIFY(f.w().isVisible());
}

void TestAlarms::balloonsAreCutAndReachTheUserWithoutATray()
{
    fakes::Services fx;
    TrayModule tray(fx.tray, &fx.notifier);
    tray.addIcon("/nowhere/ra2.ico", QString(200, 't'), nullptr);
    QCOMPARE(fx.tray.tip.size(), 127);
    tray.showBalloon(QString(300, 'x'), QString(100, 'y'));
    QCOMPARE(fx.tray.balloons.first(), QString(63, 'y') + "|" + QString(255, 'x'));

    // no tray and no notification service: a notice window, plain text, closing by itself
    Fixture g;
    g.fx.tray.available = false;
    g.w().show();
    QTest::mouseClick(g.button("Command4"), Qt::LeftButton);
    QVERIFY(g.w().isVisible() && g.w().isMinimized());
    g.text(1)->setText("<b>x</b>");
    QTest::mouseClick(g.button("Command3"), Qt::LeftButton);
    QWidget* notice = g.w().tray().noticeWindow();
    QVERIFY(notice && notice->isVisible());
    QCOMPARE(notice->findChild<QLabel*>("NoticeText")->text(),
             QStringLiteral("It's 13:00. Time for <b>x</b>."));
    QCOMPARE(notice->findChild<QLabel*>("NoticeText")->textFormat(), Qt::PlainText);
    notice->close();
    QTRY_VERIFY(!g.w().tray().noticeWindow());
}

void TestAlarms::clockLabelFollowsTheClock()
{
    Fixture f;
    f.w().show();
    auto* label = f.get<ClockFace>("Label1");
    f.tickAt(QTime(9, 5, 7));
    const QString first = label->text();
    QVERIFY(first.contains("9") && first.contains("05") && first.contains("07"));
    // a new second repaints the clock and lays nothing out again
    struct LayoutCounter : QObject
    {
        int requests = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            requests += e->type() == QEvent::LayoutRequest;
            return false;
        }
    } counter;
    QCoreApplication::sendPostedEvents(); // what showing the window asked for
    f.w().centralWidget()->installEventFilter(&counter);
    f.w().installEventFilter(&counter);
    f.tickAt(QTime(9, 5, 8));
    QVERIFY(label->text() != first);
    QCOMPARE(counter.requests, 0);

    // the text cursor stops blinking when nobody types, and blinks again at a key press
    const int flashTime = QApplication::cursorFlashTime();
    CursorBlinkLimit limit(50);
    QTRY_COMPARE(QApplication::cursorFlashTime(), 0);
    QTest::keyClick(f.text(1), Qt::Key_A);
    QCOMPARE(QApplication::cursorFlashTime(), flashTime);
}

void TestAlarms::stopAndSnooze()
{
    // From the notification's buttons: Snooze rings again five minutes later, sound and
    // notice, once; Stop silences it and leaves the alarm armed.
    Fixture f;
    f.fx.notifier.serviceRuns = true;
    f.w().bell().setStrings([](const QString& name) {
        return name == "AlarmSnooze" ? QStringLiteral("Schlummern") : QString();
    });
    f.fx.clock.set(QTime(12, 59, 59));
    f.arm("Meeting", "13:00");
    f.tickAt(QTime(13, 0, 0));
    const Notice alarm = f.fx.notifier.notices.value(0);
    QCOMPARE(alarm.text, QStringLiteral("It's 13:00. Time for Meeting."));
    QVERIFY(alarm.urgent);
    QCOMPARE(alarm.actions.size(), 2);
    QCOMPARE(alarm.actions[1].label, QStringLiteral("Schlummern"));
    QVERIFY(f.fx.tray.balloons.isEmpty());
    f.fx.notifier.press(alarm.actions[1].key);
    QVERIFY(f.fx.sound.playing.isEmpty());
    for (int s = 1; s <= 600; ++s)
        f.tickAt(QTime(13, 0, 0).addSecs(s));
    QCOMPARE(f.fx.notifier.notices.size(), 2);
    QCOMPARE(f.fx.sound.commands.count("PLAY"), 2);
    f.fx.notifier.press("stop");
    QVERIFY(f.fx.sound.playing.isEmpty() && f.fx.notifier.withdrawn > 0);
    QVERIFY(f.w().isOneShotArmed());

    // From the tray menu, which offers them while it rings; "Alarm off" forgets a snooze.
    Fixture g;
    g.fx.notifier.serviceRuns = true;
    g.fx.notifier.offersActions = false;
    g.fx.clock.set(QTime(12, 59, 59));
    g.arm("Meeting", "13:00");
    g.tickAt(QTime(13, 0, 0));
    QCOMPARE(g.visibleTrayItems(),
             QStringList({"mnuStopAlarm", "mnuSnooze", "-", "mnuShow", "-", "mnuExit"}));
    g.get<QAction>("mnuSnooze")->trigger();
    QVERIFY(g.fx.sound.playing.isEmpty());
    QCOMPARE(g.visibleTrayItems(), QStringList({"mnuShow", "-", "mnuExit"}));
    QTest::mouseClick(g.get<QRadioButton>("Option2"), Qt::LeftButton);
    g.tickAt(QTime(13, 5, 0));
    QCOMPARE(g.fx.notifier.notices.size(), 1);
}

void TestAlarms::trayTipNamesTheNextAlarm()
{
    Fixture f;
    QCOMPARE(f.w().trayToolTip(), QStringLiteral("Chimewell"));
    f.app.write("schedule/Tuesday.ini", "[alarm]\r\ntime=09:00\r\nreason=Gym\r\n");
    f.app.write("schedule/Monday.ini", "[alarm]\r\ntime=11:00\r\nreason=Past\r\n");
    QCOMPARE(f.w().trayToolTip(), QStringLiteral("Chimewell\nNext alarm: Tuesday 09:00"));
    f.arm("Lunch", "12:30"); // Monday 12:00 now
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Monday 12:30"));
    f.fx.clock.set(QTime(12, 45, 0));
    QCOMPARE(f.w().trayToolTip(), QStringLiteral("Chimewell\nNext alarm: Tuesday 09:00"));
}

void TestAlarms::statusLine_data()
{
    QTest::addColumn<QByteArray>("time");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<QString>("status");
    QTest::newRow("pending") << QByteArray("13:00") << QTime(12, 59, 59)
                             << "Scheduled alarm active (13:00)";
    QTest::newRow("at the time") << QByteArray("13:00") << QTime(13, 0, 0) << "No alarm active...";
    QTest::newRow("h:mm shown as stored")
        << QByteArray("7:30") << QTime(7, 29, 59) << "Scheduled alarm active (7:30)";
    QTest::newRow("unreadable") << QByteArray("abc") << QTime(1, 0, 0) << "No alarm active...";
    QTest::newRow("deleted") << QByteArray("") << QTime(1, 0, 0) << "No alarm active...";
    QTest::newRow("no day file") << QByteArray() << QTime(1, 0, 0) << "No alarm active...";
}

void TestAlarms::statusLine()
{
    QFETCH(QByteArray, time);
    QFETCH(QTime, now);
    QFETCH(QString, status);
    Fixture f;
    if (!time.isNull())
        f.day("Monday", time);
    f.day("Tuesday", "23:00"); // another day's alarm changes nothing today
    f.fx.clock.set(now);
    f.start();
    QCOMPARE(f.status(), status);
    QCOMPARE(f.activePicture(), status.startsWith("Scheduled"));
}

void TestAlarms::oneShotStatusAfterAWeeklyFiring_data()
{
    QTest::addColumn<bool>("armed");
    QTest::addColumn<QString>("status");
    QTest::newRow("Alarm on, later today") << true << "Alarm active";
    QTest::newRow("Alarm off") << false << "No alarm active...";
}

void TestAlarms::oneShotStatusAfterAWeeklyFiring()
{
    QFETCH(bool, armed);
    QFETCH(QString, status);
    Fixture f;
    f.day("Monday", "10:00", "Gym");
    f.fx.clock.set(QTime(9, 59, 58));
    MainWindow& w = f.start();
    w.findChild<QLineEdit*>("Text1")->setText("Call");
    w.findChild<QLineEdit*>("Text2")->setText("23:00");
    if (armed)
        w.findChild<QRadioButton*>("Option1")->click();
    f.runSeconds(3);
    QCOMPARE(f.fx.tray.balloons, QStringList{"Chimewell|It's 10:00. Time for Gym."});
    QVERIFY(f.fx.shell.opened.isEmpty()); // weekly alarms open nothing
    QCOMPARE(f.status(), status);
    QCOMPARE(f.activePicture(), armed);
}

void TestAlarms::laterDaysAndHandEdits()
{
    // Started after today's alarm and left running overnight: tomorrow's file rings.
    Fixture f;
    f.day("Monday", "08:00");
    f.day("Tuesday", "08:00", "Swim");
    f.fx.clock.set(QTime(9, 0, 0));
    f.start();
    QCOMPARE(f.status(), QStringLiteral("No alarm active..."));
    f.tickTo(QDateTime(kMonday.addDays(1), QTime(7, 59, 59)));
    f.runSeconds(1);
    QCOMPARE(f.fx.tray.balloons, QStringList{"Chimewell|It's 08:00. Time for Swim."});

    // Midnight: the new day's file rings at 00:00, and the status line follows the new day.
    Fixture g;
    g.day("Monday", "00:00", "Midnight");
    g.day("Sunday", "");
    g.fx.clock.set(kSunday, QTime(23, 59, 58));
    g.start();
    QCOMPARE(g.status(), QStringLiteral("No alarm active..."));
    g.runSeconds(2);
    QCOMPARE(g.fx.tray.balloons, QStringList{"Chimewell|It's 00:00. Time for Midnight."});
    Fixture h;
    h.day("Monday", "08:00");
    h.fx.clock.set(kSunday, QTime(23, 59, 59));
    h.start();
    h.runSeconds(1);
    QCOMPARE(h.status(), QStringLiteral("Scheduled alarm active (08:00)"));
}

void TestAlarms::scheduleWritesTheDayFile()
{
    Fixture f;
    f.fx.clock.set(QTime(9, 0, 0));
    f.start();
    f.schedule.show();
    f.save(f.schedule.get(), "monday", "Dentist", "9:30");
    QCOMPARE(f.fx.messages.texts(), QStringList{"Succesfully added alarm for Monday"});
    QCOMPARE(f.fx.messages.shown.first().icon, MessageIcon::Information);
    QCOMPARE(f.app.read("schedule/Monday.ini"),
             QByteArray("[alarm]\r\nREASON=Dentist\r\nTIME=09:30\r\nMUSIC=\r\n"));
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (09:30)"));
    QTRY_VERIFY(!f.schedule.loaded()); // closed and unloaded

    // saving again replaces the three values in place
    f.app.write("schedule/Monday.ini",
                "; mine\r\n[alarm]\r\nreason=Old\r\ntime=08:00\r\nmusic=/a.mp3\r\n");
    f.save(f.schedule.get(), "Monday", "New", "10:15", "/b.mp3");
    QCOMPARE(f.app.read("schedule/Monday.ini"),
             QByteArray("; mine\r\n[alarm]\r\nreason=New\r\ntime=10:15\r\nmusic=/b.mp3\r\n"));

    // Go loads a day, and empties the fields for a day without a file
    f.day("Friday", "18:00", "Beer", "/music/friday.mp3");
    QWidget* d = f.schedule.get();
    child<QComboBox>(d, "Combo1")->setCurrentIndex(4);
    child<QPushButton>(d, "Command2")->click();
    QCOMPARE(f.edit(d, "Text1")->text() + f.edit(d, "Text2")->text() + f.edit(d, "Text4")->text(),
             QStringLiteral("Beer18:00/music/friday.mp3"));
    child<QComboBox>(d, "Combo1")->setEditText("Saturday");
    child<QPushButton>(d, "Command2")->click();
    for (const char* box : {"Text1", "Text2", "Text4"})
        QVERIFY(f.edit(d, box)->text().isEmpty());
}

void TestAlarms::enterRunsScheduleAndCancelForgets()
{
    Fixture f;
    f.start();
    QWidget* d = f.schedule.get();
    f.schedule.show();
    QCOMPARE(child<QComboBox>(d, "Combo1")->currentIndex(), -1);
    QCOMPARE(child<QComboBox>(d, "Combo1")->currentText(), QStringLiteral("Monday"));
    QCOMPARE(child<QComboBox>(d, "Combo1")->count(), 7);
    auto* reason = child<QLineEdit>(d, "Text1");
    reason->setText("Typed");
    child<QPushButton>(d, "Command4")->click(); // Cancel
    QTRY_VERIFY(!f.schedule.loaded());
    QVERIFY(!QFile::exists(f.app.file("schedule/Monday.ini")));

    d = f.schedule.get(); // loaded afresh from the design values
    f.schedule.show();
    QCOMPARE(child<QLineEdit>(d, "Text1")->text(), QString());
    QCOMPARE(child<QLineEdit>(d, "Text2")->text(), QStringLiteral("13:00"));
    child<QLineEdit>(d, "Text1")->setText("By Enter");
    child<QLineEdit>(d, "Text1")->setFocus();
    QTest::keyClick(child<QLineEdit>(d, "Text1"), Qt::Key_Return);
    QCOMPARE(f.fx.messages.texts(), QStringList{"Succesfully added alarm for Monday"});
    QVERIFY(f.app.read("schedule/Monday.ini").contains("REASON=By Enter"));

    // also from the day list
    d = f.schedule.get();
    f.schedule.show();
    child<QLineEdit>(d, "Text1")->setText("From the list");
    auto* days = child<QComboBox>(d, "Combo1");
    days->setEditText("Tuesday");
    days->setFocus();
    QTest::keyClick(days->lineEdit(), Qt::Key_Return);
    QCOMPARE(f.fx.messages.texts().last(), QStringLiteral("Succesfully added alarm for Tuesday"));
    QCOMPARE(days->count(), 7);
}

void TestAlarms::refusedInputWritesNothing_data()
{
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("message");
    const QString notADay = "Please choose a day from the list.";
    const QString empty = "Please fill in all fields";
    const QStringList rows[] = {
        {"path out of the folder", "../Chimewell", "x", "13:00", notADay},
        {"empty reason", "Monday", "", "13:00", empty},
        {"empty time", "Monday", "x", "", empty},
        {"bad time", "Monday", "x", "13.00", "Please enter the time as hh:mm, for example 07:30."}};
    for (const QStringList& r : rows)
        QTest::newRow(qPrintable(r[0])) << r[1] << r[2] << r[3] << r[4];
}

void TestAlarms::refusedInputWritesNothing()
{
    QFETCH(QString, day);
    QFETCH(QString, reason);
    QFETCH(QString, time);
    QFETCH(QString, message);
    Fixture f;
    f.app.write("Chimewell.ini", "[options]\r\nfirstload=0\r\n");
    f.start();
    QWidget* d = f.schedule.get();
    f.schedule.show();
    f.save(d, qPrintable(day), qPrintable(reason), qPrintable(time));
    QCOMPARE(f.fx.messages.texts(), QStringList{message});
    QVERIFY(d->isVisible());
    QCOMPARE(QDir(f.app.file("schedule")).entryList(QDir::Files), QStringList());
    f.deleteDay("../Chimewell");
    QCOMPARE(f.fx.messages.texts().last(), QStringLiteral("Please choose a day from the list."));
    QCOMPARE(f.app.read("Chimewell.ini"), QByteArray("[options]\r\nfirstload=0\r\n"));
}

void TestAlarms::failedWriteIsReportedNotCelebrated()
{
    Fixture f;
    f.start();
    QDir(f.app.path()).rmdir("schedule");
    f.app.write("schedule", "a file where the folder should be");
    QWidget* d = f.schedule.get();
    f.schedule.show();
    f.save(d, "Monday", "Kept");
    QCOMPARE(f.fx.messages.shown.size(), 1);
    QCOMPARE(f.fx.messages.shown.first().icon, MessageIcon::Stop);
    QVERIFY(f.fx.messages.texts().first().contains("Monday.ini"));
    QVERIFY(d->isVisible());
    QCOMPARE(f.edit(d, "Text1")->text(), QStringLiteral("Kept"));
}

void TestAlarms::deleteBlanksTheDay()
{
    Fixture f;
    f.day("Monday", "13:00", "Meeting", "/m.mp3");
    f.fx.clock.set(QTime(12, 0, 0));
    f.start();
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (13:00)"));
    QWidget* d = f.remove.get();
    f.remove.show();
    QCOMPARE(child<QComboBox>(d, "Combo2")->currentText(), QStringLiteral("Monday"));
    QVERIFY(!child<QPushButton>(d, "Command5")->isDefault());
    f.deleteDay("Monday");
    QCOMPARE(f.fx.messages.texts(), QStringList{"Succesfully deleted alarm for Monday"});
    const QByteArray blank("[alarm]\r\nREASON=\r\nTIME=\r\nMUSIC=\r\n");
    QCOMPARE(f.app.read("schedule/Monday.ini"), blank);
    QCOMPARE(f.status(), QStringLiteral("No alarm active..."));
    f.tickTo(QDateTime(kMonday, QTime(12, 59, 59)));
    f.runSeconds(2);
    QVERIFY(f.fx.tray.balloons.isEmpty());
    f.deleteDay("wednesday"); // a day without a file gets one with three empty values
    QCOMPARE(f.app.read("schedule/Wednesday.ini"), blank);
}

QTEST_MAIN(TestAlarms)
#include "TestAlarms.moc"
