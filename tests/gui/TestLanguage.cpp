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

template <typename T> T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

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
    void damagedPackLeavesTextsAndSetting();
    void startupMirrorsTheCheckBoxOnlyWhenItDiffers();
    void aboutShowsVersionChangelogAndPicture();
    void changelogEncodings_data();
    void changelogEncodings();
    void everyTextFitsInEveryLanguage_data();
    void everyTextFitsInEveryLanguage();
};

void TestLanguage::packTextsReachTheControls()
{
    // captions, tooltips, menus and titles, as plain text, never markup
    fakes::Services fx;
    fakes::AppFolder app;
    app.write("packs/T.lpk", packBytes("[Form1]\ntitle = Wecker\nFrame1 = Alarm!\n"
                                       "Command1 = ... | <img src=/etc/passwd>\n"
                                       "mOptions = &Datei\nmnuExit = &Beenden\nOption1 = An\n"
                                       "Label2 = <b>bold</b> <a href=x>link</a>\n"));
    LanguagePack pack(fx.messages);
    QVERIFY(pack.loadPack(app.file("packs/T.lpk")));
    QCOMPARE(pack.currentFile, app.file("packs/T.lpk"));
    MainWindow w(fx.services, app.path());
    pack.apply(&w);
    QCOMPARE(w.windowTitle(), QStringLiteral("Wecker"));
    QCOMPARE(child<QGroupBox>(&w, "Frame1")->title(), QStringLiteral("Alarm!"));
    QCOMPARE(child<QMenu>(&w, "mOptions")->title(), QStringLiteral("&Datei"));
    QCOMPARE(child<QAction>(&w, "mnuExit")->text(), QStringLiteral("&Beenden"));
    QCOMPARE(child<QAbstractButton>(&w, "Option1")->text(), QStringLiteral("An"));
    QCOMPARE(child<QLabel>(&w, "Label2")->textFormat(), Qt::PlainText);
    QVERIFY(child<QPushButton>(&w, "Command1")->toolTip().contains("&lt;img"));
}

