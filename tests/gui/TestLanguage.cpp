// Language packs on the windows, the texts outside them, and the Options and About dialogs.
#include "Fakes.h"
#include "alarm/AlarmScheduler.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/OptionsDialog.h"
#include "lang/LanguagePack.h"
#include "lang/PackSource.h"
#include "lang/Texts.h"
#include "schedule/AlarmFields.h"
#include "schedule/AlarmsWindow.h"
#include "tray/TrayModule.h"
#include "widgets/FormLayout.h"

#include <QtCore/QLibraryInfo>
#include <QtCore/QProcess>
#include <QtGui/QFontInfo>
#include <QtGui/QScreen>
#include <QtTest/QtTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableView>

using namespace chimewell;
using fakes::child;

namespace {

const OptionsDialogNames& options = optionsDialogNames;

// A pack file made from source text with the project's own writer.
QByteArray packBytes(const QByteArray& source)
{
    pack::Pack p;
    std::string error;
    if (!pack::parseSource(source.toStdString(), p, error))
        qFatal("bad test source: %s", error.c_str());
    std::string bytes;
    if (!pack::writePack(p, bytes, error))
        qFatal("cannot write test pack: %s", error.c_str());
    return QByteArray::fromStdString(bytes);
}

// What each named control shows, as "caption|tooltip" (a frame's or a menu's title).
QStringList shown(QWidget* window, std::initializer_list<const char*> names)
{
    QStringList out;
    for (const char* name : names) {
        QObject* o = child(window, name);
        const char* caption = o->property("title").isValid() ? "title" : "text";
        out << o->property(caption).toString() + "|" +
                   (o->isWidgetType() ? o->property("toolTip").toString() : QString());
    }
    return out;
}

struct Fixture
{
    fakes::Services fx;
    fakes::AppFolder app;
    LanguagePack pack{fx.messages};
    TrayModule tray{fx.tray, &fx.notifier};
    AlarmScheduler alarms{fx.services, app.path(), tray, pack};

    // Writes packs/NAME from source text and loads it.
    bool load(const QString& name, const QByteArray& source)
    {
        app.write("packs/" + name, packBytes(source));
        return pack.loadPack(app.file("packs/" + name));
    }
    std::unique_ptr<OptionsDialog> optionsDialog()
    {
        return std::make_unique<OptionsDialog>(fx.services, app.path(), alarms, pack, [] {});
    }
};

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void packTextsReachTheControls();
    void entryRulesAreKept();
    void aFailedLoadKeepsThePackBefore();
    void looseStringsAndTheWeekday();
    void changeLanguageReachesEveryWindowOrNone();
    void optionsSaveEachChoiceOrTellWhy();
    void listingPacks();
    void aboutShowsVersionChangelogAndPicture();
    void everyTextFitsInEveryLanguage_data();
    void everyTextFitsInEveryLanguage();
};

void TestLanguage::packTextsReachTheControls()
{
    Fixture f;
    const QByteArray huge(60000, 'W');
    QVERIFY(f.load("T.lpk", "[Form1]\ntitle = Wecker\nFrame1 = Alarm!\nmOptions = &Datei\n"
                            "Command1 = ... | <img src=/etc/passwd>\nmnuExit = &Beenden\n"
                            "Label2 = <b>bold</b>\ncmdPlay = | Abspielen\nOption2 = " +
                                huge + "\n"));
    MainWindow w(f.fx.services, f.alarms, f.tray);
    f.pack.apply(&w);
    QCOMPARE(w.windowTitle(), QStringLiteral("Wecker"));
    QCOMPARE(shown(&w, {"Frame1", "mOptions", "mnuExit", "Label2"}),
             QStringList({"Alarm!|", "&Datei|", "&Beenden|", "<b>bold</b>|"}));
    // Plain text, never markup; screen readers hear the translated tooltip of a symbol.
    QCOMPARE(child<QLabel>(&w, "Label2")->textFormat(), Qt::PlainText);
    QVERIFY(child<QPushButton>(&w, "Command1")->toolTip().contains("&lt;img"));
    QCOMPARE(child<QPushButton>(&w, "cmdPlay")->accessibleName(), QStringLiteral("Abspielen"));
    // An absurd caption is cut, and the window still fits on the screen.
    const QString option2 = child<QRadioButton>(&w, "Option2")->text();
    QCOMPARE(option2.size(), LanguagePack::kMaxCaption);
    QVERIFY(option2.endsWith(QChar(0x2026)));
    QVERIFY(w.sizeHint().width() <= w.screen()->availableSize().width());
}

