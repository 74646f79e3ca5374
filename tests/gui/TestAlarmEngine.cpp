// The alarms without a window: when they ring, what they play and show, and what their
// notices' buttons do.
#include "Fakes.h"
#include "alarm/AlarmBell.h"
#include "alarm/AlarmScheduler.h"
#include "alarm/AlarmSound.h"
#include "alarm/SecondTicker.h"
#include "app/CommandLine.h"
#include "lang/LanguagePack.h"
#include "platform/QtShellOpen.h"
#include "storage/Loudness.h"
#include "tray/TrayModule.h"
#include "widgets/QtText.h"

#include <QtTest/QtTest>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>

using namespace chimewell;

namespace {

const QDate kMonday(2026, 12, 7);

struct Engine
{
    fakes::Services fx;
    fakes::AppFolder app;
    LanguagePack texts{fx.messages};
    TrayModule tray{fx.tray, &fx.notifier};
    std::unique_ptr<AlarmScheduler> made;

    // Made at first use, once the test has set the clock and written its files.
    AlarmScheduler& alarms()
    {
        if (!made) {
            made = std::make_unique<AlarmScheduler>(fx.services, app.path(), tray, texts);
            made->start();
        }
        return *made;
    }
    void tickAt(const QDateTime& time)
    {
        alarms();
        fx.clock.time = time;
        alarms().watchNow();
        QCoreApplication::processEvents(); // the sound's fallbacks come from the event loop
    }
    void tickAt(const QTime& time) { tickAt(QDateTime(fx.clock.time.date(), time)); }
    // The program awake until `time`, looking at the clock at least every 30 s as it does.
    void passTo(const QTime& time)
    {
        while (fx.clock.time.time().addSecs(30) < time)
            tickAt(fx.clock.time.addSecs(30));
        tickAt(time);
    }
    // Every second from the clock's time to `time`.
    void runTo(const QTime& time)
    {
        while (fx.clock.time.time() < time)
            tickAt(fx.clock.time.addSecs(1));
    }
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
    void everySwitchedOnAlarmOfADayRings();
    void missedAlarmsAreEachTold();
    void ringAndSnoozeLastWhatTheyAreSetTo_data();
    void ringAndSnoozeLastWhatTheyAreSetTo();
    void anAlarmsRingTimeIsItsOwn();
    void aRingKeepsTryingItsSoundUntilItsTimeIsOver();
    void everyNoticeActsOnItsOwnAlarm();
    void snoozeComesBackAtItsSecond();
    void noticesWithoutANotificationService();
    void refusedFilesAreToldOnceAndKept();
    void aBurstOfChangesOnDiskIsReadOnce();
    void aSkippedDaylightSavingHourRingsAtTheJump();
    void timersRingOnceAfterTheirLength();
    void timersOutliveTheProgram();
    void aThousandTimers();
    void whatRingsStoppedBySnoozedByAndListedById();
    void aMutedOutputIsWarnedOfOnceAndUnmutedByItsNotice();
    void aRingIntoAMutedOutputSaysSoAndUnmutesWhenAsked();
    void musicPausesWhileAnAlarmRings();
    void anAlarmsOwnVolumeAndFadeIn();
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
    const QString rows[][2] = {
        {"~/notes.txt", "file:///home/me/notes.txt"},
        {"notes.txt", QUrl::fromLocalFile(work.file("notes.txt")).toString()},
        {" /docs/report.txt", "file:///docs/report.txt"},
        {"https://example.org/a?b=1", "https://example.org/a?b=1"},
        {"www.example.org", "http://www.example.org"}};
    for (const auto& [typed, url] : rows)
        QCOMPARE(urlForTarget(typed, work.path(), "/home/me").toString(), url);
}

void TestAlarmEngine::everySwitchedOnAlarmOfADayRings()
{
    Engine e;
    e.fx.notifier.serviceRuns = true;
    // As the user wrote them: h:mm, a section switched off, numbers with gaps, bad times.
    e.app.day("Monday", "7:00", "Swim", "/music/monday.mp3",
              "[alarm 2]\r\nTIME=07:30\r\nREASON=Off\r\nOFF=1\r\n"
              "[Alarm 7]\r\nTIME=08:00\r\nREASON=Bus\r\n[alarm 8]\r\nTIME=08:00\r\nREASON=Keys\r\n"
              "[alarm 11]\r\nTIME=08:00\r\nREASON=Off too\r\nOFF=1\r\n"
              "[alarm 9]\r\nTIME=25:99\r\nREASON=Never\r\n[alarm 10]\r\nTIME=8:5\r\n");
    e.app.day("Tuesday", "00:00", "Midnight");
    e.fx.clock.time = QDateTime(kMonday, QTime(6, 59, 59));
    e.runTo(QTime(8, 10, 0));
    QCOMPARE(e.told(), QStringList({"Chimewell|It's 7:00. Time for Swim.",
                                    "Chimewell|It's 08:00. Time for Bus.",
                                    "Chimewell|It's 08:00. Time for Keys."}));
    // Two at the same minute: two notices, one sound, the first one's.
    QCOMPARE(e.fx.sound.played, QStringList({"/music/monday.mp3", e.chime()}));
    QCOMPARE(e.fx.notifier.showing.size(), 3);
    QVERIFY(e.fx.shell.opened.isEmpty()); // weekly alarms open nothing

    // Tomorrow's file at midnight; a day blanked by hand rings no more.
    e.tickAt(QDateTime(kMonday, QTime(23, 59, 59)));
    e.tickAt(QDateTime(kMonday.addDays(1), QTime(0, 0, 0)));
    QCOMPARE(e.told().last(), QStringLiteral("Chimewell|It's 00:00. Time for Midnight."));
    e.app.day("Monday", "");
    e.tickAt(QDateTime(kMonday.addDays(7), QTime(6, 59, 59)));
    e.tickAt(QDateTime(kMonday.addDays(7), QTime(7, 0, 0)));
    QCOMPARE(e.told().size(), 4);
}

void TestAlarmEngine::missedAlarmsAreEachTold()
{
    // The machine was off for eight days: every missed alarm is named, with its day, in one
    // notice; none rings.
    Engine e;
    e.app.day("Monday", "09:00", "Standup");
    e.app.day("Wednesday", "10:00", "Dentist", "", "[alarm 2]\r\nTIME=11:00\r\nREASON=Lunch\r\n");
    e.fx.clock.time = QDateTime(kMonday, QTime(8, 0, 0));
    e.alarms();
    QSignalSpy missed(&e.alarms(), &AlarmScheduler::missed);
    e.tickAt(QDateTime(kMonday.addDays(8), QTime(12, 0, 0)));
    QVERIFY(e.fx.sound.played.isEmpty());
    QCOMPARE(e.fx.tray.balloons.size(), 1);
    const QStringList lines = e.fx.tray.balloons.first().section('|', 1).split('\n');
    QCOMPARE(lines.size(), 4); // Monday twice, and Wednesday's two, the latest first
    QCOMPARE(lines.first(),
             QStringLiteral("Missed alarm on Monday 14 Dec: It's 09:00. Time for Standup."));
    QCOMPARE(lines[1],
             QStringLiteral("Missed alarm on Wednesday 9 Dec: It's 11:00. Time for Lunch."));
    QCOMPARE(missed.size(), 1);
    QVERIFY(missed.first().first().toString().endsWith(
        "Missed alarm on Monday 7 Dec: It's 09:00. Time for Standup."));

    // Many: the latest twenty and how many more; every one in the notice window.
    Engine many;
    many.fx.notifier.serviceRuns = true;
    QByteArray sections;
    for (int i = 2; i <= 21; ++i)
        sections += "[alarm " + QByteArray::number(i) +
                    "]\r\nTIME=09:" + QByteArray::number(i).rightJustified(2, '0') +
                    "\r\nREASON=R" + QByteArray::number(i) + "\r\n";
    many.app.day("Wednesday", "09:00", "R1", "", sections);
    many.fx.clock.time = QDateTime(kMonday, QTime(8, 0, 0));
    many.alarms();
    many.tickAt(QDateTime(kMonday.addDays(8), QTime(12, 0, 0)));
    const QStringList shown = many.fx.notifier.sent.last().text.split('\n');
    QCOMPARE(shown.size(), AlarmBell::kMissedLines + 1);
    QCOMPARE(shown.first(),
             QStringLiteral("Missed alarm on Wednesday 9 Dec: It's 09:21. Time for R21."));
    QCOMPARE(shown.last(),
             QStringLiteral("... and 1 more (the full list is in the notice window)"));
    QVERIFY(many.tray.noticeWindow());
    const auto* full = many.tray.noticeWindow()->findChild<QPlainTextEdit*>("NoticeDetails");
    QVERIFY(full && full->toPlainText().count('\n') == 20); // all twenty-one
}

void TestAlarmEngine::ringAndSnoozeLastWhatTheyAreSetTo_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("own"); // the weekly alarm's own keys
    QTest::addColumn<int>("oneShotRing");
    QTest::addColumn<int>("weeklyRing");
    QTest::addColumn<int>("weeklySnooze");
    QTest::newRow("nothing set") << QByteArray() << QByteArray() << 0 << 0 << 5;
    QTest::newRow("1 minute") << QByteArray("ringminutes=1") << QByteArray() << 1 << 1 << 5;
    QTest::newRow("5 minutes, snooze 10")
        << QByteArray("ringminutes=5\r\nsnoozeminutes=10") << QByteArray() << 5 << 5 << 10;
    QTest::newRow("15 minutes, snooze 15")
        << QByteArray("ringminutes=15\r\nsnoozeminutes=15") << QByteArray() << 15 << 15 << 15;
    QTest::newRow("7 is no choice")
        << QByteArray("ringminutes=7\r\nsnoozeminutes=7") << QByteArray() << 0 << 0 << 5;
    QTest::newRow("the alarm's own")
        << QByteArray("ringminutes=15") << QByteArray("RINGMINUTES=0\r\nSNOOZEMINUTES=60\r\n") << 15
        << 0 << 60;
    QTest::newRow("the alarm's own, bad")
        << QByteArray("ringminutes=1\r\nsnoozeminutes=10")
        << QByteArray("RINGMINUTES=7\r\nSNOOZEMINUTES=0\r\n") << 1 << 1 << 10;
}

