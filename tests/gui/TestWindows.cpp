// The main window and the two schedule dialogs: what they show, lock, refuse and write.
#include "Fakes.h"
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
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>

using namespace chimewell;
using fakes::child;

namespace {

const QDate kMonday(2026, 12, 7);
const MainWindowNames& name = mainWindowNames;
const AlarmFieldNames& field = alarmFieldNames;
const ScheduleDialogNames& scheduleName = scheduleDialogNames;

// The main window on a fake clock, with the schedule dialogs it opens; made at first use, once
// the test has set the clock and written its day files.
struct Fixture
{
    fakes::Services fx;
    fakes::AppFolder app;
    TrayModule tray{fx.tray, &fx.notifier};
    std::unique_ptr<AlarmScheduler> alarms;
    std::unique_ptr<MainWindow> window;
    WindowSlot schedule{[this] { return new ScheduleDialog(fx.services, app.path(), refresh()); }};
    WindowSlot remove{[this] { return new DeleteDialog(fx.services, app.path(), refresh()); }};

    Fixture() { fx.clock.time = QDateTime(kMonday, QTime(12, 0, 0)); }
    ~Fixture()
    {
        delete schedule.loaded();
        delete remove.loaded();
    }
    DayDialog::RefreshStatus refresh()
    {
        return [this](bool withOneShot) { w().refreshScheduleStatus(withOneShot); };
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
    template <typename T = QPushButton> T* get(const char* control, QWidget* in = nullptr)
    {
        return child<T>(in ? in : &w(), control);
    }
    QLineEdit* edit(const char* control, QWidget* in = nullptr)
    {
        return get<QLineEdit>(control, in);
    }
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
    // Types into the schedule dialog (a null text leaves its field) and presses Schedule.
    void save(const char* day, const char* reason, const char* time = nullptr)
    {
        QWidget* d = schedule.get();
        get<QComboBox>(scheduleName.dayCombo, d)->setEditText(day);
        edit(field.reasonEdit, d)->setText(reason);
        if (time)
            edit(field.timeEdit, d)->setText(time);
        get(scheduleName.schedule, d)->click();
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
    void statusAndTooltipFollowTheAlarms();
    void clockRepaintsAloneAndTheCursorRests();
    void scheduleAndDeleteWriteTheDayFile();
    void refusedInputWritesNothing();
    void tabFollowsReadingOrder();
};

void TestWindows::arming_data()
{
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result"); // the time kept, or the message shown
    const char* rows[][4] = {
        {"h:mm", "Wake up", " 7:30 ", "07:30"},
        {"empty reason", "", "13:00", "Please fill in all fields"},
        {"empty time", "Meeting", "", "Please fill in all fields"},
        {"not a time", "Meeting", "1:00 PM", "Please enter the time as hh:mm, for example 07:30."}};
    for (const auto& row : rows)
        QTest::newRow(row[0]) << row[1] << row[2] << row[3];
}

void TestWindows::arming()
{
    QFETCH(QString, reason);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    Fixture f;
    f.edit(field.musicEdit)->setText("/music/song.mp3");
    QTest::mouseClick(f.get(name.play), Qt::LeftButton); // a sound is playing
    f.arm(reason, typed);
    const char* buttons[] = {field.browse, name.browseFile, name.preview, name.play, name.stop};
    const char* edits[] = {field.reasonEdit, field.timeEdit, field.musicEdit, name.siteEdit,
                           name.fileEdit};
    if (result.contains(' ')) { // refused: a message, the alarm off, the sound stopped
        QCOMPARE(f.fx.messages.texts, QStringList{result});
        QVERIFY(f.get<QRadioButton>(name.alarmOff)->isChecked() && !f.alarms->isArmed());
        QVERIFY(f.fx.sound.playing.isEmpty());
        QCOMPARE(f.edit(field.timeEdit)->text(), typed);
        return;
    }
    QCOMPARE(f.edit(field.timeEdit)->text(), result);
    QCOMPARE(f.status(), QStringLiteral("Alarm active"));
    for (const char* b : buttons)
        QVERIFY2(!f.get(b)->isEnabled(), b);
    for (const char* e : edits)
        QVERIFY2(f.edit(e)->isReadOnly(), e);
    QVERIFY(f.get<QCheckBox>(name.openSite)->isEnabled() && f.get(name.minimize)->isEnabled());
    QTest::mouseClick(f.get<QRadioButton>(name.alarmOff), Qt::LeftButton);
    for (const char* b : buttons)
        QCOMPARE(f.get(b)->isEnabled(), QByteArray(b) != name.stop);
    for (const char* e : edits)
        QVERIFY2(!f.edit(e)->isReadOnly(), e);
    QVERIFY(!f.alarms->isArmed());
}

void TestWindows::soundButtonsPreviewAndPickers()
{
    Fixture f;
    f.w().show();
    f.edit(field.reasonEdit)->setText("  "); // blanks in the reason are kept
    QTest::mouseClick(f.get(name.preview), Qt::LeftButton);
    QCOMPARE(f.fx.tray.balloons, QStringList{"Chimewell|It's 13:00. Time for   ."});
    QTest::mouseClick(f.get(name.play), Qt::LeftButton);
    QCOMPARE(f.fx.messages.texts, QStringList{"You must select a file to play"});
    QVERIFY(f.fx.sound.played.isEmpty());

    // Enter presses the sound picker; a cancelled picker changes nothing.
    f.fx.picker.nextAnswer = QStringLiteral("/music/chosen.mp3");
    f.edit(field.reasonEdit)->setFocus();
    QTest::keyClick(f.edit(field.reasonEdit), Qt::Key_Return);
    f.fx.picker.nextAnswer.reset();
    QTest::mouseClick(f.get(field.browse), Qt::LeftButton);
    QCOMPARE(f.edit(field.musicEdit)->text(), QStringLiteral("/music/chosen.mp3"));
    f.fx.picker.nextAnswer = QStringLiteral("/docs/report.doc");
    QTest::mouseClick(f.get(name.browseFile), Qt::LeftButton);
    QCOMPARE(f.edit(name.fileEdit)->text(), QStringLiteral("/docs/report.doc"));

    QTest::mouseClick(f.get(name.play), Qt::LeftButton);
    QCOMPARE(f.fx.sound.playing, QStringLiteral("/music/chosen.mp3"));
    QVERIFY(!f.get(name.play)->isEnabled() && f.get(name.stop)->isEnabled());
    QTest::mouseClick(f.get(name.stop), Qt::LeftButton);
    QVERIFY(f.fx.sound.playing.isEmpty() && f.get(name.play)->isEnabled());
}

void TestWindows::statusAndTooltipFollowTheAlarms()
{
    // (When an alarm is still to come: the time rules' tests.)
    Fixture f;
    f.app.day("Monday", "12:00");
    f.app.day("Tuesday", "8:00"); // shown as it is stored
    f.fx.clock.time = QDateTime(kMonday, QTime(11, 59, 59));
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (12:00)"));
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Monday 12:00"));
    f.arm("Call", "12:30");
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Monday 12:00"));
    f.tickAt(QTime(12, 0, 0)); // the weekly alarm rings: the one-shot alarm's status follows
    QCOMPARE(f.status(), QStringLiteral("Alarm active"));
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Monday 12:30"));
    f.tickTo(QDateTime(kMonday.addDays(1), QTime(0, 0, 1)));
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (8:00)"));
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Tuesday 08:00"));
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
    f.schedule.show();
    f.save("monday", "Dentist", "9:30");
    QCOMPARE(f.fx.messages.texts, QStringList{"Succesfully added alarm for Monday"});
    QCOMPARE(f.app.read("schedule/Monday.ini"),
             QByteArray("[alarm]\r\nREASON=Dentist\r\nTIME=09:30\r\nMUSIC=\r\n"));
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (09:30)"));
    QTRY_VERIFY(!f.schedule.loaded()); // closed and unloaded

    // Go loads a day, or empties the fields; saving again replaces the values in place.
    f.app.write("schedule/Monday.ini", "; mine\r\n[alarm]\r\nreason=Old\r\ntime=08:00\r\n");
    QWidget* d = f.schedule.get();
    for (const char* day : {"Monday", "Saturday"}) {
        f.get<QComboBox>(scheduleName.dayCombo, d)->setEditText(day);
        f.get(scheduleName.go, d)->click();
        QCOMPARE(f.edit(field.reasonEdit, d)->text() + f.edit(field.timeEdit, d)->text(),
                 QString(day == QByteArray("Monday") ? "Old08:00" : ""));
    }
    f.save("Monday", "New", "10:15");
    QCOMPARE(f.app.read("schedule/Monday.ini"),
             QByteArray("; mine\r\n[alarm]\r\nreason=New\r\ntime=10:15\r\nMUSIC=\r\n"));

    QWidget* remove = f.remove.get();
    f.get<QComboBox>(deleteDialogNames.dayCombo, remove)->setEditText("Monday");
    f.get(deleteDialogNames.deleteButton, remove)->click();
    QCOMPARE(f.fx.messages.texts.last(), QStringLiteral("Succesfully deleted alarm for Monday"));
    QCOMPARE(f.app.read("schedule/Monday.ini"),
             QByteArray("; mine\r\n[alarm]\r\nreason=\r\ntime=\r\nMUSIC=\r\n"));
    QCOMPARE(f.status(), QStringLiteral("No alarm active..."));

    // A write that fails is told, never celebrated; the dialog keeps what was typed.
    QDir(f.app.file("schedule")).removeRecursively();
    f.app.write("schedule", "a file where the folder should be");
    f.save("Monday", "Kept", "9:30");
    QCOMPARE(f.fx.messages.icons.last(), MessageIcon::Stop);
    QVERIFY(f.fx.messages.texts.last().contains("Monday.ini"));
    QCOMPARE(f.edit(field.reasonEdit, f.schedule.get())->text(), QStringLiteral("Kept"));
}

void TestWindows::refusedInputWritesNothing()
{
    // (Which days and times are refused: the time rules' and the arming tests.)
    const char* rows[][3] = {
        {"../Chimewell", "13:00", "Please choose a day from the list."},
        {"Monday", "13.00", "Please enter the time as hh:mm, for example 07:30."}};
    for (const auto& [day, time, message] : rows) {
        Fixture f;
        f.schedule.show();
        f.save(day, "x", time);
        QCOMPARE(f.fx.messages.texts, QStringList{message});
        QVERIFY(f.schedule.loaded()->isVisible());
        QCOMPARE(QDir(f.app.file("schedule")).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(f.app.path()).entryList(QDir::Files), QStringList());
    }
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
