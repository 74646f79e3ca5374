// The alarms without a window: when they ring, what they play and show, and what their
// notices' buttons do.
#include "Fakes.h"
#include "alarm/AlarmBell.h"
#include "alarm/AlarmScheduler.h"
#include "alarm/AlarmSound.h"
#include "alarm/SecondTicker.h"
#include "platform/QtShellOpen.h"
#include "tray/TrayModule.h"

#include <QtTest/QtTest>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>

using namespace chimewell;

namespace {

const QDate kMonday(2026, 12, 7);

struct Engine
{
    fakes::Services fx;
    fakes::AppFolder app;
    TrayModule tray{fx.tray, &fx.notifier};
    std::unique_ptr<AlarmScheduler> made;

    // Made at first use, once the test has set the clock and written its day files.
    AlarmScheduler& alarms()
    {
        if (!made)
            made = std::make_unique<AlarmScheduler>(fx.services, app.path(), tray);
        return *made;
    }
    void tickAt(const QDateTime& time)
    {
        alarms();
        fx.clock.time = time;
        alarms().ticker().fire();
        QCoreApplication::processEvents(); // the sound's fallbacks come from the event loop
    }
    void tickAt(const QTime& time) { tickAt(QDateTime(fx.clock.time.date(), time)); }
    void armAt13(const QStringList& targets = {})
    {
        fx.clock.time = QDateTime(kMonday, QTime(12, 59, 59));
        alarms().arm({13 * 60, "Meeting", "", targets});
    }
    QString chime() const { return app.file("alarm.mp3"); }
    // What the notices said, in order: notifications where a service runs, else balloons.
    QStringList told() const
    {
        QStringList out = fx.tray.balloons;
        for (const Notice& n : fx.notifier.sent)
            out << n.title + "|" + n.text;
        return out;
    }
};

} // namespace

class TestAlarmEngine : public QObject
{
    Q_OBJECT

private slots:
    void oneShotRingsEveryDayAndOpensWhatIsTicked();
    void typedTargetsReachTheDesktopAsTheShellReadsThem();
    void weeklyAlarmsFromTheDayFiles();
    void soundFallsBackToTheChimeThenBeepsThenSaysSo();
    void ringsForTheChosenTimeUntilStopped();
    void everyNoticeKeepsItsButtons();
    void snoozeComesBackAndIsTheNextAlarm();
    void noticesWithoutANotificationService();
    void aSkippedDaylightSavingHourRingsAtTheJump();
};

void TestAlarmEngine::oneShotRingsEveryDayAndOpensWhatIsTicked()
{
    Engine e;
    e.armAt13({"http://example.org/agenda"});
    e.alarms().setOneShotTargets({"http://example.org/agenda", "/home/me/agenda.doc"});
    e.tickAt(QTime(13, 0, 0));
    e.tickAt(QTime(13, 0, 1));
    QCOMPARE(e.told(), QStringList{"Chimewell|It's 13:00. Time for Meeting."});
    QCOMPARE(e.fx.sound.played, QStringList{e.chime()});
    QCOMPARE(e.fx.shell.opened, QStringList({"http://example.org/agenda", "/home/me/agenda.doc"}));
    e.tickAt(QDateTime(kMonday.addDays(1), QTime(12, 59, 59)));
    e.tickAt(QDateTime(kMonday.addDays(1), QTime(13, 0, 0)));
    QCOMPARE(e.fx.sound.played.size(), 2);

    // Asleep across its time: told as missed, without sound, and only once.
    e.tickAt(QDateTime(kMonday.addDays(2), QTime(12, 59, 0)));
    e.tickAt(QDateTime(kMonday.addDays(2), QTime(13, 5, 0)));
    QCOMPARE(e.told().last(),
             QStringLiteral("Chimewell|Missed alarm: It's 13:00. Time for Meeting."));
    QCOMPARE(e.fx.sound.played.size(), 2);
    e.alarms().disarm();
    e.tickAt(QDateTime(kMonday.addDays(3), QTime(12, 59, 59)));
    e.tickAt(QDateTime(kMonday.addDays(3), QTime(13, 0, 0)));
    QCOMPARE(e.fx.sound.played.size(), 2);
}

