// The main window and the two schedule dialogs: what they show, lock, refuse and write.
#include "Fakes.h"
#include "alarm/AlarmBell.h"
#include "alarm/AlarmScheduler.h"
#include "alarm/SecondTicker.h"
#include "app/ClockFace.h"
#include "app/CursorBlinkLimit.h"
#include "app/MainWindow.h"
#include "app/StatusPanel.h"
#include "schedule/AlarmFields.h"
#include "schedule/DeleteDialog.h"
#include "schedule/ScheduleDialog.h"
#include "tray/TrayModule.h"
#include "widgets/WindowSlot.h"

#include <QtTest/QtTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>

using namespace chimewell;
using fakes::child;

namespace {

const QDate kMonday(2026, 12, 7);
const MainWindowNames& name = mainWindowNames;
const AlarmFieldNames& field = alarmFieldNames;

// The main window in a fresh application folder on a fake clock, with the schedule dialogs
// it opens. Made at first use, once the test has set the clock and written its day files.
struct Fixture
{
    fakes::Services fx;
    fakes::AppFolder app;
    TrayModule tray{fx.tray, &fx.notifier};
    std::unique_ptr<AlarmScheduler> alarms;
    std::unique_ptr<MainWindow> window;
    WindowSlot schedule;
    WindowSlot remove;

    Fixture()
    {
        fx.clock.time = QDateTime(kMonday, QTime(12, 0, 0));
        auto refresh = [this](bool withOneShot) { w().refreshScheduleStatus(withOneShot); };
        schedule.setFactory(
            [=, this] { return new ScheduleDialog(fx.services, app.path(), refresh); });
        remove.setFactory([=, this] { return new DeleteDialog(fx.services, app.path(), refresh); });
    }
    ~Fixture()
    {
        delete schedule.loaded();
        delete remove.loaded();
    }
    MainWindow& w()
    {
        if (!window) {
            alarms = std::make_unique<AlarmScheduler>(fx.services, app.path(), tray);
            window = std::make_unique<MainWindow>(fx.services, *alarms, tray);
            window->refreshScheduleStatus(false);
        }
        return *window;
    }
    template <typename T = QWidget> T* get(const char* controlName)
    {
        return child<T>(&w(), controlName);
    }
    QLineEdit* edit(const char* controlName) { return get<QLineEdit>(controlName); }
    QPushButton* button(const char* controlName) { return get<QPushButton>(controlName); }
    QString status() { return w().findChild<StatusPanel*>()->text(); }
    void arm(const QString& reason, const QString& time)
    {
        edit(field.reasonEdit)->setText(reason);
        edit(field.timeEdit)->setText(time);
        QTest::mouseClick(get<QRadioButton>(name.alarmOn), Qt::LeftButton);
    }
    void tickTo(const QDateTime& time)
    {
        w();
        fx.clock.time = time;
        alarms->ticker().fire();
    }
    void tickAt(const QTime& time) { tickTo(QDateTime(fx.clock.time.date(), time)); }
    QStringList trayItems()
    {
        QStringList out;
        for (QAction* a : w().trayMenu()->actions())
            if (a->isVisible())
                out << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return out;
    }
    // Types into the schedule dialog (a null text leaves its field) and presses Schedule.
    void save(const char* day, const char* reason, const char* time = nullptr,
              const char* music = nullptr)
    {
        QWidget* d = schedule.get();
        child<QComboBox>(d, scheduleDialogNames.dayCombo)->setEditText(day);
        const char* texts[] = {reason, time, music};
        const char* boxes[] = {field.reasonEdit, field.timeEdit, field.musicEdit};
        for (int i = 0; i < 3; ++i)
            if (texts[i])
                child<QLineEdit>(d, boxes[i])->setText(texts[i]);
        child<QPushButton>(d, scheduleDialogNames.schedule)->click();
    }
};

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void arming_data();
    void arming();
    void soundButtonsPreviewAndPickers();
    void statusLine_data();
    void statusLine();
    void statusFollowsRingsAndDays();
    void trayMenuKeepsItsShapeWhileOpen();
    void trayToolTipAndTheWayBack();
    void clockRepaintsAloneAndTheCursorRests();
    void scheduleAndDeleteWriteTheDayFile();
    void refusedInputWritesNothing_data();
    void refusedInputWritesNothing();
    void tabFollowsReadingOrder();
};

void TestWindows::arming_data()
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

