#include "Fakes.h"
#include "app/MainWindow.h"
#include "app/SecondTicker.h"
#include "app/Startup.h"
#include "app/StatusPanel.h"
#include "lang/LanguagePack.h"
#include "platform/LockFileSingleInstance.h"

#include <QtTest/QtTest>
#include <QtWidgets/QApplication>

using namespace chimewell;

namespace {

class RecordingLanguage final : public LanguageApplier
{
public:
    explicit RecordingLanguage(fakes::Log& log) : m_log(log) {}
    bool loadPack(const QString& path, QString*) override
    {
        m_log.add("load " + QFileInfo(path).fileName());
        return false;
    }
    void apply(QWidget* window) override { m_log.add("apply " + window->objectName()); }

private:
    fakes::Log& m_log;
};

// Notes when the main window and the Options dialog become visible.
class ShowRecorder : public QObject
{
public:
    explicit ShowRecorder(fakes::Log& log) : m_log(log) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            m_log.add("show " + watched->objectName());
        return false;
    }

private:
    fakes::Log& m_log;
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void stepsRunInOrder();
    void welcomeOnlyWhenFirstLoadIsExactlyOne_data();
    void welcomeOnlyWhenFirstLoadIsExactlyOne();
    void minimizedOnlyForTheWholeArgument_data();
    void minimizedOnlyForTheWholeArgument();
    void escapeClosesEveryDialogAndTheMainWindowKeepsItsSize();
    void lockIsPerFolder();
    void websiteMenuOpensTheSiteAndAnEmptyTargetNothing();
    void optionsFollowsTheOneSecondTicker();
};

void TestStartup::stepsRunInOrder()
{
    fakes::Services fx;
    fakes::AppFolder app;
    app.write("Chimewell.ini", "[options]\r\nlanguage=German.lpk\r\nFirstLoad=1\r\n");
    RecordingLanguage language(fx.log);
    LanguagePack pack(fx.messages);
    ShowRecorder shows(fx.log);
    qApp->installEventFilter(&shows);
    Startup startup(fx.services, app.path(), pack, &language);
    QVERIFY(startup.run({}));
    qApp->removeEventFilter(&shows);

    const QStringList expected = {"instance",
                                  "tray add",
                                  "load German.lpk",
                                  "apply Form1",
                                  "apply frmLanguage",
                                  "show Form1",
                                  "message " + Startup::kWelcomeText,
                                  "show frmLanguage"};
    QStringList relevant;
    for (const QString& e : fx.log.entries)
        if (expected.contains(e))
            relevant << e;
    QCOMPARE(relevant, expected);
    QCOMPARE(fx.tray.iconPath, app.path() + "/ra2.ico");
    QCOMPARE(fx.tray.tip, QStringLiteral("Chimewell"));
    QVERIFY(startup.mainWindow()->isVisible());
    // the Options dialog was loaded hidden by the language step, then shown by the welcome
    QVERIFY(startup.options().loaded()->isVisible());
    // the setting is written back after the welcome; the key keeps its spelling
    QCOMPARE(app.read("Chimewell.ini"),
             QByteArray("[options]\r\nlanguage=German.lpk\r\nFirstLoad=0\r\n"));
    QCOMPARE(startup.mainWindow()->findChild<StatusPanel*>()->text(),
             QStringLiteral("No alarm active..."));
}

void TestStartup::welcomeOnlyWhenFirstLoadIsExactlyOne_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("welcome");
    QTest::newRow("1") << QByteArray("[options]\r\nfirstload=1\r\n") << true;
    QTest::newRow("upper-case key") << QByteArray("[options]\r\nFIRSTLOAD=1\r\n") << true;
    QTest::newRow("0") << QByteArray("[options]\r\nfirstload=0\r\n") << false;
    QTest::newRow("01") << QByteArray("[options]\r\nfirstload=01\r\n") << false;
    QTest::newRow("missing key") << QByteArray("[options]\r\n") << false;
    QTest::newRow("no settings file") << QByteArray() << false;
}

void TestStartup::welcomeOnlyWhenFirstLoadIsExactlyOne()
{
    // the next start after a welcome: e2e_first_start
    QFETCH(QByteArray, settings);
    QFETCH(bool, welcome);
    fakes::Services fx;
    fakes::AppFolder app;
    if (!settings.isEmpty())
        app.write("Chimewell.ini", settings);
    LanguagePack pack(fx.messages);
    Startup startup(fx.services, app.path(), pack);
    QVERIFY(startup.run({}));
    QCOMPARE(fx.messages.texts().contains(Startup::kWelcomeText), welcome);
    QCOMPARE(bool(startup.options().loaded() && startup.options().loaded()->isVisible()), welcome);
    if (welcome)
        settings.replace("=1", "=0");
    QCOMPARE(app.read("Chimewell.ini"), settings); // written only after a welcome
}