void TestAlarmEngine::typedTargetsReachTheDesktopAsTheShellReadsThem()
{
    // (What the desktop then makes of them: e2e_one_shot.)
    fakes::AppFolder work;
    work.write("notes.txt", "x");
    const QString rows[][2] = {{"~/notes.txt", "file:///home/me/notes.txt"},
                               {"notes.txt", "file://" + work.file("notes.txt")},
                               {" /docs/report.txt", "file:///docs/report.txt"},
                               {"https://example.org/a?b=1", "https://example.org/a?b=1"},
                               {"www.example.org", "http://www.example.org"}};
    for (const auto& [typed, url] : rows)
        QCOMPARE(urlForTarget(typed, work.path(), "/home/me").toString(), url);
}

void TestAlarmEngine::weeklyAlarmsFromTheDayFiles()
{
    Engine e;
    e.app.day("Monday", "8:05", "Swim", "/music/monday.mp3"); // as the user wrote it
    e.app.day("Tuesday", "00:00", "Midnight");
    e.tickAt(QDateTime(kMonday, QTime(8, 4, 59)));
    e.tickAt(QTime(8, 5, 0));
    QCOMPARE(e.told(), QStringList{"Chimewell|It's 8:05. Time for Swim."});
    QCOMPARE(e.fx.sound.played, QStringList{"/music/monday.mp3"});
    QVERIFY(e.fx.shell.opened.isEmpty()); // weekly alarms open nothing

    // Tomorrow's file, at midnight; a day blanked by hand rings no more.
    e.tickAt(QDateTime(kMonday, QTime(23, 59, 59)));
    e.tickAt(QDateTime(kMonday.addDays(1), QTime(0, 0, 0)));
    QCOMPARE(e.told().last(), QStringLiteral("Chimewell|It's 00:00. Time for Midnight."));
    e.app.day("Monday", "");
    e.tickAt(QDateTime(kMonday.addDays(7), QTime(8, 4, 59)));
    e.tickAt(QDateTime(kMonday.addDays(7), QTime(8, 5, 0)));
    QCOMPARE(e.told().size(), 2);
}

void TestAlarmEngine::soundFallsBackToTheChimeThenBeepsThenSaysSo()
{
    for (int failing = 1; failing <= 3; ++failing) { // of the own sound, the chime, the beeps
        Engine e;
        e.fx.notifier.serviceRuns = true;
        const QStringList chain = {"/gone/song.mp3", e.chime(), SoundDevice::kBeeps};
        for (int i = 0; i < failing; ++i)
            e.fx.sound.unplayable << chain[i];
        e.app.day("Monday", "13:00", "Gym", "/gone/song.mp3");
        e.tickAt(QDateTime(kMonday, QTime(12, 59, 59)));
        e.tickAt(QTime(13, 0, 0));
        QTRY_COMPARE(e.fx.sound.played, chain.mid(0, std::min(failing + 1, 3)));
        QCOMPARE(e.fx.sound.playing, chain.value(failing));
        QCOMPARE(e.fx.notifier.showing.last().text.endsWith("No sound could be played."),
                 failing == 3);
    }
    // The play button plays only what was chosen.
    Engine e;
    e.fx.sound.unplayable << "/gone/song.mp3";
    e.alarms().sound().play("/gone/song.mp3");
    QTest::qWait(0);
    QCOMPARE(e.fx.sound.played, QStringList{"/gone/song.mp3"});
}

void TestAlarmEngine::ringsForTheChosenTimeUntilStopped()
{
    for (const char* minutes : {"0", "5", "7"}) { // 7 is no choice: once
        Engine e;
        e.app.write("Chimewell.ini", QByteArray("[options]\r\nringminutes=") + minutes + "\r\n");
        QSignalSpy ringing(&e.alarms().bell(), &AlarmBell::ringingChanged);
        e.armAt13();
        e.tickAt(QTime(13, 0, 0));
        QCOMPARE(e.fx.sound.repeating, QByteArray(minutes) == "5");
        QCOMPARE(ringing.size(), 1);
        e.fx.sound.finish(); // a sound that repeats never finishes; played once, it rang out
        QCOMPARE(ringing.size(), QByteArray(minutes) == "5" ? 1 : 2);
    }
    // The time is up: the sound stops, the notice stays until acted on.
    fakes::FakeSoundDevice device;
    AlarmSound sound(device, "/chime.mp3");
    QSignalSpy ended(&sound, &AlarmSound::ended);
    sound.ring("/song.mp3", std::chrono::seconds(1));
    QVERIFY(device.repeating);
    QTRY_COMPARE(ended.size(), 1);
    QVERIFY(device.playing.isEmpty());
}

