#include "Fakes.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/OptionsDialog.h"
#include "lang/LanguagePack.h"
#include "lang/PackSource.h"
#include "platform/FormLayout.h"

#include <QtCore/QLibraryInfo>
#include <QtTest/QtTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>

using namespace chimewell;
using fakes::child;

namespace {

// A pack file made from source text with the project's own writer.
QByteArray packBytes(const char* source)
{
    pack::Pack p;
    std::string error;
    if (!pack::parseSource(source, p, error))
        qFatal("bad test source: %s", error.c_str());
    std::string bytes;
    if (!pack::writePack(p, bytes, error))
        qFatal("cannot write test pack: %s", error.c_str());
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// What each named control shows, as "caption|tooltip" (a group box's or menu's title).
QStringList shown(QWidget* window, std::initializer_list<const char*> names)
{
    QStringList out;
    for (const char* name : names) {
        QObject* o = child(window, name);
        QString caption;
        if (auto* g = qobject_cast<QGroupBox*>(o))
            caption = g->title();
        else if (auto* m = qobject_cast<QMenu*>(o))
            caption = m->title();
        else if (auto* a = qobject_cast<QAction*>(o))
            caption = a->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(o))
            caption = b->text();
        else if (auto* l = qobject_cast<QLabel*>(o))
            caption = l->text();
        auto* w = qobject_cast<QWidget*>(o);
        out << caption + "|" + (w ? w->toolTip() : QString());
    }
    return out;
}

struct Fixture
{
    fakes::Services fx;
    fakes::AppFolder app;
    LanguagePack pack{fx.messages};

    // Writes packs/NAME from source text and loads it.
    bool load(const QString& name, const char* source)
    {
        app.write("packs/" + name, packBytes(source));
        return pack.loadPack(app.file("packs/" + name));
    }
};

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void packTextsReachTheControls();
    void entryRulesAreKept();
    void packsStackAndAFailedLoadKeepsTheOld();
    void listingPacks();
    void changeLanguageReachesEveryWindow();
    void startupMirrorsTheCheckBoxOnlyWhenItDiffers();
    void aboutShowsVersionChangelogAndPicture();
    void changelogEncodings();
    void everyTextFitsInEveryLanguage_data();
    void everyTextFitsInEveryLanguage();
};

void TestLanguage::packTextsReachTheControls()
{
    Fixture f;
    QVERIFY(f.load("T.lpk", "[Form1]\ntitle = Wecker\nFrame1 = Alarm!\nmOptions = &Datei\n"
                            "Command1 = ... | <img src=/etc/passwd>\nmnuExit = &Beenden\n"
                            "Option1 = An\nLabel2 = <b>bold</b>\n"));
    QCOMPARE(f.pack.currentFile, f.app.file("packs/T.lpk"));
    MainWindow w(f.fx.services, f.app.path());
    f.pack.apply(&w);
    QCOMPARE(w.windowTitle(), QStringLiteral("Wecker"));
    QCOMPARE(shown(&w, {"Frame1", "mOptions", "mnuExit", "Option1", "Label2"}),
             QStringList({"Alarm!|", "&Datei|", "&Beenden|", "An|", "<b>bold</b>|"}));
    // plain text, never markup
    QCOMPARE(child<QLabel>(&w, "Label2")->textFormat(), Qt::PlainText);
    QVERIFY(child<QPushButton>(&w, "Command1")->toolTip().contains("&lt;img"));
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
    // tab captions are written even when empty, and set no tooltip
    auto* tabs = child<QTabWidget>(&about, "SSTab1");
    QCOMPARE(QStringList({tabs->tabText(1), tabs->tabText(2), tabs->toolTip()}),
             QStringList({"Aenderungen", "", ""}));
    QCOMPARE(shown(&about, {"cmdOK", "Label1", "lblDisclaimer"}),
             QStringList({"OK|Only a tip", "Overridden caption|", "after the refusals|"}));
    // a window that no entry names keeps its texts
    MainWindow w(f.fx.services, f.app.path());
    f.pack.apply(&w);
    QCOMPARE(w.windowTitle(), QStringLiteral("Chimewell"));
}