void TestAlarmEngine::ringAndSnoozeLastWhatTheyAreSetTo()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, own);
    QFETCH(int, oneShotRing);
    QFETCH(int, weeklyRing);
    QFETCH(int, weeklySnooze);
    Engine e;
    e.app.write("Chimewell.ini", "[options]\r\n" + settings + "\r\n");
    e.app.day("Monday", "14:00", "Gym", "", own);
    e.armAt13();
    const QList<AlarmScheduler::Coming> coming = e.alarms().coming();
    QVERIFY(coming.size() >= 2);
    using std::chrono::minutes;
    QCOMPARE(coming[0].alarm.ringFor, minutes(oneShotRing));
    QCOMPARE(coming[1].alarm.ringFor, minutes(weeklyRing));
    QCOMPARE(coming[1].alarm.snoozeFor, minutes(weeklySnooze));
    // What rings is what the list says: repeating for a ring time, once without.
    e.tickAt(QTime(13, 0, 0));
    QCOMPARE(e.fx.sound.repeating, oneShotRing > 0);
    QVERIFY(e.alarms().isRinging());
    e.fx.sound.finish(); // a sound that repeats never finishes; played once, it rang out
    QCOMPARE(e.alarms().isRinging(), oneShotRing > 0);
}

void TestAlarmEngine::anAlarmsRingTimeIsItsOwn()
{
    // 13:00 rings for 15 minutes; 13:01, once, joins it with its notice and its sound, and the
    // ring goes on for 13:00's time, until each is stopped.
    for (const char* first : {"Short", "Long"}) {
        Engine e;
        e.fx.notifier.serviceRuns = true;
        e.app.day("Monday", "13:00", "Long", "",
                  "RINGMINUTES=15\r\n[alarm 2]\r\nTIME=13:01\r\n"
                  "REASON=Short\r\nMUSIC=/music/short.mp3\r\nRINGMINUTES=0\r\n");
        e.fx.clock.time = QDateTime(kMonday, QTime(12, 59, 59));
        e.passTo(QTime(13, 1, 0));
        QCOMPARE(e.fx.sound.playing, QStringLiteral("/music/short.mp3"));
        QVERIFY(e.fx.sound.repeating && e.alarms().isRinging());
        QVERIFY(e.alarms().findChild<AlarmSound*>()->ringTimeLeft() > std::chrono::minutes(13));
        // Stopped first, the once-only alarm leaves the ring to the other; the long one takes
        // the sound with it, the once-only alarm having had its sound.
        e.fx.notifier.press(e.fx.notifier.showingWith(first), "stop");
        QCOMPARE(e.fx.sound.playing.isEmpty(), first == QByteArray("Long"));
        e.fx.notifier.press(e.fx.notifier.showingWith("Long"), "stop");
        QVERIFY(e.fx.sound.playing.isEmpty());
    }
    // Two that ring once: the later one's sound cuts the earlier one's, and its Stop is silence.
    Engine o;
    o.fx.notifier.serviceRuns = true;
    o.app.day("Monday", "13:00", "First", "", "[alarm 2]\r\nTIME=13:01\r\nREASON=Second\r\n");
    o.fx.clock.time = QDateTime(kMonday, QTime(12, 59, 59));
    o.passTo(QTime(13, 1, 0));
    o.fx.notifier.press(o.fx.notifier.showingWith("Second"), "stop");
    QVERIFY(o.fx.sound.playing.isEmpty());
}

