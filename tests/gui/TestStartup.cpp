// Start-up: the welcome, hiding for -minimized, one copy per folder, Escape.
#include "Fakes.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "lang/LanguagePack.h"
#include "platform/LockFileSingleInstance.h"

#include <QtTest/QtTest>
#include <QtWidgets/QApplication>

using namespace chimewell;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void welcomeOnlyWhenFirstLoadIsExactlyOne_data();
    void welcomeOnlyWhenFirstLoadIsExactlyOne();
    void minimizedOnlyForTheWholeArgument_data();
    void minimizedOnlyForTheWholeArgument();
    void oneCopyPerFolder();
    void escapeClosesEveryDialog();
};

void TestStartup::welcomeOnlyWhenFirstLoadIsExactlyOne_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("welcome");
    QTest::newRow("1") << QByteArray("[options]\r\nFirstLoad=1\r\n") << true;
    QTest::newRow("0") << QByteArray("[options]\r\nfirstload=0\r\n") << false;
    QTest::newRow("01") << QByteArray("[options]\r\nfirstload=01\r\n") << false;
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
    QCOMPARE(fx.messages.texts.size(), int(welcome));
    QCOMPARE(bool(startup.options().loaded() && startup.options().loaded()->isVisible()), welcome);
    QVERIFY(startup.mainWindow()->isVisible());
    // Written only after a welcome, with the key as it was spelt.
    QCOMPARE(app.read("Chimewell.ini").contains("FirstLoad=0"), welcome);
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
    // No notification area: the window stays reachable from the taskbar, minimised.
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
    LanguagePack pack(fx.messages);
    Startup startup(fx.services, app.path(), pack);
    QVERIFY(startup.run(arguments));
    MainWindow* window = startup.mainWindow();
    QVERIFY(fx.tray.isShown());
    if (!tray) {
        QVERIFY(window->isVisible() && window->isMinimized());
        return;
    }
    QCOMPARE(window->isVisible(), !hidden);
    // Started hidden, the window was never put on the screen, not even for a moment.
    QCOMPARE(window->testAttribute(Qt::WA_WState_Created), !hidden);
}

void TestStartup::oneCopyPerFolder()
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
    fakes::Services fx;
    fx.instance.alone = false;
    LanguagePack pack(fx.messages);
    Startup startup(fx.services, one.path(), pack);
    QVERIFY(!startup.run({}));
    QCOMPARE(fx.messages.texts, QStringList{Startup::kAlreadyRunningText});
    QVERIFY(!fx.tray.isShown());
}

void TestStartup::escapeClosesEveryDialog()
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
}

QTEST_MAIN(TestStartup)
#include "TestStartup.moc"
