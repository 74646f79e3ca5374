// The main window and the two schedule dialogs: what they show, lock, refuse and write.
#include "Fakes.h"
#include "RecordingCommands.h"
#include "alarm/AlarmBell.h"
#include "alarm/AlarmScheduler.h"
#include "alarm/SecondTicker.h"
#include "app/ClockFace.h"
#include "app/CursorBlinkLimit.h"
#include "app/MainWindow.h"
#include "app/StatusPanel.h"
#include "lang/LanguagePack.h"
#include "schedule/AlarmFields.h"
#include "schedule/AlarmListModel.h"
#include "schedule/AlarmsWindow.h"
#include "schedule/DeleteDialog.h"
#include "schedule/ScheduleDialog.h"
#include "tray/TrayModule.h"
#include "widgets/WindowSlot.h"

#include <QtTest/QAbstractItemModelTester>
#include <QtTest/QtTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTableView>

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
    LanguagePack texts{fx.messages};
    TrayModule tray{fx.tray, &fx.notifier};
    std::unique_ptr<AlarmScheduler> alarms;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<fakes::RecordingCommands> commands; // what the Alarms window asks for
    WindowSlot schedule{[this] {
        w();
        return new ScheduleDialog(fx.services, app.path(), *alarms);
    }};
    WindowSlot remove{[this] {
        w();
        return new DeleteDialog(fx.services, app.path(), *alarms);
    }};
    WindowSlot list{[this] {
        w();
        commands = std::make_unique<fakes::RecordingCommands>(*alarms);
        return new AlarmsWindow(fx.services, app.path(), *commands, texts);
    }};

    Fixture() { fx.clock.time = QDateTime(kMonday, QTime(12, 0, 0)); }
    ~Fixture()
    {
        delete schedule.loaded();
        delete remove.loaded();
        delete list.loaded();
    }
    MainWindow& w()
    {
        if (!window) {
            alarms = std::make_unique<AlarmScheduler>(fx.services, app.path(), tray, texts);
            window = std::make_unique<MainWindow>(fx.services, *alarms, tray);
            alarms->start();
            window->showStatus();
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
        alarms->watchNow();
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
    void aRingingAlarmIsStoppedFromTheWindowsAndTheMenu();
    void theAlarmsWindowEditsTheWeek();
    void theAlarmsWindowNeverWritesOverAHandEdit();
    void theEditorsVolumeAndFadeIn();
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
    f.app.day("Monday", "12:00", "Gym", "", "[alarm 2]\r\nTIME=12:45\r\nREASON=Call\r\n");
    f.app.day("Tuesday", "8:00"); // shown as it is stored
    f.fx.clock.time = QDateTime(kMonday, QTime(11, 59, 59));
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (12:00)"));
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Monday 12:00"));
    f.arm("Call", "12:30");
    // The line names what comes next, also while the rung alarm's notice shows.
    f.tickAt(QTime(12, 0, 0));
    QCOMPARE(f.status(), QStringLiteral("Alarm active"));
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Monday 12:30"));
    for (QTime t(12, 0, 30); t <= QTime(12, 35, 0); t = t.addSecs(30))
        f.tickAt(t);
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (12:45)"));
    f.alarms->snooze(); // 12:30's snooze comes before 12:45
    QCOMPARE(f.status(), QStringLiteral("Snoozed alarm active (12:40)"));
    for (QTime t(12, 35, 30); t <= QTime(12, 50, 0); t = t.addSecs(30))
        f.tickAt(t);
    QCOMPARE(f.status(), QStringLiteral("Next alarm: Tuesday 08:00"));
    f.tickTo(QDateTime(kMonday.addDays(1), QTime(0, 0, 1)));
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (8:00)"));
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Tuesday 08:00"));
    // A muted output: both say so while the alarm is within 12 hours, and no more once heard.
    f.fx.output.becomes({true, true, 70});
    QCOMPARE(f.status(), QStringLiteral("Muted: the 08:00 alarm will not be heard"));
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Tuesday 08:00\nMuted: the "
                                           "08:00 alarm will not be heard"));
    f.fx.output.becomes({true, false, 70});
    QCOMPARE(f.status(), QStringLiteral("Scheduled alarm active (8:00)"));
    // Further off than a day, the tooltip names the date too.
    QTest::mouseClick(f.get<QRadioButton>(name.alarmOff), Qt::LeftButton);
    f.tickTo(QDateTime(kMonday.addDays(1), QTime(8, 0, 1)));
    QCOMPARE(f.fx.tray.tip, QStringLiteral("Chimewell\nNext alarm: Monday 14 Dec 12:00"));
}