void TestAlarmEngine::aRingKeepsTryingItsSoundUntilItsTimeIsOver()
{
    // The pauses between rounds of tries grow, to a limit.
    QCOMPARE(QList<int>({AlarmSound::pauseAfter(0), AlarmSound::pauseAfter(1),
                         AlarmSound::pauseAfter(2), AlarmSound::pauseAfter(3),
                         AlarmSound::pauseAfter(4), AlarmSound::pauseAfter(9)}),
             QList<int>({1000, 2000, 4000, 8000, 10000, 10000}));

    // Nothing plays: its own sound, the chime, the beeps, each tried; the notice says so.
    Engine e;
    e.fx.notifier.serviceRuns = true;
    e.app.write("Chimewell.ini", "[options]\r\nringminutes=1\r\n");
    const QStringList chain = {"/gone/song.mp3", e.chime(), SoundDevice::kBeeps};
    e.fx.sound.unplayable = QSet<QString>(chain.begin(), chain.end());
    e.app.day("Monday", "13:00", "Gym", "/gone/song.mp3");
    e.tickAt(QDateTime(kMonday, QTime(12, 59, 59)));
    e.tickAt(QTime(13, 0, 0));
    QTRY_COMPARE(e.fx.sound.played, chain);
    const int notice = e.fx.notifier.last();
    // (The beeps' failure comes from the event loop, after their play.)
    QTRY_VERIFY(e.fx.notifier.showing.value(notice).text.endsWith("No sound could be played."));
    // Its sound server is back: the next round of tries, a second on, is heard, and the
    // notice says nothing more of it.
    e.fx.sound.unplayable.clear();
    QTRY_COMPARE_WITH_TIMEOUT(e.fx.sound.playing, chain.first(), 3000);
    QCOMPARE(e.fx.notifier.showing.value(notice).text, QStringLiteral("It's 13:00. Time for Gym."));
    // Heard, then lost again: tried again at once, its own sound first.
    const int before = e.fx.sound.played.size();
    emit e.fx.sound.failed(chain.first());
    QCOMPARE(e.fx.sound.played.mid(before), QStringList{chain.first()});

    // The play button plays only what was chosen.
    Engine f;
    f.fx.sound.unplayable << "/gone/song.mp3";
    f.alarms().tryOutSound("/gone/song.mp3");
    QTest::qWait(0);
    QCOMPARE(f.fx.sound.played, QStringList{"/gone/song.mp3"});
}