void TestLanguage::entryRulesAreKept()
{
    Fixture f;
    QVERIFY(f.load("T.lpk", "[frmAbout]\ntitle = | Override title\n"
                            "SSTab1.tabcaption(1) = Aenderungen | ignored tip\n"
                            "SSTab1.TabCaption(2) = \ncmdOK = | Only a tip\n"
                            "Label1 = Base | | Overridden caption\ncmdok = lower-case name\n"
                            "Text2 = a text box has no caption\nNothing = no such control\n"
                            "lblDisclaimer = after the refusals\n"
                            "[frmAbout]\ntitle = second entry of the same window\n"));
    AboutDialog about(f.app.path(), f.pack);
    f.pack.apply(&about);
    QCOMPARE(about.windowTitle(), QStringLiteral("Override title"));
    // Tab captions are written even when empty, and set no tooltip.
    auto* tabs = child<QTabWidget>(&about, "SSTab1");
    QCOMPARE(QStringList({tabs->tabText(1), tabs->tabText(2), tabs->toolTip()}),
             QStringList({"Aenderungen", "", ""}));
    QCOMPARE(shown(&about, {"cmdOK", "Label1", "lblDisclaimer"}),
             QStringList({"OK|Only a tip", "Overridden caption|", "after the refusals|"}));
    // A window that no entry names keeps its texts.
    MainWindow w(f.fx.services, f.alarms, f.tray);
    f.pack.apply(&w);
    QCOMPARE(w.windowTitle(), QStringLiteral("Chimewell"));
}

void TestLanguage::aFailedLoadKeepsThePackBefore()
{
    Fixture f;
    MainWindow w(f.fx.services, f.alarms, f.tray);
    QVERIFY(f.load("A.lpk", "[Form1]\ntitle = A\nCommand3 = A preview\nCommand4 = A hide\n"));
    f.pack.apply(&w);
    QVERIFY(f.load("B.lpk", "[Form1]\ntitle = B\nCommand3 = B preview\n"));
    f.pack.apply(&w);
    QCOMPARE(shown(&w, {"Command3", "Command4"}), QStringList({"B preview|", "A hide|"}));

    // Refused, each with its cause: a truncated pack, a missing one, the folder, a device, a
    // pipe and an oversized file, the last three without being read.
    QByteArray broken = packBytes("[Form1]\ntitle = C\n");
    broken.chop(3);
    f.app.write("packs/broken.lpk", broken);
    f.app.write("packs/huge.lpk", QByteArray(LanguagePack::kMaxPackBytes + 1, 'x'));
    QList<std::pair<QString, QString>> refused = {{f.app.file("packs/broken.lpk"), "truncated"},
                                                  {f.app.file("packs/missing.lpk"), "missing.lpk"},
                                                  {f.app.file("packs"), "is a folder"},
                                                  {f.app.file("packs/huge.lpk"), "too large"}};
    // Devices and pipes where the system has them in its file tree.
    if (QFile::exists("/dev/zero") &&
        QProcess::execute("mkfifo", {f.app.file("packs/pipe.lpk")}) == 0)
        refused += {{"/dev/zero", "not a regular file"},
                    {f.app.file("packs/pipe.lpk"), "not a regular file"}};
    for (const auto& [file, cause] : refused) {
        QString error;
        QVERIFY(!f.pack.loadPack(file, &error));
        QVERIFY2(error.contains(cause), qPrintable(error));
    }
    MainWindow fresh(f.fx.services, f.alarms, f.tray);
    f.pack.apply(&fresh);
    QCOMPARE(fresh.windowTitle(), QStringLiteral("B"));
}

