#include "Fakes.h"
#include "app/AlarmBell.h"
#include "app/ClockFace.h"
#include "app/CursorBlinkLimit.h"
#include "app/MainWindow.h"
#include "app/SecondTicker.h"
#include "app/StatusPanel.h"
#include "tray/TrayModule.h"

#include <QtTest/QtTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>

using namespace chimewell;

namespace {

// The main window in a fresh application folder, driven by a fake clock.
struct Fixture
{
    fakes::Services fx;
    fakes::AppFolder app;
    MainWindow window{fx.services, app.path()};

    template <typename T = QWidget> T* get(const char* name)
    {
        T* w = window.findChild<T*>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QLineEdit* text(int n) { return get<QLineEdit>(qPrintable(QString("Text%1").arg(n))); }
    QPushButton* button(const char* name) { return get<QPushButton>(name); }
    QString status() { return window.findChild<StatusPanel*>()->text(); }
    QString defaultSound() { return app.path() + "/alarm.mp3"; }

    void arm(const QString& reason, const QString& time)
    {
        text(1)->setText(reason);
        text(2)->setText(time);
        QTest::mouseClick(get<QRadioButton>("Option1"), Qt::LeftButton);
    }
    void tickAt(const QTime& time)
    {
        fx.clock.set(time);
        window.ticker().fire();
        QCoreApplication::processEvents(); // queued sound fallbacks
    }
    // Alarms rung, not told as missed.
    int firings() const { return fx.tray.balloons.filter("|It's ").size(); }
    QStringList visibleTrayItems() const
    {
        QStringList out;
        for (QAction* a : window.trayMenu()->actions())
            if (a->isVisible())
                out << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return out;
    }
};

} // namespace

class TestOneShotAlarm : public QObject
{
    Q_OBJECT

private slots:
    void firesOnceWithTheCallsInOrder();
    void firesOnTheTickThatReachesTheTime_data();
    void firesOnTheTickThatReachesTheTime();
    void firesAgainTheNextDay();
    void clockSetBackDoesNotFireTwice();
    void missingFieldsLeaveTheAlarmOff_data();
    void missingFieldsLeaveTheAlarmOff();
    void typedTimesAreNormalisedOrRefused_data();
    void typedTimesAreNormalisedOrRefused();
    void armingLocksAndDisarmingUnlocks();
    void checkBoxesAreReadWhenItFires();
    void previewShowsTheBalloonWithoutSound();
    void soundFallsBackToTheChimeThenTheBeep();
    void playAndStopButtons();
    void pickersUseTheirFiltersAndKeepTheFieldOnCancel();
    void enterPressesTheMusicPicker();
    void trayRestoresAndHides();
    void balloonTextsAreCutToTheirFields();
    void withoutATrayTheAlarmStillReachesTheUser();
    void clockLabelFollowsTheClock();
    void stopAndSnoozeFromTheNotification();
    void stopAndSnoozeFromTheTrayMenu();
    void aSleptThroughAlarmIsToldNotRung();
    void trayTipNamesTheNextAlarm();
};

void TestOneShotAlarm::firesOnceWithTheCallsInOrder()
{
    Fixture f;
    f.get<QCheckBox>("Check1")->setChecked(true);
    f.text(3)->setText("http://example.org/agenda");
    f.get<QCheckBox>("Check2")->setChecked(true);
    f.text(5)->setText("/home/me/agenda.doc");
    f.fx.clock.set(QTime(12, 59, 58));
    f.arm("Meeting", "13:00");
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
    // it stays armed, locked, and the panel keeps its text
    QVERIFY(f.window.isOneShotArmed());
    QCOMPARE(f.status(), QStringLiteral("Alarm active"));
}

void TestOneShotAlarm::firesOnTheTickThatReachesTheTime_data()
{
    QTest::addColumn<QList<QTime>>("ticks");
    QTest::addColumn<int>("firings");
    QTest::newRow("a skipped second fires late")
        << QList<QTime>{QTime(12, 59, 59), QTime(13, 0, 1), QTime(13, 0, 2)} << 1;
    QTest::newRow("two ticks in one second fire once")
        << QList<QTime>{QTime(12, 59, 59), QTime(13, 0, 0), QTime(13, 0, 0)} << 1;
    QTest::newRow("a sleep past the time stays quiet")
        << QList<QTime>{QTime(12, 59, 0), QTime(15, 0, 0)} << 0;
    QTest::newRow("armed after the time waits for tomorrow")
        << QList<QTime>{QTime(13, 0, 5), QTime(13, 0, 6)} << 0;
}

void TestOneShotAlarm::firesOnTheTickThatReachesTheTime()
{
    QFETCH(QList<QTime>, ticks);
    QFETCH(int, firings);
    Fixture f;
    f.fx.clock.set(ticks.first().addSecs(-1));
    f.arm("Meeting", "13:00");
    for (const QTime& t : ticks)
        f.tickAt(t);
    QCOMPARE(f.firings(), firings);
}

void TestOneShotAlarm::firesAgainTheNextDay()
{
    Fixture f;
    f.fx.clock.set(QTime(12, 59, 58));
    f.arm("Standup", "13:00");
    for (int s = 0; s < 2 * 86400; ++s) {
        f.fx.clock.step();
        f.window.ticker().fire();
    }
    QCOMPARE(f.firings(), 2);
}

void TestOneShotAlarm::clockSetBackDoesNotFireTwice()
{
    Fixture f;
    f.fx.clock.set(QTime(12, 59, 59));
    f.arm("Meeting", "13:00");
    f.tickAt(QTime(13, 0, 0));
    f.fx.clock.set(QTime(12, 59, 0)); // set back by hand
    for (int s = 0; s < 120; ++s) {
        f.fx.clock.step();
        f.window.ticker().fire();
    }
    QCOMPARE(f.firings(), 1);
}

void TestOneShotAlarm::missingFieldsLeaveTheAlarmOff_data()
{
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("time");
    QTest::newRow("empty reason") << ""
                                  << "13:00";
    QTest::newRow("empty time") << "Meeting"
                                << "";
}

void TestOneShotAlarm::missingFieldsLeaveTheAlarmOff()
{
    QFETCH(QString, reason);
    QFETCH(QString, time);
    Fixture f;
    f.text(4)->setText("/music/song.mp3");
    QTest::mouseClick(f.button("cmdPlay"), Qt::LeftButton); // a preview is playing
    QCOMPARE(f.fx.sound.playing, QStringLiteral("/music/song.mp3"));
    f.arm(reason, time);
    QCOMPARE(f.fx.messages.texts(), QStringList{"Please fill in all fields"});
    QCOMPARE(f.fx.messages.shown.first().icon, MessageIcon::Exclamation);
    QVERIFY(f.get<QRadioButton>("Option2")->isChecked());
    QVERIFY(!f.get<QRadioButton>("Option1")->isChecked());
    QVERIFY(!f.window.isOneShotArmed());
    QVERIFY(f.fx.sound.playing.isEmpty());
    QCOMPARE(f.status(), QStringLiteral("No alarm active..."));
}

void TestOneShotAlarm::typedTimesAreNormalisedOrRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // empty: refused
    QTest::newRow("hh:mm") << "13:00"
                           << "13:00";
    QTest::newRow("h:mm") << "7:30"
                          << "07:30";
    QTest::newRow("blanks around") << " 7:30 "
                                   << "07:30";
    QTest::newRow("dot") << "13.00"
                         << "";
    QTest::newRow("seconds") << "13:00:30"
                             << "";
    QTest::newRow("pm") << "1:00 PM"
                        << "";
    QTest::newRow("out of range") << "25:99"
                                  << "";
}