void TestAlarmEngine::everyNoticeActsOnItsOwnAlarm()
{
    // Two alarms at one minute: a notice each, one sound. Each notice's Stop takes its own
    // alarm; the sound stops with the last.
    Engine e;
    e.fx.notifier.serviceRuns = true;
    e.app.write("Chimewell.ini", "[options]\r\nringminutes=5\r\n");
    e.app.day("Monday", "13:00", "Gym", "", "[alarm 2]\r\nTIME=13:01\r\nREASON=Call\r\n");
    e.armAt13();
    e.tickAt(QTime(13, 0, 0));
    const int meeting = e.fx.notifier.showingWith("Meeting");
    const int gym = e.fx.notifier.showingWith("Gym");
    QVERIFY(meeting && gym && meeting != gym);
    QVERIFY(e.fx.notifier.showing[gym].urgent);
    e.fx.notifier.press(gym, "stop");
    QVERIFY(!e.fx.notifier.showing.contains(gym) && e.fx.notifier.showing.contains(meeting));
    QVERIFY(!e.fx.sound.playing.isEmpty());

    // A later alarm takes the sound; the earlier notice's Snooze snoozes its own alarm only.
    e.tickAt(QTime(13, 1, 0));
    const int call = e.fx.notifier.showingWith("Call");
    e.fx.notifier.press(meeting, "snooze");
    QVERIFY(e.fx.notifier.showing.contains(call) && !e.fx.sound.playing.isEmpty());
    QCOMPARE(e.alarms().nextAlarm(), QDateTime(kMonday, QTime(13, 6, 0)));
    e.fx.notifier.press(999, "stop"); // no notice of the program's
    QVERIFY(!e.fx.sound.playing.isEmpty());

    // "Alarm off" silences the ringing alarm and takes its notice with it.
    e.alarms().disarm();
    QVERIFY(e.fx.sound.playing.isEmpty() && e.fx.notifier.showing.isEmpty());
    e.runTo(QTime(13, 7, 0));
    QCOMPARE(e.fx.notifier.sent.size(), 3); // the snoozed one-shot alarm went with it
}

void TestAlarmEngine::snoozeComesBackAtItsSecond()
{
    // Pressed at a fraction of a second, Snooze rings again at that second five (or the
    // alarm's own) minutes on, and is the next alarm meanwhile.
    Engine e;
    e.fx.notifier.serviceRuns = true;
    e.app.day("Monday", "13:00", "Gym", "", "SNOOZEMINUTES=10\r\n");
    e.app.day("Tuesday", "09:00", "Later");
    e.armAt13();
    e.tickAt(QTime(13, 0, 0));
    e.fx.clock.time = QDateTime(kMonday, QTime(13, 0, 4, 2));
    e.fx.notifier.press(e.fx.notifier.showingWith("Meeting"), "snooze");
    e.fx.notifier.press(e.fx.notifier.showingWith("Gym"), "snooze");
    QVERIFY(e.fx.sound.playing.isEmpty());
    QCOMPARE(e.alarms().nextAlarm(), QDateTime(kMonday, QTime(13, 5, 4)));
    e.passTo(QTime(13, 5, 3, 999));
    QCOMPARE(e.fx.notifier.sent.size(), 2);
    QCOMPARE(QDateTime::fromSecsSinceEpoch(e.alarms().nextWake()),
             QDateTime(kMonday, QTime(13, 5, 4)));
    e.tickAt(QTime(13, 5, 4, 2));
    QCOMPARE(e.fx.notifier.sent.size(), 3);
    QCOMPARE(e.fx.notifier.sent.last().actions.last().label, QStringLiteral("Snooze 5 minutes"));
    e.fx.notifier.press(e.fx.notifier.last(), "stop");
    e.passTo(QTime(13, 10, 4, 2));
    QCOMPARE(e.told().last(), QStringLiteral("Chimewell|It's 13:00. Time for Gym."));
    QCOMPARE(e.fx.notifier.sent.last().actions.last().label, QStringLiteral("Snooze 10 minutes"));
    // Asleep across its time, a snooze is told as missed, without sound, as any alarm is.
    e.fx.notifier.press(e.fx.notifier.last(), "snooze");
    const qsizetype played = e.fx.sound.played.size();
    e.passTo(QTime(13, 19, 30));
    e.tickAt(QTime(13, 20, 35)); // 65 s without a look at the clock: a sleep
    QCOMPARE(e.told().last(), QStringLiteral("Chimewell|Missed alarm: It's 13:00. Time for Gym."));
    QCOMPARE(e.fx.sound.played.size(), played);
    // Switched off or deleted while snoozed, it does not come back.
    e.fx.notifier.press(e.fx.notifier.showingWith("Gym"), "stop");
    e.app.day("Monday", "15:01", "Swim");
    e.passTo(QTime(15, 1, 0));
    e.fx.notifier.press(e.fx.notifier.showingWith("Swim"), "snooze");
    e.app.day("Monday", "15:01", "Swim", "", "OFF=1\r\n");
    e.alarms().lookNow();
    QVERIFY(!e.alarms().nextAlarm() || *e.alarms().nextAlarm() > QDateTime(kMonday, QTime(16, 0)));
    e.passTo(QTime(15, 20, 0));
    QCOMPARE(e.told().last(), QStringLiteral("Chimewell|It's 15:01. Time for Swim."));
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
    // The balloon has no buttons and goes by itself: the notice window comes with it.
    QVERIFY(e.tray.noticeWindow() && e.tray.noticeWindow()->isVisible());
    // A passing notice too: on a StatusNotifier tray its balloon goes to that same service.
    e.tray.tell({"Chimewell", "Passing", false, {}, {}});
    emit e.fx.notifier.failed(e.fx.notifier.last());
    QCOMPARE(e.tray.noticeWindow()->findChildren<QLabel*>("NoticeText").last()->text(), "Passing");

    // No tray either: one window lists each alarm with its own buttons, and each is told;
    // closing the window is Stop for every alarm in it.
    Engine g;
    g.fx.tray.available = false;
    g.app.day("Monday", "13:00", "Gym");
    g.armAt13();
    g.tickAt(QTime(13, 0, 0));
    QWidget* window = g.tray.noticeWindow();
    QVERIFY(window && window->isVisible());
    QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
    const auto texts = window->findChildren<QLabel*>("NoticeText");
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0]->textFormat(), Qt::PlainText);
    QVERIFY(texts[0]->text().contains("Meeting") && texts[1]->text().contains("Gym"));
    // The first row's Snooze snoozes the one-shot alarm only.
    fakes::child<QPushButton>(window->findChild<QWidget*>("Notice1"), "snooze")->click();
    QCOMPARE(window->findChildren<QLabel*>("NoticeText").size(), 1);
    QVERIFY(!g.fx.sound.playing.isEmpty());
    window->close();
    QVERIFY(g.fx.sound.playing.isEmpty());
    QTRY_VERIFY(!g.tray.noticeWindow());
    g.runTo(QTime(13, 5, 0));
    QVERIFY(g.tray.noticeWindow());
}