void TestLanguage::packsStackAndAFailedLoadKeepsTheOld()
{
    Fixture f;
    MainWindow w(f.fx.services, f.app.path());
    QVERIFY(f.load("A.lpk", "[Form1]\ntitle = A\nCommand3 = A preview\nCommand4 = A hide\n"));
    f.pack.apply(&w);
    f.pack.apply(&w); // twice is the same as once
    QVERIFY(f.load("B.lpk", "[Form1]\ntitle = B\nCommand3 = B preview\n"));
    f.pack.apply(&w);
    QCOMPARE(w.windowTitle(), QStringLiteral("B"));
    QCOMPARE(shown(&w, {"Command3", "Command4"}), QStringList({"B preview|", "A hide|"}));

    // refused, each with its cause: a truncated pack, a missing one, the folder (an empty
    // language), a device and an oversized file, the last two without being read
    QByteArray broken = packBytes("[Form1]\ntitle = C\nCommand3 = C preview\n");
    broken.chop(3);
    f.app.write("packs/broken.lpk", broken);
    f.app.write("packs/huge.lpk", QByteArray(LanguagePack::kMaxPackBytes + 1, 'x'));
    const QString refused[][2] = {{f.app.file("packs/broken.lpk"), "truncated"},
                                  {f.app.file("packs/missing.lpk"), "missing.lpk"},
                                  {f.app.file("packs"), "is a folder"},
                                  {"/dev/zero", "not a regular file"},
                                  {f.app.file("packs/huge.lpk"), "too large"}};
    for (const auto& [file, cause] : refused) {
        QString error;
        QVERIFY(!f.pack.loadPack(file, &error));
        QVERIFY2(error.contains(cause), qPrintable(error));
    }
    QCOMPARE(f.pack.currentFile, f.app.file("packs/B.lpk"));
    MainWindow fresh(f.fx.services, f.app.path());
    f.pack.apply(&fresh);
    QCOMPARE(fresh.windowTitle(), QStringLiteral("B"));
}

void TestLanguage::listingPacks()
{
    Fixture f;
    const QString folder = f.app.file("packs");
    QCOMPARE(f.pack.packList(folder, "*.lpk"), QString());
    for (const char* file : {"German.lpk", "english.LPK", ".hidden.lpk", "notes.txt"})
        f.app.write(QStringLiteral("packs/") + file, "x");
    QDir(folder).mkdir("folder.lpk");
    QCOMPARE(f.pack.packList(folder, "*.lpk"), QStringLiteral("english.LPK|German.lpk"));
    QCOMPARE(f.pack.packList(folder + "/", "*.lpk"), QStringLiteral("english.LPK|German.lpk"));
    QVERIFY(f.fx.messages.shown.isEmpty());
    // the Options list shows a name holding "|" as the one file it is
    f.app.write("packs/Mine|Yours.lpk", "x");
    OptionsDialog options(f.fx.services, f.app.path(), f.pack, [] {});
    auto* list = child<QListWidget>(&options, "lstLangPacks");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(2)->text(), QStringLiteral("Mine|Yours.lpk"));

    QCOMPARE(f.pack.packList(f.app.file("nowhere"), "*.lpk"), QString());
    QCOMPARE(f.fx.messages.texts(), QStringList{f.app.file("nowhere") + " doesn't exist."});
    QCOMPARE(f.fx.messages.shown.first().icon, MessageIcon::Stop);
}

void TestLanguage::changeLanguageReachesEveryWindow()
{
    Fixture f;
    f.app.write("Chimewell.ini", "[options]\r\nfirstload=0\r\nlanguage=English.lpk\r\n");
    f.app.write("packs/English.lpk", packBytes("[Form1]\ntitle = Chimewell\n"));
    f.app.write("packs/German.lpk",
                packBytes("[frmLanguage]\ntitle = Optionen\n[Form1]\ntitle = Wecker\n"
                          "[frmDelete]\ntitle = Wecker loeschen\n"
                          "[frmSchedule]\ntitle = Wecker planen\n[strings]\nlocale = de\n"));
    f.app.write("packs/Bad.lpk", "LPK1 not a pack at all");
    const auto cancelText = [] {
        return QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text();
    };
    Startup startup(f.fx.services, f.app.path(), f.pack);
    QVERIFY(startup.run({}));
    startup.schedule().loaded()->close(); // closed: loaded again, hidden, for the change
    QTRY_VERIFY(!startup.schedule().loaded());
    auto* options = startup.options().get();
    startup.options().show();
    auto* list = child<QListWidget>(options, "lstLangPacks");
    QCOMPARE(list->currentRow(), -1);
    QCOMPARE(cancelText(), QStringLiteral("Cancel")); // a pack without a locale: English
    child<QPushButton>(options, "Command1")->click(); // nothing selected: nothing happens
    // a damaged pack: a message, and the texts and the setting stay
    list->setCurrentRow(0);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("Bad.lpk"));
    child<QPushButton>(options, "Command1")->click();
    QCOMPARE(f.fx.messages.shown.size(), 1);
    QVERIFY(f.fx.messages.texts().first().contains("Bad.lpk"));
    QCOMPARE(options->windowTitle(), QStringLiteral("Options"));
    QVERIFY(f.app.read("Chimewell.ini").contains("language=English.lpk"));

    list->setCurrentRow(2);
    child<QPushButton>(options, "Command1")->click();
    QCOMPARE(options->windowTitle(), QStringLiteral("Optionen"));
    QCOMPARE(startup.mainWindow()->windowTitle(), QStringLiteral("Wecker"));
    QCOMPARE(startup.remove().loaded()->windowTitle(), QStringLiteral("Wecker loeschen"));
    QCOMPARE(startup.schedule().loaded()->windowTitle(), QStringLiteral("Wecker planen"));
    QVERIFY(!startup.schedule().loaded()->isVisible());
    QVERIFY(f.app.read("Chimewell.ini").contains("language=German.lpk"));
    // Qt's own buttons and file picker follow the pack's locale, where Qt's translations are
    // installed
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
        QCOMPARE(cancelText(), QStringLiteral("Abbrechen"));
    // reopened dialogs come up in the new language
    startup.remove().loaded()->close();
    QTRY_VERIFY(!startup.remove().loaded());
    QCOMPARE(startup.remove().get()->windowTitle(), QStringLiteral("Wecker loeschen"));
}