void TestOneShotAlarm::typedTimesAreNormalisedOrRefused()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Fixture f;
    f.fx.clock.set(QTime(7, 0, 0));
    f.arm("Wake up", typed);
    if (stored.isEmpty()) {
        QCOMPARE(f.fx.messages.texts(),
                 QStringList{"Please enter the time as hh:mm, for example 07:30."});
        QVERIFY(!f.window.isOneShotArmed());
        QVERIFY(f.get<QRadioButton>("Option2")->isChecked());
        QCOMPARE(f.text(2)->text(), typed); // left for the user to correct
    } else {
        QVERIFY(f.fx.messages.shown.isEmpty());
        QVERIFY(f.window.isOneShotArmed());
        QCOMPARE(f.text(2)->text(), stored);
    }
}

void TestOneShotAlarm::armingLocksAndDisarmingUnlocks()
{
    Fixture f;
    const char* buttons[] = {"Command1", "Command2", "Command3", "cmdPlay", "cmdStop"};
    f.arm("Meeting", "13:00");
    for (const char* b : buttons)
        QVERIFY2(!f.button(b)->isEnabled(), b);
    for (int n = 1; n <= 5; ++n)
        QVERIFY(f.text(n)->isReadOnly());
    QVERIFY(f.get<QCheckBox>("Check1")->isEnabled());
    QVERIFY(f.button("Command4")->isEnabled());

    QTest::mouseClick(f.get<QRadioButton>("Option2"), Qt::LeftButton);
    for (const char* b : {"Command1", "Command2", "Command3", "cmdPlay"})
        QVERIFY2(f.button(b)->isEnabled(), b);
    QVERIFY(!f.button("cmdStop")->isEnabled());
    for (int n = 1; n <= 5; ++n)
        QVERIFY(!f.text(n)->isReadOnly());
    QVERIFY(!f.window.isOneShotArmed());
    QCOMPARE(f.fx.sound.commands.mid(f.fx.sound.commands.size() - 2),
             QStringList({"STOP", "PREV"}));
}