void TestWindows::aRingingAlarmIsStoppedFromTheWindowsAndTheMenu()
{
    Fixture f;
    f.app.day("Monday", "12:01", "Gym", "", "SNOOZEMINUTES=10\r\n");
    f.w().show();
    auto* menu = f.w().trayMenu();
    auto* stop = child<QAction>(menu, name.stopAlarmItem);
    auto* snooze = child<QAction>(menu, name.snoozeItem);
    const QList<QAction*> items = menu->actions();
    // Stop and Snooze are always there; they work while an alarm rings, named by its snooze.
    emit menu->aboutToShow();
    QVERIFY(!stop->isEnabled() && !snooze->isEnabled() && stop->isVisible());
    QCOMPARE(snooze->text(), QStringLiteral("S&nooze 5 minutes"));
    emit menu->aboutToHide();
    f.tickAt(QTime(12, 1, 0));
    QVERIFY(stop->isEnabled());
    QCOMPARE(snooze->text(), QStringLiteral("S&nooze 10 minutes"));
    QCOMPARE(menu->actions(), items);
    // Open while the sound ends, the menu keeps its state until it opens again.
    emit menu->aboutToShow();
    f.fx.sound.finish();
    QVERIFY(stop->isEnabled());
    emit menu->aboutToHide();
    emit menu->aboutToShow();
    QVERIFY(!stop->isEnabled());
    emit menu->aboutToHide();

    // The window's stop button stops a ringing alarm, also from the keyboard.
    f.tickTo(QDateTime(kMonday.addDays(7), QTime(12, 0, 59)));
    f.tickAt(QTime(12, 1, 0));
    QVERIFY(!f.fx.sound.playing.isEmpty() && f.get(name.stop)->isEnabled());
    f.get(name.stop)->setFocus();
    QTest::keyClick(f.get(name.stop), Qt::Key_Space);
    QVERIFY(f.fx.sound.playing.isEmpty() && f.fx.notifier.showing.isEmpty());
    QVERIFY(!f.get(name.stop)->isEnabled());
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
    QTRY_COMPARE(f.status(), QStringLiteral("Scheduled alarm active (09:30)"));
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
    QTRY_COMPARE(f.status(), QStringLiteral("No alarm active..."));

    // On a day of several alarms, Schedule and Delete say which alarm they replaced or
    // deleted, and that the others stay.
    f.app.day("Tuesday", "06:45", "Work", "", "[alarm 2]\r\nTIME=21:00\r\nREASON=Pills\r\n");
    f.schedule.show();
    f.save("Tuesday", "Early", "06:30");
    QCOMPARE(f.fx.messages.texts.last(),
             QStringLiteral("Succesfully added alarm for Tuesday in place of its alarm at 06:45 "
                            "(Work). The day's 1 other alarms stay as they were."));
    remove = f.remove.get();
    f.get<QComboBox>(deleteDialogNames.dayCombo, remove)->setEditText("Tuesday");
    f.get(deleteDialogNames.deleteButton, remove)->click();
    QCOMPARE(f.fx.messages.texts.last(),
             QStringLiteral("Succesfully deleted the alarm at 06:30 (Early) for Tuesday. The "
                            "day's 1 other alarms stay as they were."));

    // A write that fails is told, never celebrated; the dialog keeps what was typed.
    QFile(f.app.file("schedule/Monday.ini")).setPermissions(QFile::ReadOwner);
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

void TestWindows::theAlarmsWindowEditsTheWeek()
{
    const AlarmEditorNames& edit = alarmEditorNames;
    Fixture f;
    const QByteArray monday = "[alarm]\r\nREASON=Swim\r\nTIME=07:00\r\nMUSIC=\r\n"
                              "[alarm 2]\r\nREASON=Late\r\nTIME=07:30\r\nMUSIC=\r\nOFF=1\r\n";
    f.app.write("schedule/Monday.ini", monday);
    for (const char* day : {"Tuesday", "Wednesday", "Thursday", "Friday"})
        f.app.day(day, "06:45", "Work");
    auto* window = static_cast<AlarmsWindow*>(f.list.get());
    AlarmListModel* model = window->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto rows = [model] {
        QStringList out;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = AlarmListModel::Days; column < AlarmListModel::ColumnCount; ++column)
                cells << model->index(row, column).data().toString();
            const bool on = model->index(row, 0).data(Qt::CheckStateRole) == Qt::Checked;
            out << (on ? "on " : "off ") + cells.join('|');
        }
        return out;
    };
    // Days that follow each other in the pack's week (Sunday first in English) from three on.
    const QString dash(QChar(0x2013));
    QCOMPARE(QStringList({model->daysText(0b0001110), model->daysText(0b0000110),
                          model->daysText(0b1000001), model->daysText(0x7F)}),
             QStringList({"Mon" + dash + "Wed", "Mon, Tue", "Sat, Sun", "Every day"}));
    QCOMPARE(rows(), QStringList({"on Tue\u2013Fri|06:45|Work|The default chime|As in Options "
                                  "(Once)|As in Options (5 min)",
                                  "on Mon|07:00|Swim|The default chime|As in Options (Once)|As in "
                                  "Options (5 min)",
                                  "off Mon|07:30|Late|The default chime|As in Options (Once)|As in "
                                  "Options (5 min)"}));

    // The settings' ring time, changed in Options meanwhile, is what the list says.
    f.app.write("Chimewell.ini", "[options]\r\nringminutes=5\r\n");
    f.alarms->lookNow();
    QVERIFY(rows().first().contains("As in Options (5 min)|"));

    // Add: Monday to Friday at 9:00, snoozing 10 minutes. Five files gain a section each.
    QMap<QString, QByteArray> before;
    for (const char* day : {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"})
        before[day] = f.app.read(QStringLiteral("schedule/%1.ini").arg(day));
    window->addAlarm();
    AlarmEditor* editor = window->editor();
    QVERIFY(editor);
    // A dialog of the window, in front of it and never left behind it.
    QVERIFY(editor->windowType() == Qt::Dialog &&
            editor->windowHandle()->transientParent() == window->windowHandle());
    child<QLineEdit>(editor, edit.reason)->setText("Stand-up");
    child<QLineEdit>(editor, edit.time)->setText("25:99");
    child<QPushButton>(editor, edit.ok)->click();
    QCOMPARE(f.fx.messages.texts.last(),
             QStringLiteral("Time (hh:mm): \"25:99\" is not a time as hh:mm on the 24-hour clock. "
                            "Nothing was saved."));
    QCOMPARE(f.app.read("schedule/Monday.ini"), monday);
    child<QLineEdit>(editor, edit.time)->setText("9:00");
    auto* snooze = child<QComboBox>(editor, edit.snooze);
    snooze->setCurrentIndex(snooze->findData("10"));
    // With Wednesday's file read-only nothing is saved, and the editor stays; then once.
    QFile(f.app.file("schedule/Wednesday.ini")).setPermissions(QFile::ReadOwner);
    child<QPushButton>(editor, edit.ok)->click();
    QVERIFY(f.fx.messages.texts.last().startsWith("Nothing was saved:\nWednesday: "));
    QVERIFY(window->editor());
    for (const QString& day : before.keys())
        QCOMPARE(f.app.read("schedule/" + day + ".ini"), before[day]);
    QFile(f.app.file("schedule/Wednesday.ini"))
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    child<QPushButton>(editor, edit.ok)->click();
    QTRY_VERIFY(!window->editor());
    for (const QString& day : before.keys())
        QCOMPARE(f.app.read("schedule/" + day + ".ini"),
                 before[day] + (day == "Monday" ? "[alarm 3]" : "[alarm 2]") +
                     "\r\nREASON=Stand-up\r\nTIME=09:00\r\nMUSIC=\r\nSNOOZEMINUTES=10\r\n");
    QCOMPARE(rows().last(), QStringLiteral("on Mon\u2013Fri|09:00|Stand-up|The default chime|As "
                                           "in Options (5 min)|10 min"));
    // The new alarm is the row in hand; a switched-off row is drawn as one that does nothing;
    // without a row in hand, Edit and Delete do nothing and say so.
    QCOMPARE(window->table()->selectionModel()->selectedRows().first().row(), 3);
    QVERIFY(model->index(2, AlarmListModel::Time).data(Qt::ForegroundRole).isValid());
    QVERIFY(!model->index(3, AlarmListModel::Time).data(Qt::ForegroundRole).isValid());
    window->table()->clearSelection();
    QVERIFY(!child<QPushButton>(window, alarmsWindowNames.edit)->isEnabled() &&
            !child<QPushButton>(window, alarmsWindowNames.remove)->isEnabled());

    // Space switches the 07:00 alarm off: 09:00 moves up into the first section, 07:00 is kept.
    auto* table = window->table();
    table->selectRow(1);
    QTest::keyClick(table, Qt::Key_Space);
    QVERIFY(f.app.read("schedule/Monday.ini")
                .endsWith("[alarm]\r\nREASON=Stand-up\r\nTIME=09:00\r\n"
                          "MUSIC=\r\nSNOOZEMINUTES=10\r\n"));
    QVERIFY(rows()[1].startsWith("off Mon|07:00"));

    // Delete asks first, naming the alarm and its days; No keeps it.
    f.fx.messages.answer = false;
    table->selectRow(1);
    child<QPushButton>(window, alarmsWindowNames.remove)->click();
    QCOMPARE(f.fx.messages.texts.last(),
             QStringLiteral("Delete the alarm \"Swim\" at 07:00 on Mon?"));
    QCOMPARE(model->rowCount(), 4);
    f.fx.messages.answer = true;
    child<QPushButton>(window, alarmsWindowNames.remove)->click();
    QCOMPARE(model->rowCount(), 3);
    QVERIFY(!f.app.read("schedule/Monday.ini").contains("Swim"));
    // Edit by Enter: only what changed is written.
    table->selectRow(0);
    QTest::keyClick(table, Qt::Key_Return);
    QVERIFY(window->editor());
    child<QLineEdit>(window->editor(), edit.reason)->setText("Office");
    QTest::keyClick(child<QLineEdit>(window->editor(), edit.reason), Qt::Key_Return);
    QCOMPARE(f.app.read("schedule/Friday.ini"), "[alarm]\r\nREASON=Office\r\nTIME=06:45\r\n"
                                                "MUSIC=\r\n[alarm 2]\r\nREASON=Stand-up\r\n"
                                                "TIME=09:00\r\nMUSIC=\r\nSNOOZEMINUTES=10\r\n");
    // Every change went through the alarms' commands, the refused one too.
    QCOMPARE(f.commands->asked, QStringList({"add", "add", "switch off", "delete", "change"}));
}

void TestWindows::theAlarmsWindowNeverWritesOverAHandEdit()
{
    // Bad values are listed as they are, and kept byte for byte when another alarm changes.
    Fixture f;
    const QByteArray odd = "[alarm 5]\r\nTIME=7:5\r\nREASON=Odd\r\nRINGMINUTES=7\r\n"
                           "SNOOZEMINUTES=999\r\nOFF=yes\r\n";
    f.app.day("Monday", "08:00", "\"Gym\"", "", odd); // the quotes are not the reason's
    auto* window = static_cast<AlarmsWindow*>(f.list.get());
    AlarmListModel* model = window->model();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->index(1, AlarmListModel::Time).data().toString(),
             QStringLiteral("7:5 (not a time)"));
    QCOMPARE(model->index(1, 0).data(Qt::CheckStateRole), QVariant(Qt::Checked));
    window->table()->selectRow(0);
    window->editAlarm();
    QVERIFY(window->editor());
    child<QLineEdit>(window->editor(), alarmEditorNames.time)->setText("08:15");
    child<QPushButton>(window->editor(), alarmEditorNames.ok)->click();
    QCOMPARE(f.app.read("schedule/Monday.ini"),
             "[alarm]\r\nREASON=\"Gym\"\r\nTIME=08:15\r\nMUSIC=\r\n" + odd);

    // Changed by hand while open in the editor: told, and nothing written.
    window->table()->selectRow(0);
    window->editAlarm();
    f.app.day("Monday", "08:15", "Gym by hand", "", odd);
    f.alarms->lookNow(); // the list follows the file while the editor is open
    const QByteArray edited = f.app.read("schedule/Monday.ini");
    child<QLineEdit>(window->editor(), alarmEditorNames.reason)->setText("Mine");
    child<QPushButton>(window->editor(), alarmEditorNames.ok)->click();
    QVERIFY(f.fx.messages.texts.last().endsWith(
        "Monday.ini was changed by another program while the alarm was open. Nothing was "
        "saved; the list now shows the file as it is."));
    QCOMPARE(f.app.read("schedule/Monday.ini"), edited);
    QTRY_COMPARE(model->index(0, AlarmListModel::Reason).data().toString(),
                 QStringLiteral("Gym by hand"));
}