void TestWindows::arming()
{
    QFETCH(QString, reason);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    Fixture f;
    f.edit(field.musicEdit)->setText("/music/song.mp3");
    QTest::mouseClick(f.button(name.play), Qt::LeftButton); // a sound is playing
    f.arm(reason, typed);
    const char* buttons[] = {field.browse, name.browseFile, name.preview, name.play, name.stop};
    const char* edits[] = {field.reasonEdit, field.timeEdit, field.musicEdit, name.siteEdit,
                           name.fileEdit};
    if (result.contains(' ')) { // refused: a message, the alarm off, the sound stopped
        QCOMPARE(f.fx.messages.texts, QStringList{result});
        QVERIFY(f.get<QRadioButton>(name.alarmOff)->isChecked() && !f.alarms->isArmed());
        QVERIFY(f.fx.sound.playing.isEmpty());
        QCOMPARE(f.edit(field.timeEdit)->text(), typed);
        QCOMPARE(f.status(), QStringLiteral("No alarm active..."));
        return;
    }
    QCOMPARE(f.edit(field.timeEdit)->text(), result);
    QCOMPARE(f.status(), QStringLiteral("Alarm active"));
    for (const char* b : buttons)
        QVERIFY2(!f.button(b)->isEnabled(), b);
    for (const char* e : edits)
        QVERIFY2(f.edit(e)->isReadOnly(), e);
    QVERIFY(f.get<QCheckBox>(name.openSite)->isEnabled() && f.button(name.minimize)->isEnabled());
    QTest::mouseClick(f.get<QRadioButton>(name.alarmOff), Qt::LeftButton);
    for (const char* b : buttons)
        QCOMPARE(f.button(b)->isEnabled(), QByteArray(b) != name.stop);
    for (const char* e : edits)
        QVERIFY2(!f.edit(e)->isReadOnly(), e);
    QVERIFY(!f.alarms->isArmed());
}

void TestWindows::soundButtonsPreviewAndPickers()
{
    Fixture f;
    f.w().show();
    f.edit(field.reasonEdit)->setText("  "); // blanks in the reason are kept
    QTest::mouseClick(f.button(name.preview), Qt::LeftButton);
    QCOMPARE(f.fx.tray.balloons, QStringList{"Chimewell|It's 13:00. Time for   ."});
    QTest::mouseClick(f.button(name.play), Qt::LeftButton);
    QCOMPARE(f.fx.messages.texts, QStringList{"You must select a file to play"});
    QVERIFY(f.fx.sound.played.isEmpty());

    // Enter presses the sound picker, a cancelled picker changes nothing.
    f.fx.picker.nextAnswer = QStringLiteral("/music/chosen.mp3");
    f.edit(field.reasonEdit)->setFocus();
    QTest::keyClick(f.edit(field.reasonEdit), Qt::Key_Return);
    QCOMPARE(f.edit(field.musicEdit)->text(), QStringLiteral("/music/chosen.mp3"));
    f.fx.picker.nextAnswer.reset();
    QTest::mouseClick(f.button(field.browse), Qt::LeftButton);
    QCOMPARE(f.edit(field.musicEdit)->text(), QStringLiteral("/music/chosen.mp3"));
    f.fx.picker.nextAnswer = QStringLiteral("/docs/report.doc");
    QTest::mouseClick(f.button(name.browseFile), Qt::LeftButton);
    QCOMPARE(f.edit(name.fileEdit)->text(), QStringLiteral("/docs/report.doc"));

    QTest::mouseClick(f.button(name.play), Qt::LeftButton);
    QCOMPARE(f.fx.sound.playing, QStringLiteral("/music/chosen.mp3"));
    QVERIFY(!f.button(name.play)->isEnabled() && f.button(name.stop)->isEnabled());
    QTest::mouseClick(f.button(name.stop), Qt::LeftButton);
    QVERIFY(f.fx.sound.playing.isEmpty());
    QVERIFY(f.button(name.play)->isEnabled() && !f.button(name.stop)->isEnabled());
}

void TestWindows::statusLine_data()
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
    QTest::newRow("no day file") << QByteArray() << QTime(1, 0, 0) << "No alarm active...";
}

void TestWindows::statusLine()
{
    QFETCH(QByteArray, time);
    QFETCH(QTime, now);
    QFETCH(QString, status);
    Fixture f;
    if (!time.isNull())
        f.app.day("Monday", time);
    f.app.day("Tuesday", "23:00"); // another day's alarm changes nothing today
    f.fx.clock.time = QDateTime(kMonday, now);
    QCOMPARE(f.status(), status);
}