void TestOneShotAlarm::checkBoxesAreReadWhenItFires()
{
    Fixture f;
    f.text(3)->setText("http://example.org");
    f.text(5)->setText("/tmp/file.txt");
    f.get<QCheckBox>("Check2")->setChecked(true);
    f.fx.clock.set(QTime(12, 59, 59));
    f.arm("Meeting", "13:00");
    f.get<QCheckBox>("Check1")->setChecked(true);  // ticked after arming
    f.get<QCheckBox>("Check2")->setChecked(false); // cleared before firing
    f.tickAt(QTime(13, 0, 0));
    QCOMPARE(f.fx.shell.opened, QStringList{"http://example.org"});
}

void TestOneShotAlarm::previewShowsTheBalloonWithoutSound()
{
    Fixture f;
    QTest::mouseClick(f.button("Command3"), Qt::LeftButton);
    QCOMPARE(f.fx.tray.balloons, QStringList{"Chimewell|It's 13:00. Time for ."});
    QVERIFY(f.fx.sound.commands.isEmpty());
    // blanks in the reason are kept
    f.text(1)->setText("  ");
    QTest::mouseClick(f.button("Command3"), Qt::LeftButton);
    QCOMPARE(f.fx.tray.balloons.last(), QStringLiteral("Chimewell|It's 13:00. Time for   ."));
}