void TestLanguage::entryRulesAreKept()
{
    fakes::Services fx;
    fakes::AppFolder app;
    app.write("packs/T.lpk", packBytes("[frmAbout]\ntitle = | Override title\n"
                                       "SSTab1.tabcaption(1) = Aenderungen | ignored tip\n"
                                       "SSTab1.TabCaption(2) = \n"
                                       "cmdOK = | Only a tip\n"
                                       "Label1 = Base | | Overridden caption\n"
                                       "cmdok = lower-case name\n"
                                       "Text2 = a text box has no caption\n"
                                       "Nothing = no such control\n"
                                       "lblDisclaimer = after the refusals\n"
                                       "[frmAbout]\ntitle = second entry of the same window\n"));
    LanguagePack pack(fx.messages);
    QVERIFY(pack.loadPack(app.file("packs/T.lpk")));
    AboutDialog about(app.path(), pack);
    pack.apply(&about);
    auto* tabs = child<QTabWidget>(&about, "SSTab1");
    QCOMPARE(about.windowTitle(), QStringLiteral("Override title"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Aenderungen"));
    QCOMPARE(tabs->tabText(2), QString()); // tab captions are written even when empty
    QCOMPARE(tabs->toolTip(), QString());  // tab entries set no tooltip
    QCOMPARE(child<QPushButton>(&about, "cmdOK")->text(), QStringLiteral("OK"));
    QCOMPARE(child<QPushButton>(&about, "cmdOK")->toolTip(), QStringLiteral("Only a tip"));
    QCOMPARE(child<QLabel>(&about, "Label1")->text(), QStringLiteral("Overridden caption"));
    QCOMPARE(child<QLabel>(&about, "lblDisclaimer")->text(), QStringLiteral("after the refusals"));

    // a window that no entry names keeps its texts
    MainWindow w(fx.services, app.path());
    pack.apply(&w);
    QCOMPARE(w.windowTitle(), QStringLiteral("Chimewell"));
}

void TestLanguage::packsStackAndAFailedLoadKeepsTheOld()
{
    fakes::Services fx;
    fakes::AppFolder app;
    app.write("packs/A.lpk",
              packBytes("[Form1]\ntitle = A\nCommand3 = A preview\nCommand4 = A hide\n"));
    app.write("packs/B.lpk", packBytes("[Form1]\ntitle = B\nCommand3 = B preview\n"));
    QByteArray broken = packBytes("[Form1]\ntitle = C\nCommand3 = C preview\n");
    broken.chop(3);
    app.write("packs/broken.lpk", broken);
    LanguagePack pack(fx.messages);
    MainWindow w(fx.services, app.path());
    QVERIFY(pack.loadPack(app.file("packs/A.lpk")));
    pack.apply(&w);
    pack.apply(&w); // twice is the same as once
    QVERIFY(pack.loadPack(app.file("packs/B.lpk")));
    pack.apply(&w);
    QCOMPARE(w.windowTitle(), QStringLiteral("B"));
    QCOMPARE(child<QPushButton>(&w, "Command3")->text(), QStringLiteral("B preview"));
    QCOMPARE(child<QPushButton>(&w, "Command4")->text(), QStringLiteral("A hide"));

    QString error;
    QVERIFY(!pack.loadPack(app.file("packs/broken.lpk"), &error));
    QVERIFY2(error.contains("broken.lpk") && error.contains("truncated"), qPrintable(error));
    QVERIFY(!pack.loadPack(app.file("packs/missing.lpk"), &error));
    QVERIFY(!pack.loadPack(app.file("packs"), &error)); // an empty language names the folder
    // a device and an oversized file are refused without being read (a pipe: e2e_files)
    QVERIFY(!pack.loadPack("/dev/zero", &error));
    QVERIFY2(error.contains("not a regular file"), qPrintable(error));
    app.write("packs/huge.lpk", QByteArray(LanguagePack::kMaxPackBytes + 1, 'x'));
    QVERIFY(!pack.loadPack(app.file("packs/huge.lpk"), &error));
    QCOMPARE(pack.currentFile, app.file("packs/B.lpk"));
    MainWindow fresh(fx.services, app.path());
    pack.apply(&fresh);
    QCOMPARE(fresh.windowTitle(), QStringLiteral("B"));
}

void TestLanguage::listingPacks()
{
    fakes::Services fx;
    LanguagePack pack(fx.messages);
    fakes::AppFolder app;
    const QString folder = app.file("packs");
    QCOMPARE(pack.packList(folder, "*.lpk"), QString());
    app.write("packs/German.lpk", "x");
    QCOMPARE(pack.packList(folder, "*.lpk"), QStringLiteral("German.lpk"));
    app.write("packs/english.LPK", "x");
    app.write("packs/.hidden.lpk", "x");
    app.write("packs/notes.txt", "x");
    QDir(folder).mkdir("folder.lpk");
    QCOMPARE(pack.packList(folder, "*.lpk"), QStringLiteral("english.LPK|German.lpk"));
    QCOMPARE(pack.packList(folder + "/", "*.lpk"), QStringLiteral("english.LPK|German.lpk"));
    QVERIFY(fx.messages.shown.isEmpty());
    // the Options list shows a name holding "|" as the one file it is
    app.write("packs/Mine|Yours.lpk", "x");
    OptionsDialog options(fx.services, app.path(), pack, [] {});
    options.show();
    auto* list = child<QListWidget>(&options, "lstLangPacks");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(2)->text(), QStringLiteral("Mine|Yours.lpk"));

    QCOMPARE(pack.packList(app.file("nowhere"), "*.lpk"), QString());
    QCOMPARE(fx.messages.texts(), QStringList{app.file("nowhere") + " doesn't exist."});
    QCOMPARE(fx.messages.shown.first().icon, MessageIcon::Stop);
}

void TestLanguage::changeLanguageReachesEveryWindow()
{
    fakes::Services fx;
    fakes::AppFolder app;
    app.write("Chimewell.ini", "[options]\r\nfirstload=0\r\nlanguage=English.lpk\r\n");
    app.write("packs/English.lpk", packBytes("[Form1]\ntitle = Chimewell\n"));
    app.write("packs/German.lpk",
              packBytes("[frmLanguage]\ntitle = Optionen\n[Form1]\ntitle = Wecker\n"
                        "[frmDelete]\ntitle = Wecker loeschen\n"
                        "[frmSchedule]\ntitle = Wecker planen\n[strings]\nlocale = de\n"));
    const auto cancelText = [] {
        return QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text();
    };
    LanguagePack pack(fx.messages);
    Startup startup(fx.services, app.path(), pack);
    QVERIFY(startup.run({}));
    startup.schedule().loaded()->close(); // closed: loaded again, hidden, for the change
    QTRY_VERIFY(!startup.schedule().loaded());
    auto* options = startup.options().get();
    startup.options().show();
    auto* list = child<QListWidget>(options, "lstLangPacks");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentRow(), -1);
    QCOMPARE(cancelText(), QStringLiteral("Cancel")); // a pack without a locale: English
    child<QPushButton>(options, "Command1")->click(); // nothing selected: nothing happens
    QVERIFY(app.read("Chimewell.ini").contains("language=English.lpk"));

    list->setCurrentRow(1);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("German.lpk"));
    child<QPushButton>(options, "Command1")->click();
    QCOMPARE(options->windowTitle(), QStringLiteral("Optionen"));
    QCOMPARE(startup.mainWindow()->windowTitle(), QStringLiteral("Wecker"));
    QCOMPARE(startup.remove().loaded()->windowTitle(), QStringLiteral("Wecker loeschen"));
    QVERIFY(startup.schedule().loaded());
    QCOMPARE(startup.schedule().loaded()->windowTitle(), QStringLiteral("Wecker planen"));
    QVERIFY(!startup.schedule().loaded()->isVisible());
    QVERIFY(app.read("Chimewell.ini").contains("language=German.lpk"));
    // Qt's own buttons and file picker follow the pack's locale, where Qt's translations are
    // installed
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
        QCOMPARE(cancelText(), QStringLiteral("Abbrechen"));

    // reopened dialogs come up in the new language
    startup.remove().loaded()->close();
    QTRY_VERIFY(!startup.remove().loaded());
    QCOMPARE(startup.remove().get()->windowTitle(), QStringLiteral("Wecker loeschen"));
}