void TestAlarmEngine::refusedFilesAreToldOnceAndKept()
{
    Engine e;
    e.fx.notifier.serviceRuns = true;
    QByteArray oversized = "[options]\r\nringminutes=5\r\n;";
    oversized.resize(1024 * 1024 + 1, 'x');
    e.app.write("Chimewell.ini", oversized);
    e.app.day("Monday", "13:00", "Gym");
    e.fx.clock.time = QDateTime(kMonday, QTime(12, 59, 0));
    e.alarms();
    QCOMPARE(e.fx.notifier.sent.size(), 1);
    QVERIFY(e.fx.notifier.sent[0].text.startsWith(e.app.file("Chimewell.ini") +
                                                  " is not read (larger than 1 MB)."));
    // A day file that grows past the limit before its alarm is told when first seen, once.
    QByteArray day = e.app.read("schedule/Monday.ini");
    day.resize(1024 * 1024 + 1, ';');
    e.app.write("schedule/Monday.ini", day);
    e.tickAt(QTime(12, 59, 30));
    e.tickAt(QTime(12, 59, 31));
    QCOMPARE(e.fx.notifier.sent.size(), 2);
    QVERIFY(e.fx.notifier.sent[1].text.startsWith(e.app.file("schedule/Monday.ini")));
    QVERIFY(e.fx.notifier.sent[1].urgent);
    QCOMPARE(e.fx.notifier.sent[1].actions.first().label, QStringLiteral("Close"));
    e.tickAt(QTime(13, 0, 0));
    QCOMPARE(e.fx.notifier.sent.size(), 2);
    QCOMPARE(e.app.read("schedule/Monday.ini"), day);
    QCOMPARE(e.app.read("Chimewell.ini"), oversized);
}

void TestAlarmEngine::aBurstOfChangesOnDiskIsReadOnce()
{
    Engine e;
    e.app.day("Monday", "13:00", "Gym");
    e.fx.clock.time = QDateTime(kMonday, QTime(12, 0, 0));
    QSignalSpy looks(&e.alarms(), &AlarmCommands::ticked);
    QTest::qWait(AlarmScheduler::kQuietMs * 2);
    looks.clear();
    for (int i = 0; i < 40; ++i) {
        e.app.write("scratch" + QString::number(i % 4), "x");
        QFile::remove(e.app.file("scratch" + QString::number(i % 4)));
        QTest::qWait(1);
    }
    e.app.day("Monday", "12:30", "Moved");
    QTest::qWait(AlarmScheduler::kQuietMs * 3);
    QVERIFY2(looks.size() >= 1 && looks.size() <= 2, qPrintable(QString::number(looks.size())));
    QCOMPARE(e.alarms().nextAlarm(), QDateTime(kMonday, QTime(12, 30, 0)));
}