void TestWindows::statusFollowsRingsAndDays()
{
    Fixture f;
    f.app.day("Monday", "12:00");
    f.app.day("Tuesday", "08:00");
    f.fx.clock.time = QDateTime(kMonday, QTime(11, 59, 59));
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (12:00)"));
    f.arm("Call", "23:00");
    f.tickAt(QTime(12, 0, 0)); // the weekly alarm rings: the one-shot alarm's status follows
    QCOMPARE(f.status(), QStringLiteral("Alarm active"));
    f.tickTo(QDateTime(kMonday.addDays(1), QTime(0, 0, 1)));
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (08:00)"));
}

void TestWindows::trayMenuKeepsItsShapeWhileOpen()
{
    Fixture f;
    f.fx.clock.time = QDateTime(kMonday, QTime(12, 59, 59));
    f.arm("Meeting", "13:00");
    QCOMPARE(f.trayItems(), QStringList({"mnuShow", "-", "mnuExit"}));
    f.tickAt(QTime(13, 0, 0));
    const QStringList ringing = {"mnuStopAlarm", "mnuSnooze", "-", "mnuShow", "-", "mnuExit"};
    QCOMPARE(f.trayItems(), ringing);
    emit f.w().trayMenu()->aboutToShow();
    f.fx.sound.finish(); // the sound ends while the menu is open
    QCOMPARE(f.trayItems(), ringing);
    f.get<QAction>(name.snoozeItem)->trigger(); // still does what it said
    emit f.w().trayMenu()->aboutToHide();
    emit f.w().trayMenu()->aboutToShow();
    QCOMPARE(f.trayItems(), QStringList({"mnuShow", "-", "mnuExit"}));
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Monday 13:05"));
}

void TestWindows::trayToolTipAndTheWayBack()
{
    Fixture f;
    f.w();
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell"));
    f.app.day("Tuesday", "09:00");
    f.app.day("Monday", "11:00"); // passed
    f.arm("Lunch", "12:30");
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Monday 12:30"));
    f.tickAt(QTime(12, 45, 0));
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Tuesday 09:00"));

    f.w().show();
    QTest::mouseClick(f.button(name.minimize), Qt::LeftButton);
    QVERIFY(!f.w().isVisible());
    f.fx.tray.pressLeft();
    QVERIFY(f.w().isVisible() && !f.w().isMinimized());
    f.w().hide();
    f.get<QAction>(name.showItem)->trigger();
    QVERIFY(f.w().isVisible());
    // Without a notification area a hidden window could never come back: it minimises.
    f.fx.tray.available = false;
    QTest::mouseClick(f.button(name.minimize), Qt::LeftButton);
    QVERIFY(f.w().isVisible() && f.w().isMinimized());
}

void TestWindows::clockRepaintsAloneAndTheCursorRests()
{
    Fixture f;
    f.w().show();
    auto* clock = f.get<ClockFace>(name.clock);
    f.tickAt(QTime(9, 5, 7));
    const QString first = clock->text();
    QVERIFY(first.contains("9") && first.contains("05") && first.contains("07"));
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
    QVERIFY(clock->text() != first);
    QCOMPARE(counter.requests, 0);

    // The text cursor stops blinking when nobody types, and blinks again at a key press.
    const int flashTime = QApplication::cursorFlashTime();
    CursorBlinkLimit limit(50);
    QTRY_COMPARE(QApplication::cursorFlashTime(), 0);
    QTest::keyClick(f.edit(field.reasonEdit), Qt::Key_A);
    QCOMPARE(QApplication::cursorFlashTime(), flashTime);
}