void TestAlarmEngine::everyNoticeKeepsItsButtons()
{
    // (A slow server, a preview on top, unknown numbers, dismissing: e2e_notices.)
    // Two alarms at once: the later one plays. "Alarm off" takes the one-shot alarm's notice
    // away and leaves the weekly one ringing; a button of a notice that has gone does nothing.
    Engine e;
    e.fx.notifier.serviceRuns = true;
    e.app.day("Monday", "13:00", "Gym");
    e.armAt13();
    e.tickAt(QTime(13, 0, 0));
    const QList<int> both = e.fx.notifier.showing.keys();
    QCOMPARE(both.size(), 2);
    QVERIFY(e.fx.notifier.showing[both[0]].urgent);
    QCOMPARE(e.fx.notifier.showing[both[0]].actions.size(), 2);
    e.alarms().disarm();
    QCOMPARE(e.fx.notifier.showing.keys(), QList<int>{both[1]});
    e.fx.notifier.press(both[0], "stop");
    QVERIFY(!e.fx.sound.playing.isEmpty());
    e.fx.notifier.press(both[1], "stop");
    QVERIFY(e.fx.sound.playing.isEmpty() && e.fx.notifier.showing.isEmpty());
}

void TestAlarmEngine::snoozeComesBackAndIsTheNextAlarm()
{
    Engine e;
    e.fx.notifier.serviceRuns = true;
    e.app.day("Tuesday", "09:00", "Later");
    e.armAt13();
    e.tickAt(QTime(13, 0, 0));
    e.fx.notifier.press(e.fx.notifier.last(), "snooze");
    QVERIFY(e.fx.sound.playing.isEmpty());
    QCOMPARE(e.alarms().nextAlarm(), QDateTime(kMonday, QTime(13, 5, 0)));
    for (int s = 1; s <= 300; ++s)
        e.tickAt(QTime(13, 0, 0).addSecs(s));
    QCOMPARE(e.fx.sound.played.size(), 2);
    QCOMPARE(e.fx.notifier.sent.size(), 2);
    QCOMPARE(e.alarms().nextAlarm(), QDateTime(kMonday.addDays(1), QTime(9, 0, 0)));
    // "Alarm off" forgets a snoozed one-shot alarm.
    e.fx.notifier.press(e.fx.notifier.last(), "snooze");
    e.alarms().disarm();
    e.tickAt(QTime(13, 10, 0));
    QCOMPARE(e.fx.sound.played.size(), 2);
}

void TestAlarmEngine::noticesWithoutANotificationService()
{
    // A service that fails the notice (it crashed inside the call): a balloon instead.
    Engine e;
    e.fx.notifier.serviceRuns = true;
    e.armAt13();
    e.tickAt(QTime(13, 0, 0));
    emit e.fx.notifier.failed(e.fx.notifier.last());
    QCOMPARE(e.fx.tray.balloons, QStringList{"Chimewell|It's 13:00. Time for Meeting."});

    // No tray either: a window that stays, with the alarm's buttons; closing it is Stop.
    Engine g;
    g.fx.tray.available = false;
    g.armAt13();
    g.alarms().setOneShotTargets({});
    g.tickAt(QTime(13, 0, 0));
    QWidget* notice = g.tray.noticeWindow();
    QVERIFY(notice && notice->isVisible());
    QCOMPARE(fakes::child<QLabel>(notice, "NoticeText")->textFormat(), Qt::PlainText);
    fakes::child<QPushButton>(notice, "snooze")->click();
    QVERIFY(g.fx.sound.playing.isEmpty());
    QTRY_VERIFY(!g.tray.noticeWindow());
    g.tickAt(QTime(13, 5, 0));
    g.tray.noticeWindow()->close();
    QVERIFY(g.fx.sound.playing.isEmpty());
}

void TestAlarmEngine::aSkippedDaylightSavingHourRingsAtTheJump()
{
    qputenv("TZ", "Europe/Berlin");
    tzset();
    Engine e;
    e.app.day("Sunday", "02:30", "Skipped hour");
    e.fx.clock.time = QDateTime(QDate(2027, 3, 28), QTime(1, 59, 40)); // clocks go to 03:00
    const qint64 wake = e.alarms().nextWake();
    QCOMPARE(QDateTime::fromSecsSinceEpoch(wake).time(), QTime(3, 0, 0));
    e.tickAt(QDateTime::fromSecsSinceEpoch(wake));
    QCOMPARE(e.told(), QStringList{"Chimewell|It's 02:30. Time for Skipped hour."});
    qunsetenv("TZ");
    tzset();
}

QTEST_MAIN(TestAlarmEngine)
#include "TestAlarmEngine.moc"
