#include "Fakes.h"
#include "app/MainWindow.h"
#include "app/SecondTicker.h"
#include "app/StatusPanel.h"
#include "dialogs/WindowSlot.h"
#include "schedule/DeleteDialog.h"
#include "schedule/ScheduleDialog.h"

#include <QtTest/QtTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>

using namespace chimewell;

namespace {

const QDate kSunday(2026, 12, 6);
const QDate kMonday(2026, 12, 7);

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
    void day(const QString& name, const QByteArray& time, const QByteArray& reason = "Gym",
             const QByteArray& music = "")
    {
        app.write("schedule/" + name + ".ini", "[alarm]\r\nREASON=" + reason + "\r\nTIME=" + time +
                                                   "\r\nMUSIC=" + music + "\r\n");
    }
    QString status() { return window->findChild<StatusPanel*>()->text(); }
    bool activePicture()
    {
        return window->findChild<StatusPanel*>()->picture().toImage() ==
               window->findChild<QLabel*>("Image1")->pixmap().toImage();
    }
    void tickTo(const QDateTime& time)
    {
        fx.clock.time = time;
        window->ticker().fire();
        QCoreApplication::processEvents();
    }
    void runSeconds(int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            fx.clock.step();
            window->ticker().fire();
        }
        QCoreApplication::processEvents();
    }
    template <typename T = QWidget> T* in(QWidget* dialog, const char* name)
    {
        T* w = dialog->findChild<T*>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QLineEdit* edit(QWidget* dialog, const char* name) { return in<QLineEdit>(dialog, name); }
    // Types into the schedule dialog (a null text leaves its field) and presses Schedule.
    void save(QWidget* d, const char* day, const char* reason, const char* time = nullptr,
              const char* music = nullptr)
    {
        in<QComboBox>(d, "Combo1")->setEditText(day);
        const char* texts[] = {reason, time, music};
        const char* boxes[] = {"Text1", "Text2", "Text4"};
        for (int i = 0; i < 3; ++i)
            if (texts[i])
                edit(d, boxes[i])->setText(texts[i]);
        in<QPushButton>(d, "Command3")->click();
    }
    void deleteDay(const char* day)
    {
        QWidget* d = remove.get();
        in<QComboBox>(d, "Combo2")->setEditText(day);
        in<QPushButton>(d, "Command5")->click();
    }
};

} // namespace

class TestWeeklySchedule : public QObject
{
    Q_OBJECT

private slots:
    void statusLine_data();
    void statusLine();
    void oneShotStatusAfterAWeeklyFiring_data();
    void oneShotStatusAfterAWeeklyFiring();
    void firesAtItsTimeWithItsSound();
    void laterDaysAndHandEdits();
    void scheduleWritesTheDayFile();
    void enterRunsScheduleAndCancelForgets();
    void refusedInputWritesNothing_data();
    void refusedInputWritesNothing();
    void failedWriteIsReportedNotCelebrated();
    void deleteBlanksTheDay();
};

void TestWeeklySchedule::statusLine_data()
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

void TestWeeklySchedule::statusLine()
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

void TestWeeklySchedule::oneShotStatusAfterAWeeklyFiring_data()
{
    QTest::addColumn<bool>("armed");
    QTest::addColumn<QString>("status");
    QTest::newRow("Alarm on, later today") << true << "Alarm active";
    QTest::newRow("Alarm off") << false << "No alarm active...";
}

void TestWeeklySchedule::oneShotStatusAfterAWeeklyFiring()
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
    QCOMPARE(f.status(), status);
    QCOMPARE(f.activePicture(), armed);
}

void TestWeeklySchedule::firesAtItsTimeWithItsSound()
{
    Fixture f;
    f.day("Monday", "13:00", "Meeting", "/music/monday.wav");
    f.fx.clock.set(QTime(12, 59, 58));
    f.start();
    f.runSeconds(1);
    QVERIFY(f.fx.tray.balloons.isEmpty());
    f.fx.log.entries.clear();
    f.runSeconds(1); // 13:00:00
    QCOMPARE(f.fx.log.entries, QStringList({"sound STOP", "sound PREV", "sound OPEN", "sound PLAY",
                                            "balloon It's 13:00. Time for Meeting."}));
    QVERIFY(f.fx.sound.commands.contains("FileName=/music/monday.wav"));
    QVERIFY(f.fx.shell.opened.isEmpty()); // weekly alarms open nothing
    f.runSeconds(5);
    QCOMPARE(f.fx.tray.balloons.size(), 1);

    // an empty sound plays the default chime; a missing one falls back to it
    Fixture g;
    g.day("Monday", "13:00", "Meeting", "/gone/missing.mp3");
    g.fx.sound.unplayable = {"/gone/missing.mp3"};
    g.fx.clock.set(QTime(12, 59, 59));
    g.start();
    g.runSeconds(1);
    QTRY_COMPARE(g.fx.sound.playing, g.app.path() + "/alarm.mp3");
}