void TestOneShotAlarm::soundFallsBackToTheChimeThenTheBeep()
{
    Fixture f;
    f.fx.sound.unplayable = {"/gone/song.mp3"};
    f.text(4)->setText("/gone/song.mp3");
    f.fx.clock.set(QTime(12, 59, 59));
    f.arm("Meeting", "13:00");
    f.tickAt(QTime(13, 0, 0));
    QCOMPARE(f.fx.sound.playing, f.defaultSound());
    QCOMPARE(f.fx.tray.balloons.size(), 1); // the balloon still came
    QCOMPARE(f.fx.sound.beeps, 0);

    // the default chime is gone too: the beep sounds
    Fixture g;
    g.fx.sound.unplayable = {"/gone/song.mp3", g.defaultSound()};
    g.text(4)->setText("/gone/song.mp3");
    g.get<QCheckBox>("Check1")->setChecked(true);
    g.fx.clock.set(QTime(12, 59, 59));
    g.arm("Meeting", "13:00");
    g.tickAt(QTime(13, 0, 0));
    QTRY_COMPARE(g.fx.sound.beeps, 1);
    QCOMPARE(g.fx.tray.balloons.size(), 1);
    QCOMPARE(g.fx.shell.opened, QStringList{"http://"});

    // the play button plays only what was chosen
    Fixture h;
    h.fx.sound.unplayable = {"/gone/song.mp3"};
    h.text(4)->setText("/gone/song.mp3");
    QTest::mouseClick(h.button("cmdPlay"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(h.fx.sound.playing.isEmpty());
    QVERIFY(!h.fx.sound.commands.contains("FileName=" + h.defaultSound()));
    QVERIFY(h.fx.messages.shown.isEmpty());
    QVERIFY(h.button("cmdStop")->isEnabled()); // as if it played
}

void TestOneShotAlarm::playAndStopButtons()
{
    Fixture f;
    QTest::mouseClick(f.button("cmdPlay"), Qt::LeftButton);
    QCOMPARE(f.fx.messages.texts(), QStringList{"You must select a file to play"});
    QVERIFY(f.fx.sound.commands.isEmpty());

    f.text(4)->setText("/music/a.wav");
    QTest::mouseClick(f.button("cmdPlay"), Qt::LeftButton);
    QCOMPARE(f.fx.sound.commands, QStringList({"FileName=/music/a.wav", "OPEN", "PLAY"}));
    QVERIFY(!f.button("cmdPlay")->isEnabled());
    QVERIFY(f.button("cmdStop")->isEnabled());
    QTest::mouseClick(f.button("cmdStop"), Qt::LeftButton);
    QCOMPARE(f.fx.sound.commands.mid(3), QStringList({"STOP", "PREV"}));
    QVERIFY(f.button("cmdPlay")->isEnabled());
    QVERIFY(!f.button("cmdStop")->isEnabled());
}

void TestOneShotAlarm::pickersUseTheirFiltersAndKeepTheFieldOnCancel()
{
    Fixture f;
    f.fx.picker.nextAnswer = QStringLiteral("/music/chosen.mp3");
    QTest::mouseClick(f.button("Command1"), Qt::LeftButton);
    QCOMPARE(f.text(4)->text(), QStringLiteral("/music/chosen.mp3"));
    QCOMPARE(f.fx.picker.lastSelected, 0);
    QCOMPARE(f.fx.picker.lastFilters.size(), 2);
    QCOMPARE(f.fx.picker.lastFilters[0].description, QStringLiteral("MP3 files (*.mp3)"));
    QCOMPARE(f.fx.picker.lastFilters[0].pattern, QStringLiteral("*mp3"));
    QCOMPARE(f.fx.picker.lastFilters[1].pattern, QStringLiteral("*.wav"));

    f.fx.picker.nextAnswer.reset(); // cancelled
    QTest::mouseClick(f.button("Command1"), Qt::LeftButton);
    QCOMPARE(f.text(4)->text(), QStringLiteral("/music/chosen.mp3"));
    QVERIFY(f.fx.messages.shown.isEmpty());

    f.fx.picker.nextAnswer = QStringLiteral("/docs/report.doc");
    QTest::mouseClick(f.button("Command2"), Qt::LeftButton);
    QCOMPARE(f.text(5)->text(), QStringLiteral("/docs/report.doc"));
    QStringList patterns;
    for (const auto& filter : f.fx.picker.lastFilters)
        patterns << filter.pattern;
    QCOMPARE(patterns,
             QStringList({"*doc", "*.rtf", "*.txt", "*.xls", "*.ppt", "*.pps", "*.exe", "*.*"}));
    QCOMPARE(f.fx.picker.lastFilters.last().description, QStringLiteral("All Files (*.*)"));
}

void TestOneShotAlarm::enterPressesTheMusicPicker()
{
    Fixture f;
    f.window.show();
    f.fx.picker.nextAnswer = QStringLiteral("/music/enter.mp3");
    f.text(1)->setFocus();
    QTest::keyClick(f.text(1), Qt::Key_Return);
    QCOMPARE(f.fx.picker.calls, 1);
    QCOMPARE(f.text(4)->text(), QStringLiteral("/music/enter.mp3"));
    // on another button, Enter presses that button
    f.button("Command3")->setFocus();
    QTest::keyClick(f.button("Command3"), Qt::Key_Return);
    QCOMPARE(f.fx.picker.calls, 1);
    QCOMPARE(f.fx.tray.balloons.size(), 1);
}

void TestOneShotAlarm::trayRestoresAndHides()
{
    Fixture f;
    f.window.show();
    QTest::mouseClick(f.button("Command4"), Qt::LeftButton);
    QVERIFY(!f.window.isVisible());
    f.fx.tray.pressLeft();
    QVERIFY(f.window.isVisible());
    QVERIFY(!f.window.isMinimized());
    f.fx.tray.pressLeft(); // already shown: stays shown and normal
    QVERIFY(f.window.isVisible());

    f.window.hide();
    auto* show = f.window.findChild<QAction*>("mnuShow");
    QCOMPARE(f.visibleTrayItems(), QStringList({"mnuShow", "-", "mnuExit"}));
    show->trigger();
    QVERIFY(f.window.isVisible());
}

void TestOneShotAlarm::balloonTextsAreCutToTheirFields()
{
    fakes::Services fx;
    TrayModule tray(fx.tray, &fx.notifier);
    tray.addIcon("/nowhere/ra2.ico", QString(200, 't'), nullptr);
    QCOMPARE(fx.tray.tip.size(), 127);
    tray.showBalloon(QString(300, 'x'), QString(100, 'y'));
    QCOMPARE(fx.tray.balloons.first(), QString(63, 'y') + "|" + QString(255, 'x'));
}

void TestOneShotAlarm::withoutATrayTheAlarmStillReachesTheUser()
{
    // a desktop notification when a notification service runs
    Fixture f;
    f.fx.tray.available = false;
    f.fx.notifier.serviceRuns = true;
    f.window.show();
    QTest::mouseClick(f.button("Command4"), Qt::LeftButton);
    QVERIFY(f.window.isVisible());
    QVERIFY(f.window.isMinimized());
    f.fx.clock.set(QTime(12, 59, 59));
    f.arm("Meeting", "13:00");
    f.tickAt(QTime(13, 0, 0));
    QVERIFY(f.fx.tray.balloons.isEmpty());
    QCOMPARE(f.fx.notifier.notes, QStringList{"Chimewell|It's 13:00. Time for Meeting."});

    // else a notice window that closes by itself
    Fixture g;
    g.fx.tray.available = false;
    QTest::mouseClick(g.button("Command3"), Qt::LeftButton);
    QWidget* notice = g.window.tray().noticeWindow();
    QVERIFY(notice);
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->findChild<QLabel*>("NoticeText")->text(),
             QStringLiteral("It's 13:00. Time for ."));
    QCOMPARE(notice->findChild<QLabel*>("NoticeText")->textFormat(), Qt::PlainText);
    notice->close();
    QTRY_VERIFY(!g.window.tray().noticeWindow());
}

void TestOneShotAlarm::clockLabelFollowsTheClock()
{
    Fixture f;
    f.window.show();
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
    f.window.centralWidget()->installEventFilter(&counter);
    f.window.installEventFilter(&counter);
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

void TestOneShotAlarm::stopAndSnoozeFromTheNotification()
{
    Fixture f;
    f.fx.notifier.serviceRuns = true;
    f.window.bell().setStrings([](const QString& name) {
        return name == "AlarmSnooze" ? QStringLiteral("Schlummern") : QString();
    });
    f.fx.clock.set(QTime(12, 59, 59));
    f.arm("Meeting", "13:00");
    f.tickAt(QTime(13, 0, 0));
    QCOMPARE(f.fx.notifier.notices.size(), 1);
    const Notice alarm = f.fx.notifier.notices.first();
    QCOMPARE(alarm.text, QStringLiteral("It's 13:00. Time for Meeting."));
    QVERIFY(alarm.urgent);
    QCOMPARE(alarm.actions.size(), 2);
    QCOMPARE(alarm.actions[0].label, QStringLiteral("Stop"));
    QCOMPARE(alarm.actions[1].label, QStringLiteral("Schlummern"));
    QVERIFY(f.fx.tray.balloons.isEmpty());

    // Snooze: silent at once, rings again five minutes later, sound and notice, once
    f.fx.notifier.press(alarm.actions[1].key);
    QVERIFY(f.fx.sound.playing.isEmpty());
    for (int s = 1; s <= 600; ++s)
        f.tickAt(QTime(13, 0, 0).addSecs(s));
    QCOMPARE(f.fx.notifier.notices.size(), 2);
    QCOMPARE(f.fx.sound.commands.count("PLAY"), 2);

    // Stop: silent, and the alarm stays armed for tomorrow
    f.fx.notifier.press("stop");
    QVERIFY(f.fx.sound.playing.isEmpty());
    QVERIFY(f.fx.notifier.withdrawn > 0);
    QVERIFY(f.window.isOneShotArmed());
    QCOMPARE(f.fx.sound.commands.count("PLAY"), 2);
}

void TestOneShotAlarm::stopAndSnoozeFromTheTrayMenu()
{
    // a notification service without buttons: the menu offers Stop and Snooze while it rings
    Fixture f;
    f.fx.notifier.serviceRuns = true;
    f.fx.notifier.offersActions = false;
    f.fx.clock.set(QTime(12, 59, 59));
    f.arm("Meeting", "13:00");
    f.tickAt(QTime(13, 0, 0));
    QCOMPARE(f.visibleTrayItems(),
             QStringList({"mnuStopAlarm", "mnuSnooze", "-", "mnuShow", "-", "mnuExit"}));
    f.get<QAction>("mnuSnooze")->trigger();
    QVERIFY(f.fx.sound.playing.isEmpty());
    QCOMPARE(f.visibleTrayItems(), QStringList({"mnuShow", "-", "mnuExit"}));
    f.tickAt(QTime(13, 4, 59));
    QCOMPARE(f.fx.notifier.notices.size(), 1);
    f.tickAt(QTime(13, 5, 0));
    QCOMPARE(f.fx.notifier.notices.size(), 2);
    f.get<QAction>("mnuStopAlarm")->trigger();
    QVERIFY(f.fx.sound.playing.isEmpty());
    QVERIFY(f.window.isOneShotArmed());

    // "Alarm off" forgets a snoozed one-shot alarm
    f.get<QAction>("mnuSnooze")->trigger();
    QTest::mouseClick(f.get<QRadioButton>("Option2"), Qt::LeftButton);
    f.tickAt(QTime(13, 10, 0));
    QCOMPARE(f.fx.notifier.notices.size(), 2);
}

void TestOneShotAlarm::aSleptThroughAlarmIsToldNotRung()
{
    Fixture f;
    f.fx.notifier.serviceRuns = true;
    f.fx.clock.set(QTime(12, 59, 49));
    f.arm("Dentist", "13:00");
    f.tickAt(QTime(12, 59, 50));
    f.tickAt(QTime(13, 5, 0)); // suspended in between
    const QString told = "Missed alarm: It's 13:00. Time for Dentist.";
    QCOMPARE(f.fx.notifier.notes, QStringList{"Chimewell|" + told});
    QVERIFY(f.fx.notifier.notices.first().actions.isEmpty());
    QVERIFY(!f.fx.sound.commands.contains("PLAY"));
    QCOMPARE(f.status(), told);
    f.tickAt(QTime(13, 5, 1));
    QCOMPARE(f.fx.notifier.notes.size(), 1);

    // a reason too long for any notification is shortened
    const QString message = MainWindow::alarmMessage("13:00", QString(10000, 'x'));
    QVERIFY(message.size() < MainWindow::kReasonShownLimit + 30);
    QVERIFY(message.endsWith(QStringLiteral("\u2026.")));
}

void TestOneShotAlarm::trayTipNamesTheNextAlarm()
{
    Fixture f;
    QCOMPARE(f.window.trayToolTip(), QStringLiteral("Chimewell"));
    f.app.write("schedule/Tuesday.ini", "[alarm]\r\ntime=09:00\r\nreason=Gym\r\n");
    f.app.write("schedule/Monday.ini", "[alarm]\r\ntime=11:00\r\nreason=Past\r\n");
    QCOMPARE(f.window.trayToolTip(), QStringLiteral("Chimewell\nNext alarm: Tuesday 09:00"));
    f.arm("Lunch", "12:30"); // Monday 12:00 now
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Monday 12:30"));
    f.fx.clock.set(QTime(12, 45, 0));
    QCOMPARE(f.window.trayToolTip(), QStringLiteral("Chimewell\nNext alarm: Tuesday 09:00"));
}

QTEST_MAIN(TestOneShotAlarm)
#include "TestOneShotAlarm.moc"