void TestLanguage::looseStringsAndTheWeekday()
{
    Fixture f;
    QCOMPARE(translated(texts::alarm, {"13:00", "%2 stays"}),
             QStringLiteral("It's 13:00. Time for %2 stays."));
    QVERIFY(f.load("De.lpk",
                   "[strings]\nlocale = de\nAlarmText = Es ist %1. Zeit für %2.\n"
                   "StatusActive = Wecker aktiv\nDayAdded = Wecker für Montag gespeichert\n"));
    QCOMPARE(translated(texts::alarm, {"13:00", "Sport"}),
             QString::fromUtf8("Es ist 13:00. Zeit für Sport."));
    QCOMPARE(translated(texts::alarmActive), QStringLiteral("Wecker aktiv"));
    // A pack that lacks a text, or one of its places, says it in English.
    QCOMPARE(translated(texts::noAlarm), QStringLiteral("No alarm active..."));
    QCOMPARE(translated(texts::dayAdded, {"Friday"}),
             QStringLiteral("Succesfully added alarm for Friday"));
    QCOMPARE(translatedLocale().dayName(1), QStringLiteral("Montag"));
}

void TestLanguage::changeLanguageReachesEveryWindowOrNone()
{
    // (A language that reaches every window and the next start: e2e_options.)
    Fixture f;
    f.app.write("Chimewell.ini", "[options]\r\nfirstload=0\r\n");
    f.app.write("packs/German.lpk", packBytes("[frmLanguage]\ntitle = Optionen\n"
                                              "[Form1]\ntitle = Wecker\n[strings]\nlocale = de\n"));
    f.app.write("packs/Bad.lpk", "LPK1 not a pack at all");
    const auto cancelText = [] {
        return QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text();
    };
    Startup startup(f.fx.services, f.app.path(), f.pack);
    QVERIFY(startup.run({}));
    QWidget* dialog = startup.options().get();
    auto* list = child<QListWidget>(dialog, options.packList);
    auto* change = child<QPushButton>(dialog, options.change);
    QCOMPARE(cancelText(), QStringLiteral("Cancel")); // no pack: Qt's texts in English

    // A damaged pack, or a settings file that cannot be written: a message naming the
    // cause, and the windows and the setting stay as they were.
    list->setCurrentRow(0);
    change->click();
    QFile::rename(f.app.file("Chimewell.ini"), f.app.file("kept.ini"));
    QDir(f.app.path()).mkdir("Chimewell.ini");
    list->setCurrentRow(1);
    change->click();
    QCOMPARE(f.fx.messages.texts.size(), 2);
    QVERIFY(f.fx.messages.texts[0].contains("Bad.lpk"));
    QVERIFY(f.fx.messages.texts[1].contains(f.app.file("Chimewell.ini")));
    QCOMPARE(dialog->windowTitle() + startup.mainWindow()->windowTitle(),
             QStringLiteral("OptionsChimewell"));
    QDir(f.app.path()).rmdir("Chimewell.ini");
    QFile::rename(f.app.file("kept.ini"), f.app.file("Chimewell.ini"));
    change->click();
    QCOMPARE(dialog->windowTitle() + startup.mainWindow()->windowTitle(),
             QStringLiteral("OptionenWecker"));
    // Qt's own buttons and file picker follow the pack's locale, where Qt's translations are
    // installed.
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
        QCOMPARE(cancelText(), QStringLiteral("Abbrechen"));
}