void TestWeeklySchedule::laterDaysAndHandEdits()
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
    // A file edited by hand takes effect at once.
    f.day("Tuesday", "8:01", "Edited by hand");
    f.runSeconds(60);
    QCOMPARE(f.fx.tray.balloons.last(),
             QStringLiteral("Chimewell|It's 8:01. Time for Edited by hand."));

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

void TestWeeklySchedule::scheduleWritesTheDayFile()
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
    f.in<QComboBox>(d, "Combo1")->setCurrentIndex(4);
    f.in<QPushButton>(d, "Command2")->click();
    QCOMPARE(f.edit(d, "Text1")->text() + f.edit(d, "Text2")->text() + f.edit(d, "Text4")->text(),
             QStringLiteral("Beer18:00/music/friday.mp3"));
    f.in<QComboBox>(d, "Combo1")->setEditText("Saturday");
    f.in<QPushButton>(d, "Command2")->click();
    for (const char* box : {"Text1", "Text2", "Text4"})
        QVERIFY(f.edit(d, box)->text().isEmpty());
}

void TestWeeklySchedule::enterRunsScheduleAndCancelForgets()
{
    Fixture f;
    f.start();
    QWidget* d = f.schedule.get();
    f.schedule.show();
    QCOMPARE(f.in<QComboBox>(d, "Combo1")->currentIndex(), -1);
    QCOMPARE(f.in<QComboBox>(d, "Combo1")->currentText(), QStringLiteral("Monday"));
    QCOMPARE(f.in<QComboBox>(d, "Combo1")->count(), 7);
    auto* reason = f.in<QLineEdit>(d, "Text1");
    reason->setText("Typed");
    f.in<QPushButton>(d, "Command4")->click(); // Cancel
    QTRY_VERIFY(!f.schedule.loaded());
    QVERIFY(!QFile::exists(f.app.file("schedule/Monday.ini")));

    d = f.schedule.get(); // loaded afresh from the design values
    f.schedule.show();
    QCOMPARE(f.in<QLineEdit>(d, "Text1")->text(), QString());
    QCOMPARE(f.in<QLineEdit>(d, "Text2")->text(), QStringLiteral("13:00"));
    f.in<QLineEdit>(d, "Text1")->setText("By Enter");
    f.in<QLineEdit>(d, "Text1")->setFocus();
    QTest::keyClick(f.in<QLineEdit>(d, "Text1"), Qt::Key_Return);
    QCOMPARE(f.fx.messages.texts(), QStringList{"Succesfully added alarm for Monday"});
    QVERIFY(f.app.read("schedule/Monday.ini").contains("REASON=By Enter"));

    // also from the day list
    d = f.schedule.get();
    f.schedule.show();
    f.in<QLineEdit>(d, "Text1")->setText("From the list");
    auto* days = f.in<QComboBox>(d, "Combo1");
    days->setEditText("Tuesday");
    days->setFocus();
    QTest::keyClick(days->lineEdit(), Qt::Key_Return);
    QCOMPARE(f.fx.messages.texts().last(), QStringLiteral("Succesfully added alarm for Tuesday"));
    QCOMPARE(days->count(), 7);
}

void TestWeeklySchedule::refusedInputWritesNothing_data()
{
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("message");
    const QString notADay = "Please choose a day from the list.";
    const QString empty = "Please fill in all fields";
    const QStringList rows[] = {
        {"misspelt day", "Mondy", "x", "13:00", notADay},
        {"path out of the folder", "../Chimewell", "x", "13:00", notADay},
        {"empty day", "", "x", "13:00", notADay},
        {"empty reason", "Monday", "", "13:00", empty},
        {"empty time", "Monday", "x", "", empty},
        {"bad time", "Monday", "x", "13.00", "Please enter the time as hh:mm, for example 07:30."}};
    for (const QStringList& r : rows)
        QTest::newRow(qPrintable(r[0])) << r[1] << r[2] << r[3] << r[4];
}

void TestWeeklySchedule::refusedInputWritesNothing()
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

void TestWeeklySchedule::failedWriteIsReportedNotCelebrated()
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

    // a missing schedule folder is made
    Fixture g;
    g.start();
    QDir(g.app.path()).rmdir("schedule");
    g.save(g.schedule.get(), "Monday", "Made");
    QCOMPARE(g.fx.messages.texts(), QStringList{"Succesfully added alarm for Monday"});
    QVERIFY(g.app.read("schedule/Monday.ini").contains("REASON=Made"));
}

void TestWeeklySchedule::deleteBlanksTheDay()
{
    Fixture f;
    f.day("Monday", "13:00", "Meeting", "/m.mp3");
    f.fx.clock.set(QTime(12, 0, 0));
    f.start();
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (13:00)"));
    QWidget* d = f.remove.get();
    f.remove.show();
    QCOMPARE(f.in<QComboBox>(d, "Combo2")->currentText(), QStringLiteral("Monday"));
    QVERIFY(!f.in<QPushButton>(d, "Command5")->isDefault());
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

QTEST_MAIN(TestWeeklySchedule)
#include "TestWeeklySchedule.moc"
