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
    void firesWithTheCallsInOrder();
    void firesOnceADayFromArmingOn();
    void arming_data();
    void arming();
    void previewAndPlayButtons();
    void soundFallsBackToTheChimeThenTheBeep();
    void pickersAndEnter();
    void trayRestoresAndHides();
    void balloonsAreCutAndReachTheUserWithoutATray();
    void clockLabelFollowsTheClock();
    void stopAndSnooze();
    void trayTipNamesTheNextAlarm();
};

void TestOneShotAlarm::firesWithTheCallsInOrder()
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
    QVERIFY(f.window.isOneShotArmed()); // stays armed, and the panel keeps its text
    QCOMPARE(f.status(), QStringLiteral("Alarm active"));
    // a reason too long for any notification is shortened
    const QString message = MainWindow::alarmMessage("13:00", QString(10000, 'x'));
    QVERIFY(message.size() < MainWindow::kReasonShownLimit + 30);
    QVERIFY(message.endsWith(QStringLiteral("\u2026.")));
}

void TestOneShotAlarm::firesOnceADayFromArmingOn()
{
    // Armed after today's time: tomorrow and the day after, and a clock set back over the
    // time does not ring it again.
    Fixture f;
    f.fx.clock.set(QTime(13, 0, 5));
    f.arm("Standup", "13:00");
    for (int s = 0; s < 2 * 86400; ++s) {
        f.fx.clock.step();
        f.window.ticker().fire();
    }
    QCOMPARE(f.firings(), 2);
    f.fx.clock.set(QTime(12, 59, 0));
    for (int s = 0; s < 120; ++s) {
        f.fx.clock.step();
        f.window.ticker().fire();
    }
    QCOMPARE(f.firings(), 2);
}

void TestOneShotAlarm::arming_data()
{
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result"); // the time kept, or the message shown
    QTest::newRow("h:mm") << "Wake up"
                          << " 7:30 "
                          << "07:30";
    QTest::newRow("empty reason") << ""
                                  << "13:00"
                                  << "Please fill in all fields";
    QTest::newRow("empty time") << "Meeting"
                                << ""
                                << "Please fill in all fields";
    QTest::newRow("not a time") << "Meeting"
                                << "1:00 PM"
                                << "Please enter the time as hh:mm, for example 07:30.";
}

void TestOneShotAlarm::arming()
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
        QVERIFY(!f.window.isOneShotArmed());
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
    QVERIFY(!f.window.isOneShotArmed());
    QCOMPARE(f.fx.sound.commands.mid(f.fx.sound.commands.size() - 2),
             QStringList({"STOP", "PREV"}));
}

void TestOneShotAlarm::previewAndPlayButtons()
{
    Fixture f;
    f.text(1)->setText("  "); // blanks in the reason are kept
    QTest::mouseClick(f.button("Command3"), Qt::LeftButton);
    QCOMPARE(f.fx.tray.balloons, QStringList{"Chimewell|It's 13:00. Time for   ."});
    QTest::mouseClick(f.button("cmdPlay"), Qt::LeftButton);
    QCOMPARE(f.fx.messages.texts(), QStringList{"You must select a file to play"});
    QVERIFY(f.fx.sound.commands.isEmpty());

    f.text(4)->setText("/music/a.wav");
    QTest::mouseClick(f.button("cmdPlay"), Qt::LeftButton);
    QCOMPARE(f.fx.sound.commands, QStringList({"FileName=/music/a.wav", "OPEN", "PLAY"}));
    QVERIFY(!f.button("cmdPlay")->isEnabled() && f.button("cmdStop")->isEnabled());
    QTest::mouseClick(f.button("cmdStop"), Qt::LeftButton);
    QCOMPARE(f.fx.sound.commands.mid(3), QStringList({"STOP", "PREV"}));
    QVERIFY(f.button("cmdPlay")->isEnabled() && !f.button("cmdStop")->isEnabled());
}

void TestOneShotAlarm::soundFallsBackToTheChimeThenTheBeep()
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
    // the play button plays only what was chosen
    Fixture h;
    h.fx.sound.unplayable = {"/gone/song.mp3"};
    h.text(4)->setText("/gone/song.mp3");
    QTest::mouseClick(h.button("cmdPlay"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(!h.fx.sound.commands.contains("FileName=" + h.defaultSound()));
    QVERIFY(h.fx.messages.shown.isEmpty());
    QVERIFY(h.button("cmdStop")->isEnabled()); // as if it played
}

void TestOneShotAlarm::pickersAndEnter()
{
    Fixture f;
    f.window.show();
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

void TestOneShotAlarm::trayRestoresAndHides()
{
    Fixture f;
    f.window.show();
    QTest::mouseClick(f.button("Command4"), Qt::LeftButton);
    QVERIFY(!f.window.isVisible());
    f.fx.tray.pressLeft();
    QVERIFY(f.window.isVisible() && !f.window.isMinimized());
    f.fx.tray.pressLeft(); // already shown: stays shown and normal
    QVERIFY(f.window.isVisible());

    f.window.hide();
    QCOMPARE(f.visibleTrayItems(), QStringList({"mnuShow", "-", "mnuExit"}));
    f.get<QAction>("mnuShow")->trigger();
    QVERIFY(f.window.isVisible());
}

void TestOneShotAlarm::balloonsAreCutAndReachTheUserWithoutATray()
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
    g.window.show();
    QTest::mouseClick(g.button("Command4"), Qt::LeftButton);
    QVERIFY(g.window.isVisible() && g.window.isMinimized());
    g.text(1)->setText("<b>x</b>");
    QTest::mouseClick(g.button("Command3"), Qt::LeftButton);
    QWidget* notice = g.window.tray().noticeWindow();
    QVERIFY(notice && notice->isVisible());
    QCOMPARE(notice->findChild<QLabel*>("NoticeText")->text(),
             QStringLiteral("It's 13:00. Time for <b>x</b>."));
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

void TestOneShotAlarm::stopAndSnooze()
{
    // From the notification's buttons: Snooze rings again five minutes later, sound and
    // notice, once; Stop silences it and leaves the alarm armed.
    Fixture f;
    f.fx.notifier.serviceRuns = true;
    f.window.bell().setStrings([](const QString& name) {
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
    QVERIFY(f.window.isOneShotArmed());

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