void TestWindows::scheduleAndDeleteWriteTheDayFile()
{
    Fixture f;
    f.fx.clock.time = QDateTime(kMonday, QTime(9, 0, 0));
    f.w();
    f.schedule.show();
    f.save("monday", "Dentist", "9:30");
    QCOMPARE(f.fx.messages.texts, QStringList{"Succesfully added alarm for Monday"});
    QCOMPARE(f.app.read("schedule/Monday.ini"),
             QByteArray("[alarm]\r\nREASON=Dentist\r\nTIME=09:30\r\nMUSIC=\r\n"));
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (09:30)"));
    QTRY_VERIFY(!f.schedule.loaded()); // closed and unloaded

    // Saving again replaces the three values in place; Go loads a day, or empties the fields.
    f.app.write("schedule/Monday.ini",
                "; mine\r\n[alarm]\r\nreason=Old\r\ntime=08:00\r\nmusic=/a.mp3\r\n");
    f.save("Monday", "New", "10:15", "/b.mp3");
    QCOMPARE(f.app.read("schedule/Monday.ini"),
             QByteArray("; mine\r\n[alarm]\r\nreason=New\r\ntime=10:15\r\nmusic=/b.mp3\r\n"));
    f.app.day("Friday", "18:00", "Beer", "/music/friday.mp3");
    QWidget* d = f.schedule.get();
    for (const char* day : {"Friday", "Saturday"}) {
        child<QComboBox>(d, scheduleDialogNames.dayCombo)->setEditText(day);
        child<QPushButton>(d, scheduleDialogNames.go)->click();
        QString shown;
        for (const char* box : {field.reasonEdit, field.timeEdit, field.musicEdit})
            shown += child<QLineEdit>(d, box)->text();
        QCOMPARE(shown, QString(day == QByteArray("Friday") ? "Beer18:00/music/friday.mp3" : ""));
    }
    child<QPushButton>(d, scheduleDialogNames.cancel)->click();
    QTRY_VERIFY(!f.schedule.loaded());

    QWidget* remove = f.remove.get();
    child<QComboBox>(remove, deleteDialogNames.dayCombo)->setEditText("Monday");
    child<QPushButton>(remove, deleteDialogNames.deleteButton)->click();
    QCOMPARE(f.fx.messages.texts.last(), QStringLiteral("Succesfully deleted alarm for Monday"));
    QCOMPARE(f.app.read("schedule/Monday.ini"),
             QByteArray("; mine\r\n[alarm]\r\nreason=\r\ntime=\r\nmusic=\r\n"));
    QCOMPARE(f.status(), QStringLiteral("No alarm active..."));

    // A write that fails is told, never celebrated; the dialog keeps what was typed.
    QDir(f.app.file("schedule")).removeRecursively();
    f.app.write("schedule", "a file where the folder should be");
    f.save("Monday", "Kept", "9:30");
    QCOMPARE(f.fx.messages.icons.last(), MessageIcon::Stop);
    QVERIFY(f.fx.messages.texts.last().contains("Monday.ini"));
    QCOMPARE(child<QLineEdit>(f.schedule.get(), field.reasonEdit)->text(), QStringLiteral("Kept"));
}

void TestWindows::refusedInputWritesNothing_data()
{
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("message");
    const QString notADay = "Please choose a day from the list.";
    QTest::newRow("path out of the folder") << "../Chimewell"
                                            << "x"
                                            << "13:00" << notADay;
    QTest::newRow("misspelt day") << "Mondy"
                                  << "x"
                                  << "13:00" << notADay;
    QTest::newRow("empty time") << "Monday"
                                << "x"
                                << ""
                                << "Please fill in all fields";
    QTest::newRow("bad time") << "Monday"
                              << "x"
                              << "13.00"
                              << "Please enter the time as hh:mm, for example 07:30.";
}

void TestWindows::refusedInputWritesNothing()
{
    QFETCH(QString, day);
    QFETCH(QString, reason);
    QFETCH(QString, time);
    QFETCH(QString, message);
    Fixture f;
    f.schedule.show();
    f.save(qPrintable(day), qPrintable(reason), qPrintable(time));
    QCOMPARE(f.fx.messages.texts, QStringList{message});
    QVERIFY(f.schedule.loaded()->isVisible());
    QCOMPARE(QDir(f.app.file("schedule")).entryList(QDir::Files), QStringList());
    QCOMPARE(QDir(f.app.path()).entryList(QDir::Files), QStringList());
}

void TestWindows::tabFollowsReadingOrder()
{
    Fixture f;
    const QList<std::pair<QWidget*, QStringList>> windows = {
        {&f.w(),
         {"Text1", "Text2", "Text4", "Command1", "Command3", "cmdPlay", "cmdStop", "Check1",
          "Text3", "Check2", "Text5", "Command2", "Option1", "Option2", "Command4"}},
        {f.schedule.get(),
         {"Combo1", "Command2", "Text1", "Text2", "Text4", "Command1", "Command3", "Command4"}},
        {f.remove.get(), {"Combo2", "Command5"}}};
    for (const auto& [window, expected] : windows) {
        QStringList order;
        for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus && !w->isWindow() && !w->objectName().isEmpty())
                order << w->objectName();
        QCOMPARE(order, expected);
    }
}

QTEST_MAIN(TestWindows)
#include "TestWindows.moc"