void TestLanguage::damagedPackLeavesTextsAndSetting()
{
    fakes::Services fx;
    fakes::AppFolder app;
    app.write("Chimewell.ini", "[options]\r\nlanguage=English.lpk\r\n");
    app.write("packs/Bad.lpk", "LPK1 not a pack at all");
    LanguagePack pack(fx.messages);
    OptionsDialog options(fx.services, app.path(), pack, [] {});
    auto* list = child<QListWidget>(&options, "lstLangPacks");
    list->setCurrentRow(0);
    child<QPushButton>(&options, "Command1")->click();
    QCOMPARE(options.windowTitle(), QStringLiteral("Options"));
    QCOMPARE(app.read("Chimewell.ini"), QByteArray("[options]\r\nlanguage=English.lpk\r\n"));
    QCOMPARE(fx.messages.shown.size(), 1);
    QVERIFY(fx.messages.texts().first().contains("Bad.lpk"));
}

void TestLanguage::startupMirrorsTheCheckBoxOnlyWhenItDiffers()
{
    fakes::Services fx;
    fakes::AppFolder app;
    app.write("Chimewell.ini", "[options]\r\nstartup=1\r\n");
    LanguagePack pack(fx.messages);
    {
        OptionsDialog options(fx.services, app.path(), pack, {});
        QVERIFY(!options.isVisible());
        QVERIFY(!fx.autostart.enabled); // nothing before the first tick
        options.mirrorStartupEntry();
        QVERIFY(fx.autostart.enabled);
        QCOMPARE(fx.autostart.command, options.executablePath());
        const int writes = fx.autostart.writes;
        const QByteArray settings = app.read("Chimewell.ini");
        for (int i = 0; i < 5; ++i)
            options.mirrorStartupEntry();
        QCOMPARE(fx.autostart.writes, writes);
        QCOMPARE(app.read("Chimewell.ini"), settings);
        // the grey state does nothing
        child<QCheckBox>(&options, "Check1")->setCheckState(Qt::PartiallyChecked);
        options.mirrorStartupEntry();
        QCOMPARE(fx.autostart.writes, writes);
    }
    // no startup key: an existing entry goes and "0" is written
    app.write("Chimewell.ini", "[options]\r\n");
    {
        OptionsDialog options(fx.services, app.path(), pack, {});
        options.mirrorStartupEntry();
        QVERIFY(!fx.autostart.enabled);
        QVERIFY(app.read("Chimewell.ini").contains("STARTUP=0"));
    }
    // checked, then Exit before the tick: nothing is written
    const QByteArray before = app.read("Chimewell.ini");
    const int writes = fx.autostart.writes;
    {
        auto* options = new OptionsDialog(fx.services, app.path(), pack, {});
        child<QCheckBox>(options, "Check1")->setChecked(true);
        child<QPushButton>(options, "Command4")->click();
        delete options;
    }
    QCOMPARE(fx.autostart.writes, writes);
    QCOMPARE(app.read("Chimewell.ini"), before);
}