void TestWindows::theEditorsVolumeAndFadeIn()
{
    const AlarmEditorNames& edit = alarmEditorNames;
    Fixture f;
    const QByteArray odd = "VOLUME=150\r\nFADESECONDS=100000\r\n";
    f.app.day("Monday", "08:00", "Gym", "", odd);
    auto* window = static_cast<AlarmsWindow*>(f.list.get());
    window->table()->selectRow(0);
    window->editAlarm();
    QSpinBox* volume = child<QSpinBox>(window->editor(), edit.volume);
    QComboBox* fade = child<QComboBox>(window->editor(), edit.fade);
    // Values that mean nothing show what they mean, and stay as they are unless changed.
    QCOMPARE(volume->value(), 100);
    QCOMPARE(fade->currentText(), QStringLiteral("As in Options"));
    child<QLineEdit>(window->editor(), edit.time)->setText("08:15");
    child<QPushButton>(window->editor(), edit.ok)->click();
    QCOMPARE(f.app.read("schedule/Monday.ini"),
             "[alarm]\r\nREASON=Gym\r\nTIME=08:15\r\nMUSIC=\r\n" + odd);

    QTRY_VERIFY(!window->editor());
    window->table()->selectRow(0);
    window->editAlarm();
    volume = child<QSpinBox>(window->editor(), edit.volume);
    fade = child<QComboBox>(window->editor(), edit.fade);
    volume->setValue(40);
    fade->setCurrentIndex(fade->findText("30 s"));
    // The play button plays as the alarm would: at a tenth of its 40 % as its fade begins.
    child<QPushButton>(window->editor(), edit.play)->click();
    QVERIFY(qAbs(f.fx.sound.volume - 0.04) < 1e-6);
    child<QPushButton>(window->editor(), edit.ok)->click();
    QCOMPARE(f.app.read("schedule/Monday.ini"),
             "[alarm]\r\nREASON=Gym\r\nTIME=08:15\r\nMUSIC=\r\nVOLUME=40\r\n"
             "FADESECONDS=30\r\n");
    // A fade of the file's own that the list lacks is offered as it is.
    f.app.day("Monday", "08:15", "Gym", "", "FADESECONDS=20\r\n");
    f.alarms->lookNow();
    QTRY_VERIFY(!window->editor());
    window->table()->selectRow(0);
    window->editAlarm();
    QCOMPARE(child<QComboBox>(window->editor(), edit.fade)->currentText(), QStringLiteral("20 s"));
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
        {f.remove.get(), {"Combo2", "Command5"}},
        {f.list.get(), {"lvAlarms", "cmdAdd", "cmdEdit", "cmdDelete", "cmdClose"}},
        {(static_cast<AlarmsWindow*>(f.list.get())->addAlarm(),
          static_cast<AlarmsWindow*>(f.list.get())->editor()),
         {"chkDay",
          "chkDay",
          "chkDay",
          "chkDay",
          "chkDay",
          "chkDay",
          "chkDay",
          "Text1",
          "Text2",
          "Text3",
          "Command1",
          "cmdPlay",
          "cmdStop",
          "Combo1",
          "Combo2",
          "Text4",
          "qt_spinbox_lineedit",
          "Combo3",
          "cmdOK",
          "cmdCancel"}}};
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