void TestLanguage::startupMirrorsTheCheckBoxOnlyWhenItDiffers()
{
    Fixture f;
    const auto& autostart = f.fx.autostart;
    f.app.write("Chimewell.ini", "[options]\r\nstartup=1\r\n");
    {
        OptionsDialog options(f.fx.services, f.app.path(), f.pack, {});
        QVERIFY(!options.isVisible() && !autostart.enabled); // nothing before the first tick
        options.mirrorStartupEntry();
        QVERIFY(autostart.enabled);
        QCOMPARE(autostart.command, options.executablePath());
        const int writes = autostart.writes;
        const QByteArray settings = f.app.read("Chimewell.ini");
        for (int i = 0; i < 5; ++i)
            options.mirrorStartupEntry();
        child<QCheckBox>(&options, "Check1")->setCheckState(Qt::PartiallyChecked); // does nothing
        options.mirrorStartupEntry();
        QCOMPARE(autostart.writes, writes);
        QCOMPARE(f.app.read("Chimewell.ini"), settings);
    }
    // no startup key: an existing entry goes and "0" is written
    f.app.write("Chimewell.ini", "[options]\r\n");
    OptionsDialog(f.fx.services, f.app.path(), f.pack, {}).mirrorStartupEntry();
    QVERIFY(!autostart.enabled);
    QVERIFY(f.app.read("Chimewell.ini").contains("STARTUP=0"));
    // checked, then Exit before the tick: nothing is written
    const QByteArray before = f.app.read("Chimewell.ini");
    const int writes = autostart.writes;
    {
        OptionsDialog options(f.fx.services, f.app.path(), f.pack, {});
        child<QCheckBox>(&options, "Check1")->setChecked(true);
        child<QPushButton>(&options, "Command4")->click();
    }
    QCOMPARE(autostart.writes, writes);
    QCOMPARE(f.app.read("Chimewell.ini"), before);
}

void TestLanguage::aboutShowsVersionChangelogAndPicture()
{
    Fixture f;
    f.app.write("changelog.txt", "1.4.0\r\n- first\r\n");
    AboutDialog about(f.app.path(), f.pack);
    QCOMPARE(about.windowTitle(), QStringLiteral("About..."));
    QCOMPARE(shown(&about, {"lblVersion", "lblTitle"}),
             QStringList({"Version 1.4.0|", "Chimewell|"}));
    QCOMPARE(child<QPlainTextEdit>(&about, "Text1")->toPlainText(),
             QStringLiteral("1.4.0\n- first\n"));
    QCOMPARE(child<QTabWidget>(&about, "SSTab1")->tabText(0), QStringLiteral("General "));
    QVERIFY(child<QLabel>(&about, "Image1")->pixmap().isNull()); // no timer.jpg
    auto* contact = child<QLineEdit>(&about, "Text2");
    QVERIFY(!contact->text().isEmpty());

    // every tab's contents lie inside its page, the address inside its box
    about.show();
    auto* tabs = child<QTabWidget>(&about, "SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QWidget* page = tabs->widget(i);
        for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(page->rect().contains(w->geometry()), qPrintable(w->objectName()));
    }
    QVERIFY(contact->fontMetrics().horizontalAdvance(contact->text()) + 8 <= contact->width());

    // a pack cannot change the title or the version, and pictures take no caption
    f.app.write("Chimewell.ini", "[options]\r\nlanguage=T.lpk\r\n");
    f.app.write("packs/T.lpk", packBytes("[frmAbout]\ntitle = Info\nlblVersion = v9\n"
                                         "lblTitle = X\npicIcon = PIC\nImage1 = PIC\n"));
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(f.app.file("timer.jpg"), "JPG");
    AboutDialog again(f.app.path(), f.pack);
    QCOMPARE(again.windowTitle(), QStringLiteral("Info"));
    QCOMPARE(shown(&again, {"lblVersion", "lblTitle", "picIcon", "Image1"}),
             QStringList({"Version 1.4.0|", "Chimewell|", "|", "|"}));
    QCOMPARE(child<QLabel>(&again, "Image1")->pixmap().size(), QSize(20, 10));
}