void TestLanguage::optionsSaveEachChoiceOrTellWhy()
{
    Fixture f;
    auto& entry = f.fx.autostart;
    // Loading makes the entry follow the setting, and writes "0" where there is none.
    f.app.write("Chimewell.ini", "[options]\r\n");
    entry.enabled = true;
    auto dialog = f.optionsDialog();
    QVERIFY(!entry.enabled);
    QVERIFY(f.app.read("Chimewell.ini").contains("STARTUP=0"));
    QVERIFY(child<QRadioButton>(dialog.get(), options.ringOnce)->isChecked());

    // Ticked: the setting and the entry both; each choice is saved as it is made.
    child<QCheckBox>(dialog.get(), options.startupCheck)->click();
    QVERIFY(entry.enabled && f.app.read("Chimewell.ini").contains("STARTUP=1"));
    // Each ring time and snooze length is saved as the file's word for it, and shown again.
    const std::pair<const char*, const char*> choices[] = {
        {options.ringOnce, "RINGMINUTES=0"},
        {options.ringOneMinute, "RINGMINUTES=1"},
        {options.ringFifteenMinutes, "RINGMINUTES=15"},
        {options.ringFiveMinutes, "RINGMINUTES=5"},
        {options.snoozeFifteen, "SNOOZEMINUTES=15"},
        {options.snoozeFive, "SNOOZEMINUTES=5"},
        {options.snoozeTen, "SNOOZEMINUTES=10"}};
    for (const auto& [button, line] : choices) {
        child<QRadioButton>(dialog.get(), button)->click();
        QVERIFY2(f.app.read("Chimewell.ini").contains(QByteArray(line) + "\r\n"), line);
        QVERIFY2(child<QRadioButton>(f.optionsDialog().get(), button)->isChecked(), line);
    }

    // The sound box: what is done about a muted output, the fade-in, pausing music.
    auto* whenMuted = child<QComboBox>(dialog.get(), options.whenMuted);
    auto* fade = child<QComboBox>(dialog.get(), options.fade);
    auto* pauseMusic = child<QCheckBox>(dialog.get(), options.pauseMusic);
    QCOMPARE(whenMuted->currentText() + "|" + fade->currentText(), QStringLiteral("Warn me|Off"));
    QVERIFY(pauseMusic->isChecked());
    whenMuted->setCurrentIndex(1);
    emit whenMuted->activated(1);
    fade->setCurrentIndex(2);
    emit fade->activated(2);
    pauseMusic->click();
    const QByteArray chosen = f.app.read("Chimewell.ini");
    QVERIFY2(chosen.contains("WHENMUTED=unmute\r\n") && chosen.contains("FADESECONDS=30\r\n") &&
                 chosen.contains("PAUSEMUSIC=0\r\n"),
             chosen.constData());
    const auto again = f.optionsDialog();
    QCOMPARE(child<QComboBox>(again.get(), options.whenMuted)->currentText() + "|" +
                 child<QComboBox>(again.get(), options.fade)->currentText(),
             QStringLiteral("Unmute while an alarm rings|30 s"));
    QVERIFY(!child<QCheckBox>(again.get(), options.pauseMusic)->isChecked());

    // An entry that cannot be changed: the setting goes back, and the box with it.
    entry.works = false;
    child<QCheckBox>(dialog.get(), options.startupCheck)->click();
    QVERIFY(child<QCheckBox>(dialog.get(), options.startupCheck)->isChecked());
    QVERIFY(f.app.read("Chimewell.ini").contains("STARTUP=1"));
    QCOMPARE(f.fx.messages.texts.size(), 1);
    QVERIFY(f.fx.messages.texts.last().contains("the log-on folder"));

    // A settings file that cannot be written: told, with the file; nothing changes.
    entry.works = true;
    const QByteArray settings = f.app.read("Chimewell.ini");
    QFile(f.app.file("Chimewell.ini")).setPermissions(QFile::ReadOwner);
    child<QCheckBox>(dialog.get(), options.startupCheck)->click();
    child<QRadioButton>(dialog.get(), options.ringOnce)->click();
    QCOMPARE(f.fx.messages.texts.size(), 3);
    QVERIFY(f.fx.messages.texts.last().contains(f.app.file("Chimewell.ini")));
    QVERIFY(child<QCheckBox>(dialog.get(), options.startupCheck)->isChecked() && entry.enabled);
    QVERIFY(child<QRadioButton>(dialog.get(), options.ringFiveMinutes)->isChecked());
    QCOMPARE(f.app.read("Chimewell.ini"), settings);
    f.optionsDialog(); // reopened, it keeps the entry
    QVERIFY(entry.enabled);
}