void TestAlarmEngine::aSkippedDaylightSavingHourRingsAtTheJump()
{
    qputenv("TZ", "Europe/Berlin");
    tzset();
    // (Windows takes its time zone from the system alone.)
    if (QDateTime(QDate(2027, 3, 28), QTime(2, 30)).isValid()) {
        qunsetenv("TZ");
        QSKIP("the local time zone cannot be set here");
    }
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

void TestAlarmEngine::timersRingOnceAfterTheirLength()
{
    Engine e;
    e.fx.clock.time = QDateTime(kMonday, QTime(12, 0, 0));
    e.alarms();
    QSignalSpy changed(&e.alarms(), &AlarmCommands::changed);
    const auto tea = e.alarms().startTimer(20 * 60, "Tea");
    QVERIFY(tea && tea->id == "t1" && tea->due == QDateTime(kMonday, QTime(12, 20)));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(e.alarms().startTimer(25 * 60, "")->reason, QStringLiteral("Timer"));
    QCOMPARE(changed.size(), 2);
    QCOMPARE(e.alarms().status(),
             (AlarmCommands::Status{AlarmCommands::Status::Timer, "12:20", {}}));
    QString refusal;
    QVERIFY(!e.alarms().startTimer(0, "x", &refusal) && !refusal.isEmpty());
    QVERIFY(!e.alarms().startTimer(24 * 3600 + 1, "x"));
    QVERIFY(e.alarms().startTimer(24 * 3600, "Tomorrow"));
    QVERIFY(e.alarms().cancelTimer("T3"));
    QVERIFY(!e.alarms().cancelTimer("t3"));
    QCOMPARE(changed.size(), 4); // the refusals changed nothing
    QCOMPARE(readTimers(toStd(e.app.path())).size(), std::size_t(2));

    e.passTo(QTime(12, 19, 45));
    QCOMPARE(QDateTime::fromSecsSinceEpoch(e.alarms().nextWake()),
             QDateTime(kMonday, QTime(12, 20)));
    QVERIFY(e.told().isEmpty());
    e.tickAt(QTime(12, 20, 0));
    QCOMPARE(e.told(), QStringList{"Chimewell|It's 12:20. Time for Tea."});
    QCOMPARE(e.fx.sound.playing, e.chime());
    // Once: gone from what comes and from the file.
    QCOMPARE(e.alarms().timers().size(), 1);
    QCOMPARE(readTimers(toStd(e.app.path())).size(), std::size_t(1));
    // Asleep across its instant: told as missed, without sound.
    const qsizetype played = e.fx.sound.played.size();
    e.tickAt(QTime(12, 26, 0));
    QCOMPARE(e.told().last(),
             QStringLiteral("Chimewell|Missed alarm: It's 12:25. Time for Timer."));
    QCOMPARE(e.fx.sound.played.size(), played);
    QVERIFY(e.alarms().timers().isEmpty());
    QCOMPARE(e.alarms().status().kind, AlarmCommands::Status::None);
}

void TestAlarmEngine::timersOutliveTheProgram()
{
    // Kept as instants: one that fell due while the program did not run is told, not rung;
    // one still to come rings at its second, also while nobody watches the clock.
    Engine e;
    const qint64 now = QDateTime(kMonday, QTime(12, 0, 0)).toSecsSinceEpoch();
    e.fx.clock.time = QDateTime(kMonday, QTime(12, 0, 0));
    e.app.write("Chimewell.ini",
                "[options]\r\nfirstload=0\r\n[timers]\r\nT1=" + QByteArray::number(now - 5) +
                    " Gone\r\nT2=" + QByteArray::number(now + 95) + " Kept\r\n");
    e.alarms();
    QCOMPARE(e.told(), QStringList{"Chimewell|Missed alarm: It's 11:59. Time for Gone."});
    QVERIFY(e.fx.sound.played.isEmpty());
    QCOMPARE(e.alarms().nextWake(), now + 30); // the heartbeat, before the timer
    e.tickAt(QTime(12, 1, 10));
    QCOMPARE(e.alarms().nextWake(), now + 95);
    QVERIFY(!e.app.read("Chimewell.ini").contains("Gone"));
    // A hand edit of the settings meanwhile is kept, and so is the timer.
    e.app.write("Chimewell.ini", "[options]\r\nfirstload=0\r\nringminutes=1\r\n");
    e.alarms().lookNow();
    QVERIFY(
        e.app.read("Chimewell.ini").startsWith("[options]\r\nfirstload=0\r\nringminutes=1\r\n"));
    QVERIFY(e.app.read("Chimewell.ini").contains("T2=" + QByteArray::number(now + 95) + " Kept"));
    e.tickAt(QTime(12, 1, 35));
    QCOMPARE(e.told().last(), QStringLiteral("Chimewell|It's 12:01. Time for Kept."));
    QVERIFY(e.fx.sound.repeating); // the ring time of Options
}

void TestAlarmEngine::aThousandTimers()
{
    Engine e;
    e.fx.notifier.serviceRuns = true;
    for (int i = 0; i < int(kMostTimers); ++i)
        QVERIFY(e.alarms().startTimer(60 + i, "Tea"));
    QString refusal;
    QVERIFY(!e.alarms().startTimer(60, "one more", &refusal));
    QVERIFY(refusal.contains("1000"));
    QCOMPARE(e.alarms().list().size(), kMostTimers);
    QCOMPARE(readTimers(toStd(e.app.path())).size(), kMostTimers);
    e.passTo(e.fx.clock.time.time().addSecs(60 + int(kMostTimers)));
    QVERIFY(e.alarms().timers().isEmpty());
}

void TestAlarmEngine::whatRingsStoppedBySnoozedByAndListedById()
{
    Engine e;
    e.fx.notifier.serviceRuns = true;
    e.app.day("Monday", "13:00", "Gym", "", "[alarm 2]\r\nTIME=13:00\r\nREASON=Run\r\n");
    e.fx.clock.time = QDateTime(kMonday, QTime(12, 59, 59));
    const auto run = [&e](const std::vector<std::string>& arguments) {
        return carryOut(e.alarms(), parseArguments(arguments));
    };
    QCOMPARE(run({"--stop"}).status, CommandStatus::NothingToDo);
    QSignalSpy rang(&e.alarms(), &AlarmCommands::rang);
    QSignalSpy stopped(&e.alarms(), &AlarmCommands::stoppedRinging);
    e.tickAt(QTime(13, 0, 0));
    QCOMPARE(rang.size(), 2);
    QCOMPARE(rang.at(1), (QVariantList{"monday.2", "Run"}));
    QCOMPARE(run({"--stop", "monday.9"}).status, CommandStatus::NothingToDo);
    QCOMPARE(run({"--stop", "monday.2"}).status, CommandStatus::Done);
    QCOMPARE(stopped.size(), 1);
    QVERIFY(e.alarms().isRinging());
    QCOMPARE(run({"--snooze", "monday.1"}).status, CommandStatus::Done);
    QVERIFY(!e.alarms().isRinging());
    QCOMPARE(QString::fromStdString(run({"--list"}).out).section('\n', 0, 0),
             QStringLiteral("2026-12-07 13:05:00\tsnoozed\tmonday.1\tGym"));
    // A snoozed alarm stopped by its id does not come back.
    QCOMPARE(run({"--stop", "monday.1"}).status, CommandStatus::Done);
    e.passTo(QTime(13, 6, 0));
    QCOMPARE(rang.size(), 2);

    const CommandReply timer = run({"--timer", "90s", "Tea"});
    QCOMPARE(timer.status, CommandStatus::Done);
    QCOMPARE(timer.out, std::string("t1\t2026-12-07 13:07:30\n"));
    QCOMPARE(run({"--cancel", "t7"}).status, CommandStatus::NothingToDo);
    QCOMPARE(run({"--cancel", "t1"}).status, CommandStatus::Done);
    QCOMPARE(run({"--timer", "25h"}).status, CommandStatus::Refused);
    // Whatever a foreign process sends, the answer is a refusal and nothing changes.
    CommandReply reply;
    for (const QByteArray& garbage : {QByteArray("\xff\xfe"), QByteArray("--timer\0-5m", 11),
                                      QByteArray(), QByteArray(5000, '\0')}) {
        QVERIFY(decodeReply(answerRequest(e.alarms(), garbage).toStdString(), reply));
        QCOMPARE(reply.status, CommandStatus::Refused);
    }
    QVERIFY(e.alarms().timers().isEmpty());
}

void TestAlarmEngine::aMutedOutputIsWarnedOfOnceAndUnmutedByItsNotice()
{
    Engine e;
    e.fx.notifier.serviceRuns = true;
    e.app.day("Tuesday", "07:00", "Wake");
    e.fx.output.now = {true, true, 40};
    e.fx.clock.time = QDateTime(kMonday, QTime(18, 59, 0));
    e.tickAt(QTime(18, 59, 0));
    // 12 hours and a minute ahead: nothing yet.
    QCOMPARE(e.alarms().outputWarning().kind, AlarmCommands::OutputWarning::None);
    e.tickAt(QTime(19, 0, 0));
    QCOMPARE(e.alarms().outputWarning(),
             (AlarmCommands::OutputWarning{AlarmCommands::OutputWarning::Muted, "07:00", 40}));
    e.passTo(QTime(20, 0, 0));
    const QString warned = "Muted: the 07:00 alarm will not be heard";
    QCOMPARE(e.told(), QStringList{"Chimewell|" + warned});
    const int notice = e.fx.notifier.showingWith(warned);
    QCOMPARE(e.fx.notifier.showing.value(notice).actions.value(0).label, QString("Unmute now"));

    // Its button unmutes the output, as loud as it was, and the warning goes.
    e.fx.notifier.press(notice, "unmute");
    QCoreApplication::processEvents();
    QCOMPARE(e.fx.output.now, (OutputState{true, false, 40}));
    QCOMPARE(e.alarms().outputWarning().kind, AlarmCommands::OutputWarning::None);
    QVERIFY(!e.fx.notifier.showing.contains(notice));

    // Muted again: a new notice. Its server gone and back: the warning returns, the notice not.
    e.fx.output.becomes({true, true, 40});
    e.fx.output.becomes({});
    QCOMPARE(e.alarms().outputWarning().kind, AlarmCommands::OutputWarning::None);
    e.fx.output.becomes({true, true, 40});
    QCOMPARE(e.alarms().outputWarning().kind, AlarmCommands::OutputWarning::Muted);
    QCOMPARE(e.fx.notifier.sent.size(), 2);
    // Unmuted elsewhere: the notice has nothing more to say, and goes.
    e.fx.output.becomes({true, false, 40});
    QVERIFY(!e.fx.notifier.showingWith(warned));

    // Turned down below a tenth: "may not be heard", and the button raises it to half.
    e.fx.output.becomes({true, false, 9});
    QCOMPARE(e.alarms().outputWarning(),
             (AlarmCommands::OutputWarning{AlarmCommands::OutputWarning::Quiet, "07:00", 9}));
    QCOMPARE(e.fx.notifier.sent.size(), 3);
    e.fx.output.becomes({true, false, 3});
    QCOMPARE(e.fx.notifier.sent.size(), 3); // still the same warning: no new notice
    e.fx.output.becomes({true, false, 10});
    e.fx.output.becomes({true, false, 3});
    const int quiet = e.fx.notifier.showingWith("Sound at 3 %: the 07:00 alarm may not be heard");
    QVERIFY(quiet);
    QCOMPARE(e.fx.notifier.showing.value(quiet).actions.value(0).label, QString("Turn up to 50 %"));
    e.fx.notifier.press(quiet, "unmute");
    QCOMPARE(e.fx.output.now, (OutputState{true, false, 50}));
}

void TestAlarmEngine::aRingIntoAMutedOutputSaysSoAndUnmutesWhenAsked()
{
    for (const char* whenMuted : {"warn", "unmute"}) {
        Engine e;
        e.fx.notifier.serviceRuns = true;
        e.app.write("Chimewell.ini", QByteArray("[options]\r\nWHENMUTED=") + whenMuted + "\r\n");
        e.app.day("Monday", "07:00", "Wake", "", "[alarm 2]\r\nTIME=07:10\r\nREASON=Later\r\n");
        e.fx.output.now = {true, true, 30};
        e.fx.clock.time = QDateTime(kMonday, QTime(6, 59, 59));
        e.tickAt(QTime(7, 0, 0));
        const bool unmute = whenMuted == QByteArray("unmute");
        QVERIFY(
            e.told().contains("Chimewell|It's 07:00. Time for Wake. The sound output is muted."));
        QCoreApplication::processEvents();
        QCOMPARE(e.fx.output.now,
                 (unmute ? OutputState{true, false, 50} : OutputState{true, true, 30}));
        // Unmuted, the notice no longer says it is muted.
        QCOMPARE(bool(e.fx.notifier.showingWith("The sound output is muted.")), !unmute);
        e.fx.notifier.press(e.fx.notifier.showingWith("Time for Wake"), "stop");
        QCoreApplication::processEvents();
        QCOMPARE(e.fx.output.now, (OutputState{true, true, 30}));
        if (!unmute)
            continue;
        // The user mutes it during the next ring: it stays muted, then and after.
        e.passTo(QTime(7, 10, 0));
        QCoreApplication::processEvents();
        QCOMPARE(e.fx.output.now, (OutputState{true, false, 50}));
        e.fx.output.becomes({true, true, 50});
        QCoreApplication::processEvents();
        e.fx.notifier.press(e.fx.notifier.showingWith("Time for Later"), "snooze");
        QCoreApplication::processEvents();
        QCOMPARE(e.fx.output.now, (OutputState{true, true, 50}));
        QCOMPARE(e.fx.output.asked.size(), 3); // raised, put back, raised: nothing since
        // A snooze is a ring of its own: raised again, and put back as the user left it.
        e.passTo(QTime(7, 15, 0));
        QCoreApplication::processEvents();
        QCOMPARE(e.fx.output.now, (OutputState{true, false, 50}));
        e.alarms().stop();
        QCoreApplication::processEvents();
        QCOMPARE(e.fx.output.now, (OutputState{true, true, 50}));
        // Not known as the ring begins (its server restarting): raised once it is known.
        e.fx.output.becomes({});
        e.app.day("Monday", "07:30", "Last");
        e.alarms().lookNow();
        e.passTo(QTime(7, 30, 0));
        QVERIFY(e.alarms().isRinging());
        e.fx.output.becomes({true, true, 30});
        QCoreApplication::processEvents();
        QCOMPARE(e.fx.output.now, (OutputState{true, false, 50}));
    }
}

void TestAlarmEngine::musicPausesWhileAnAlarmRings()
{
    for (const bool pause : {true, false}) {
        Engine e;
        if (!pause)
            e.app.write("Chimewell.ini", "[options]\r\nPAUSEMUSIC=0\r\n");
        e.app.day("Monday", "07:00", "Wake", "", "[alarm 2]\r\nTIME=07:00\r\nREASON=Too\r\n");
        e.fx.clock.time = QDateTime(kMonday, QTime(6, 59, 59));
        e.tickAt(QTime(7, 0, 0));
        QCOMPARE(e.fx.players.asked, pause ? QStringList{"pause"} : QStringList{});
        e.alarms().stop("monday.1");
        QCOMPARE(e.fx.players.asked.size(), pause ? 1 : 0); // the other still rings
        e.alarms().stop();
        QCOMPARE(e.fx.players.asked, pause ? QStringList({"pause", "resume"}) : QStringList{});
    }
}

void TestAlarmEngine::anAlarmsOwnVolumeAndFadeIn()
{
    const struct
    {
        QByteArray keys;
        QByteArray options;
        double atStart;
        double after;
    } cases[] = {
        {"VOLUME=50\r\nFADESECONDS=20\r\n", "", 0.05, 0.5},
        {"", "", 1.0, 1.0},
        {"VOLUME=0\r\nFADESECONDS=-1\r\n", "FADESECONDS=10\r\n", 0.1, 1.0},
        {"VOLUME=150\r\nFADESECONDS=100000\r\n", "", 1.0, 1.0},
        {"VOLUME=\r\nFADESECONDS=\r\nVOLUME=30\r\n", "FADESECONDS=30\r\n", 0.1, 1.0},
        {"VOLUME=30\r\nVOLUME=80\r\nFADESECONDS=0\r\n", "FADESECONDS=60\r\n", 0.3, 0.3},
    };
    for (const auto& c : cases) {
        Engine e;
        e.app.write("Chimewell.ini", "[options]\r\nRINGMINUTES=5\r\n" + c.options);
        e.app.day("Monday", "07:00", "Wake", "", c.keys);
        e.fx.clock.time = QDateTime(kMonday, QTime(6, 59, 59));
        e.tickAt(QTime(7, 0, 0));
        QVERIFY2(qAbs(e.fx.sound.volume - c.atStart) < 1e-6, c.keys + c.options);
        // The repeating sound's second round plays at the alarm's volume.
        emit e.fx.sound.started(e.fx.sound.playing, 3000);
        QVERIFY2(qAbs(e.fx.sound.volume - c.after) < 1e-6, c.keys + c.options);
        // Snoozed, it fades in again.
        e.alarms().snooze();
        e.passTo(QTime(7, 5, 0));
        QVERIFY2(qAbs(e.fx.sound.volume - c.atStart) < 1e-6, c.keys + c.options);
        e.alarms().stop();
    }
    // An alarm that joins a ring takes it as it is: it does not start quietly again.
    Engine j;
    j.app.write("Chimewell.ini", "[options]\r\nRINGMINUTES=5\r\n");
    j.app.day("Monday", "07:00", "Wake", "",
              "VOLUME=50\r\n[alarm 2]\r\nTIME=07:01\r\nREASON=Too\r\nFADESECONDS=20\r\n");
    j.fx.clock.time = QDateTime(kMonday, QTime(6, 59, 59));
    j.passTo(QTime(7, 1, 0));
    QVERIFY(j.told().last().contains("Time for Too"));
    QVERIFY(qAbs(j.fx.sound.volume - 0.5) < 1e-6);

    // The play button plays as the alarm would; where the alarm has no fade, Options' one.
    Engine p;
    p.app.write("Chimewell.ini", "[options]\r\nFADESECONDS=30\r\n");
    p.alarms().tryOutSound("/music/a.mp3", 40, 20);
    QVERIFY(qAbs(p.fx.sound.volume - 0.04) < 1e-6);
    p.alarms().tryOutSound("/music/a.mp3", 100);
    QVERIFY(qAbs(p.fx.sound.volume - 0.1) < 1e-6);
}

QTEST_MAIN(TestAlarmEngine)
#include "TestAlarmEngine.moc"