void TestLanguage::changelogEncodings()
{
    // UTF-8, Windows-1252, empty, missing, and a hidden file that is not the changelog
    const QString greeting = QString::fromUtf8("Grüße €");
    const QList<std::tuple<const char*, QByteArray, QString>> rows = {
        {"changelog.txt", "Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC", greeting},
        {"changelog.txt", "Gr\xFC\xDF\x65 \x80", greeting},
        {"changelog.txt", "", ""},
        {nullptr, "", ""},
        {".changelog.txt", "secret", ""}};
    for (const auto& [name, bytes, text] : rows) {
        fakes::AppFolder app;
        if (name)
            app.write(name, bytes);
        QCOMPARE(AboutDialog::readTextFile(app.file("changelog.txt")), text);
    }
}

void TestLanguage::everyTextFitsInEveryLanguage_data()
{
    QTest::addColumn<QByteArray>("pack");
    for (const char* name : {"English", "German", "French", "Spanish", "Portuguese-Brazil"}) {
        QFile f(QStringLiteral(CHIMEWELL_APP_DIR "/packs/%1.lpk").arg(name));
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
        QTest::newRow(name) << f.readAll();
    }
    // what a translator might write: long captions everywhere, a six-letter "Go"
    QTest::newRow("long captions") << packBytes(
        "[Form1]\ntitle = Chimewell\nOption1 = Alarm on, ringing every single day\n"
        "Option2 = Alarm off, silent until switched on again\n"
        "Command3 = Preview the notification\nCheck1 = Open this web site when the time comes\n"
        "Label5 = (This can also point at a ZIP or EXE file to download when the alarm rings)\n"
        "Frame1 = The alarm that rings once a day until switched off\n"
        "Command4 = Minimise to the notification area of the taskbar\n"
        "[frmLanguage]\ntitle = Options\nCommand1 = Change to this language now\n"
        "Command4 = Leave these options\nCheck1 = Start Chimewell hidden whenever I log on\n"
        "[frmSchedule]\ntitle = Schedule\nCommand2 = Gehen!\nCommand3 = Schedule it\n"
        "Command4 = Never mind\nLabel4 = Choose the music that should play\n"
        "[frmDelete]\ntitle = Delete\nCommand5 = Delete this day's alarm\n"
        "[frmAbout]\ntitle = About\ncmdOK = Understood\n"
        "SSTab1.TabCaption(0) = \"Everything in general \"\n"
        "SSTab1.TabCaption(1) = \"What changed in each version \"\n");
}

void TestLanguage::everyTextFitsInEveryLanguage()
{
    QFETCH(QByteArray, pack);
    fakes::Services fx;
    fakes::AppFolder app;
    app.write("packs/Test.lpk", pack);
    app.write("Chimewell.ini", "[options]\r\nfirstload=0\r\nlanguage=Test.lpk\r\n");
    LanguagePack language(fx.messages);
    Startup startup(fx.services, app.path(), language);
    QVERIFY(startup.run({}));
    QVERIFY(language.isLoaded());
    const QList<QWidget*> windows = {startup.mainWindow(), startup.options().get(),
                                     startup.schedule().get(), startup.remove().get(),
                                     startup.about().get()};
    for (QWidget* window : windows) {
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->isWindow() || !w->isVisibleTo(window))
                continue;
            const QString where = window->objectName() + "/" + w->objectName();
            QVERIFY2(form::missingRoom(w).isNull(), qPrintable(where));
            // icons and small pictures have the pixels the screen's scale asks for
            const qreal ratio = qApp->devicePixelRatio();
            if (auto* l = qobject_cast<QLabel*>(w); l && !l->pixmap().isNull() && l->width() <= 64)
                QVERIFY2(l->pixmap().devicePixelRatio() >= ratio, qPrintable(where));
            if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->icon().isNull())
                QVERIFY2(b->icon().pixmap(b->iconSize(), ratio).devicePixelRatio() >= ratio,
                         qPrintable(where));
            // nothing sticks out of the frame or picture box that holds it
            QWidget* holder = w->parentWidget();
            if (holder->metaObject() == &QWidget::staticMetaObject ||
                qobject_cast<QGroupBox*>(holder))
                QVERIFY2(holder->rect().contains(w->geometry()), qPrintable(where));
        }
    }
}

QTEST_MAIN(TestLanguage)
#include "TestLanguage.moc"