void TestLanguage::listingPacks()
{
    Fixture f;
    for (const char* file :
         {"German.lpk", "english.LPK", ".hidden.lpk", "notes.txt", "Mine|Yours.lpk"})
        f.app.write(QStringLiteral("packs/") + file, "x");
    QDir(f.app.file("packs")).mkdir("folder.lpk");
    const auto dialog = f.optionsDialog();
    auto* list = child<QListWidget>(dialog.get(), options.packList);
    QStringList listed;
    for (int i = 0; i < list->count(); ++i)
        listed << list->item(i)->text();
    // (Windows has no file names with a "|".)
    QStringList expected = {"english.LPK", "German.lpk"};
    if (QFile::exists(f.app.file("packs/Mine|Yours.lpk")))
        expected << "Mine|Yours.lpk";
    QCOMPARE(listed, expected);
    QVERIFY(f.fx.messages.texts.isEmpty());
    QCOMPARE(f.pack.packFiles(f.app.file("nowhere")), QStringList());
    QCOMPARE(f.fx.messages.texts, QStringList{f.app.file("nowhere") + " doesn't exist."});
}

void TestLanguage::aboutShowsVersionChangelogAndPicture()
{
    // The change log in UTF-8 or, where it is not, Windows-1252; no picture without timer.jpg.
    Fixture f;
    const AboutDialogNames& name = aboutDialogNames;
    for (const QByteArray& log : {QByteArray("Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC\n"),
                                  QByteArray("Gr\xFC\xDF\x65 \x80\n")}) {
        f.app.write("changelog.txt", log);
        AboutDialog about(f.app.path(), f.pack);
        QCOMPARE(shown(&about, {name.version, name.title}),
                 QStringList({"Version 1.4.0|", "Chimewell|"}));
        QCOMPARE(child<QPlainTextEdit>(&about, name.changelog)->toPlainText(),
                 QString::fromUtf8("Grüße €\n"));
        QVERIFY(child<QLabel>(&about, name.picture)->pixmap().isNull());
    }

    // A pack cannot change the title or the version, and pictures take no caption.
    f.app.write("Chimewell.ini", "[options]\r\nlanguage=T.lpk\r\n");
    f.app.write("packs/T.lpk", packBytes("[frmAbout]\ntitle = Info\nlblVersion = v9\n"
                                         "lblTitle = X\npicIcon = PIC\nImage1 = PIC\n"));
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(f.app.file("timer.jpg"), "JPG");
    AboutDialog again(f.app.path(), f.pack);
    QCOMPARE(again.windowTitle(), QStringLiteral("Info"));
    QCOMPARE(shown(&again, {name.version, name.title, name.icon, name.picture}),
             QStringList({"Version 1.4.0|", "Chimewell|", "|", "|"}));
    QCOMPARE(child<QLabel>(&again, name.picture)->pixmap().size(), QSize(20, 10));
}

void TestLanguage::everyTextFitsInEveryLanguage_data()
{
    QTest::addColumn<QByteArray>("pack");
    for (const char* name : {"English", "German", "French", "Spanish", "Portuguese-Brazil"}) {
        QFile f(QStringLiteral(CHIMEWELL_APP_DIR "/packs/%1.lpk").arg(name));
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
        QTest::newRow(name) << f.readAll();
    }
    // The program's own texts, as with no pack at all.
    QTest::newRow("design texts") << packBytes("[strings]\nlocale = en\n");
    // What a translator might write: long captions everywhere, a six-letter "Go".
    QTest::newRow("long captions") << packBytes(
        "[Form1]\ntitle = Chimewell\nOption1 = Alarm on, ringing every single day\n"
        "Option2 = Alarm off, silent until switched on again\n"
        "Command3 = Preview the notification\nCheck1 = Open this web site when the time comes\n"
        "Label5 = (This can also point at a ZIP or EXE file to download when the alarm rings)\n"
        "Frame1 = The alarm that rings once a day until switched off\n"
        "Command4 = Minimise to the notification area of the taskbar\n"
        "[frmLanguage]\ntitle = Options\nCommand1 = Change to this language now\n"
        "Command4 = Leave these options\nCheck1 = Start Chimewell hidden whenever I log on\n"
        "Option4 = For a quarter of an hour\n"
        "[frmSchedule]\ntitle = Schedule\nCommand2 = Gehen!\nCommand3 = Schedule it\n"
        "Command4 = Never mind\nLabel4 = Choose the music that should play\n"
        "[frmDelete]\ntitle = Delete\nCommand5 = Delete this day's alarm\n"
        "[frmAbout]\ntitle = About\ncmdOK = Understood\n"
        "SSTab1.TabCaption(0) = \"Everything in general \"\n"
        "SSTab1.TabCaption(1) = \"What changed in each version \"\n");
}