void TestStartup::minimizedOnlyForTheWholeArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("tray");
    QTest::newRow("-minimized") << QStringList{"-minimized"} << true << true;
    QTest::newRow("capitals") << QStringList{"-MINIMIZED"} << false << true;
    QTest::newRow("slash") << QStringList{"/minimized"} << false << true;
    QTest::newRow("second argument") << QStringList{"-minimized", "x"} << false << true;
    QTest::newRow("none") << QStringList{} << false << true;
    // no notification area: the window stays reachable from the taskbar, minimised
    QTest::newRow("no tray") << QStringList{"-minimized"} << true << false;
}

void TestStartup::minimizedOnlyForTheWholeArgument()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, hidden);
    QFETCH(bool, tray);
    fakes::Services fx;
    fx.tray.available = tray;
    fakes::AppFolder app;
    RecordingLanguage language(fx.log);
    LanguagePack pack(fx.messages);
    Startup startup(fx.services, app.path(), pack, &language);
    QVERIFY(startup.run(arguments));
    MainWindow* window = startup.mainWindow();
    if (!tray) {
        QVERIFY(window->isVisible() && window->isMinimized());
        return;
    }
    QCOMPARE(window->isVisible(), !hidden);
    // started hidden, the window was never put on the screen, not even for a moment
    QCOMPARE(window->testAttribute(Qt::WA_WState_Created), !hidden);
    QVERIFY(fx.tray.isShown());
}

void TestStartup::lockIsPerFolder()
{
    QTemporaryDir locks;
    fakes::AppFolder one;
    fakes::AppFolder two;
    LockFileSingleInstance first(one.path(), locks.path());
    LockFileSingleInstance again(one.path(), locks.path());
    LockFileSingleInstance other(two.path(), locks.path());
    QVERIFY(first.tryAcquire());
    QVERIFY(!again.tryAcquire());
    QVERIFY(other.tryAcquire()); // a killed copy's stale lock: e2e_single_copy
}

void TestStartup::websiteMenuOpensTheSiteAndAnEmptyTargetNothing()
{
    // typed targets reaching the desktop: e2e_typed_paths
    fakes::Services fx;
    fakes::AppFolder app;
    MainWindow window(fx.services, app.path());
    window.findChild<QAction*>("mnuWebsite")->trigger();
    window.openTarget("");
    QCOMPARE(fx.shell.opened, QStringList{MainWindow::kWebsite});
}

void TestStartup::escapeClosesEveryDialogAndTheMainWindowKeepsItsSize()
{
    fakes::Services fx;
    fakes::AppFolder app;
    LanguagePack pack(fx.messages);
    Startup startup(fx.services, app.path(), pack);
    QVERIFY(startup.run({}));
    for (WindowSlot* slot :
         {&startup.options(), &startup.schedule(), &startup.remove(), &startup.about()}) {
        slot->show();
        QWidget* dialog = slot->loaded();
        QVERIFY(dialog && dialog->isVisible());
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY2(!slot->loaded() || !slot->loaded()->isVisible(),
                     qPrintable(dialog->objectName()));
    }
    MainWindow* window = startup.mainWindow();
    QCOMPARE(window->minimumSize(), window->maximumSize());
    // menu separators are drawn as lines, with no text of their own
    for (QAction* a : window->findChildren<QAction*>())
        if (a->isSeparator())
            QVERIFY2(a->text().isEmpty(), qPrintable(a->objectName()));
}

void TestStartup::optionsFollowsTheOneSecondTicker()
{
    // The program wakes once a second: the Options dialog's check of the log-on entry runs
    // on the main window's ticks, not on a timer of its own.
    fakes::Services fx;
    fakes::AppFolder app;
    app.write("Chimewell.ini", "[options]\r\nfirstload=0\r\nstartup=1\r\n");
    LanguagePack pack(fx.messages);
    Startup startup(fx.services, app.path(), pack);
    QVERIFY(startup.run({}));
    auto* options = startup.options().get();
    QVERIFY(options);
    const auto timers = options->findChildren<QTimer*>();
    for (const QTimer* timer : timers)
        QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));
    QVERIFY(!fx.autostart.enabled);
    startup.mainWindow()->ticker().fire();
    QVERIFY(fx.autostart.enabled);
}

QTEST_MAIN(TestStartup)
#include "TestStartup.moc"