void TestLanguage::aboutShowsVersionChangelogAndPicture()
{
    fakes::Services fx;
    fakes::AppFolder app;
    app.write("changelog.txt", "1.4.0\r\n- first\r\n");
    LanguagePack pack(fx.messages);
    AboutDialog about(app.path(), pack);
    QCOMPARE(about.windowTitle(), QStringLiteral("About..."));
    QCOMPARE(child<QLabel>(&about, "lblVersion")->text(), QStringLiteral("Version 1.4.0"));
    QCOMPARE(child<QLabel>(&about, "lblTitle")->text(), QStringLiteral("Chimewell"));
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

    // a pack cannot change the title or the version
    app.write("Chimewell.ini", "[options]\r\nlanguage=T.lpk\r\n");
    app.write("packs/T.lpk", packBytes("[frmAbout]\ntitle = Info\nlblVersion = v9\nlblTitle = X\n"
                                       "picIcon = PIC\nImage1 = PIC\n"));
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(app.file("timer.jpg"), "JPG");
    AboutDialog again(app.path(), pack);
    QCOMPARE(again.windowTitle(), QStringLiteral("Info"));
    QCOMPARE(child<QLabel>(&again, "lblVersion")->text(), QStringLiteral("Version 1.4.0"));
    QCOMPARE(child<QLabel>(&again, "lblTitle")->text(), QStringLiteral("Chimewell"));
    QCOMPARE(child<QLabel>(&again, "Image1")->pixmap().size(), QSize(20, 10));
    // pictures take no caption: the icon stays an icon
    QVERIFY(child<QLabel>(&again, "picIcon")->text().isEmpty());
    QVERIFY(child<QLabel>(&again, "Image1")->text().isEmpty());
}

void TestLanguage::changelogEncodings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString greeting = QString::fromUtf8("Grüße €");
    QTest::newRow("UTF-8") << "changelog.txt"
                           << QByteArray("Gr\xC3\xBC\xC3\x9F"
                                         "e \xE2\x82\xAC")
                           << greeting;
    QTest::newRow("Windows-1252") << "changelog.txt"
                                  << QByteArray("Gr\xFC\xDF"
                                                "e \x80")
                                  << greeting;
    QTest::newRow("empty") << "changelog.txt" << QByteArray() << QString();
    QTest::newRow("missing") << "" << QByteArray() << QString();
    QTest::newRow("hidden") << ".changelog.txt" << QByteArray("secret") << QString();
}

void TestLanguage::changelogEncodings()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    fakes::AppFolder app;
    const QString path = app.file(name.isEmpty() ? "changelog.txt" : name);
    if (!name.isEmpty())
        app.write(name, bytes);
    QCOMPARE(AboutDialog::readTextFile(path), text);
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