void TestLanguage::everyTextFitsInEveryLanguage()
{
    // (Qt's headless platform on Windows draws every letter as a box of one size.)
    if (QFontInfo(QApplication::font()).family().isEmpty())
        QSKIP("this platform has no fonts to measure texts with");
    QFETCH(QByteArray, pack);
    fakes::Services fx;
    fakes::AppFolder app;
    app.write("packs/Test.lpk", pack);
    app.write("Chimewell.ini", "[options]\r\nfirstload=0\r\nlanguage=Test.lpk\r\n");
    for (const char* day : {"Monday", "Tuesday", "Wednesday", "Thursday", "Saturday"})
        app.day(day, "07:00", "Take the tablets before breakfast", "", "RINGMINUTES=15\r\n");
    LanguagePack language(fx.messages);
    Startup startup(fx.services, app.path(), language);
    QVERIFY(startup.run({}));
    QVERIFY(language.isLoaded());
    auto* list = static_cast<AlarmsWindow*>(startup.alarmList().get());
    list->addAlarm();
    const QList<QWidget*> windows = {
        startup.mainWindow(),   startup.options().get(), startup.schedule().get(),
        startup.remove().get(), startup.about().get(),   list,
        list->editor()};
    // Every column of the list as wide as its texts, and all of them in view (within the
    // width of the screen).
    list->show();
    QVERIFY(list->table()->viewport()->width() >= list->table()->horizontalHeader()->length() ||
            list->table()->minimumWidth() >= list->screen()->availableSize().width() - 64);
    for (QWidget* window : windows) {
        // No two controls of a window share an access key.
        QStringList keys;
        if (auto* main = qobject_cast<QMainWindow*>(window))
            for (const QAction* menu : main->menuBar()->actions())
                keys << QKeySequence::mnemonic(menu->text()).toString();
        for (QWidget* w : window->findChildren<QWidget*>())
            if (auto* b = qobject_cast<QAbstractButton*>(w); b && w->window() == window)
                keys << QKeySequence::mnemonic(b->text()).toString();
            else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy() && w->window() == window)
                keys << QKeySequence::mnemonic(l->text()).toString();
        keys.removeAll(QString());
        QVERIFY2(keys.size() == QSet<QString>(keys.begin(), keys.end()).size(),
                 qPrintable(window->objectName() + ": " + keys.join(' ')));
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->isWindow() || !w->isVisibleTo(window))
                continue;
            const QString where = window->objectName() + "/" + w->objectName();
            QVERIFY2(form::missingRoom(w).isNull(), qPrintable(where));
            // Icons and small pictures have the pixels the screen's scale asks for.
            const qreal ratio = qApp->devicePixelRatio();
            if (auto* l = qobject_cast<QLabel*>(w); l && !l->pixmap().isNull() && l->width() <= 64)
                QVERIFY2(l->pixmap().devicePixelRatio() >= ratio, qPrintable(where));
            if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->icon().isNull())
                QVERIFY2(b->icon().pixmap(b->iconSize(), ratio).devicePixelRatio() >= ratio,
                         qPrintable(where));
            // Nothing sticks out of the frame or picture box that holds it.
            QWidget* holder = w->parentWidget();
            if (holder->metaObject() == &QWidget::staticMetaObject ||
                qobject_cast<QGroupBox*>(holder))
                QVERIFY2(holder->rect().contains(w->geometry()), qPrintable(where));
        }
    }
}

QTEST_MAIN(TestLanguage)
#include "TestLanguage.moc"
