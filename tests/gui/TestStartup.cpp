// Start-up: the welcome only for FirstLoad "1", hiding only for the whole "-minimized", one copy
// per application folder. (A real first start, second copy and hidden start: e2e_startup and
// e2e_tray.)
#include "Fakes.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "lang/LanguagePack.h"
#include "platform/LockFileSingleInstance.h"

#include <QtTest/QtTest>
#include <future>

using namespace chimewell;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void welcomeOnlyWhenFirstLoadIsExactlyOne();
    void hiddenOnlyForTheWholeMinimizedArgument();
    void oneCopyPerFolder();
    void unwritableFilesToldOnceAtStart();
};

void TestStartup::welcomeOnlyWhenFirstLoadIsExactlyOne()
{
    for (const char* value : {"1", "01", "0", static_cast<const char*>(nullptr)}) {
        fakes::Services fx;
        fakes::AppFolder app;
        if (value)
            app.write("Chimewell.ini", QByteArray("[options]\r\nFirstLoad=") + value + "\r\n");
        LanguagePack pack(fx.messages);
        Startup startup(fx.services, app.path(), pack);
        QVERIFY(startup.run({}));
        const bool welcome = value && QByteArray(value) == "1";
        QCOMPARE(fx.messages.texts.size(), int(welcome));
        QCOMPARE(startup.options().loaded() && startup.options().loaded()->isVisible(), welcome);
        // Written after a welcome, and only then, with the key as it was spelt.
        QCOMPARE(app.read("Chimewell.ini").contains("FirstLoad=0\r\n"),
                 welcome || QByteArray(value ? value : "") == "0");
    }
}

void TestStartup::hiddenOnlyForTheWholeMinimizedArgument()
{
    const QList<std::tuple<QStringList, bool, bool>> rows = {
        // arguments, tray, hidden
        {{"-minimized"}, true, true},
        {{"-MINIMIZED"}, true, false},
        {{"/minimized"}, true, false},
        {{"-minimized", "x"}, true, false},
        {{"-minimized"}, false, true}}; // no tray: minimised, to be reached from the taskbar
    for (const auto& [arguments, tray, hidden] : rows) {
        fakes::Services fx;
        fx.tray.available = tray;
        fakes::AppFolder app;
        LanguagePack pack(fx.messages);
        Startup startup(fx.services, app.path(), pack);
        QVERIFY(startup.run(arguments));
        const MainWindow* window = startup.mainWindow();
        QVERIFY(fx.tray.isShown());
        QCOMPARE(window->isVisible(), !hidden || !tray);
        QCOMPARE(window->isMinimized(), hidden && !tray);
        // Hidden in the tray, the window was never put on the screen, not even for a moment.
        QCOMPARE(window->testAttribute(Qt::WA_WState_Created), !hidden || !tray);
    }
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
    QVERIFY(other.tryAcquire());

    // A lock left by an earlier process that had this one's id (Windows hands ids out again)
    // does not keep this one from starting.
    fakes::AppFolder third;
    LockFileSingleInstance reused(third.path(), locks.path());
    QFile left(reused.lockPath());
    QVERIFY(left.open(QIODevice::WriteOnly));
    left.write(QByteArray::number(QCoreApplication::applicationPid()) + "\nChimewell\n" +
               QSysInfo::machineHostName().toUpper().toUtf8() + "\n");
    left.close();
    QVERIFY(reused.tryAcquire());

    // A later copy asking again and again while this one starts to listen is answered.
    QByteArray reply;
    auto asked = std::async(std::launch::async, [&] {
        using enum SingleInstance::Asked;
        auto result = NobodyListens;
        for (QDeadlineTimer limit(5000); result == NobodyListens && !limit.hasExpired();)
            result = again.ask("?", 2000, reply);
    });
    first.serve([](const QByteArray& request) { return request + "!"; });
    QTRY_VERIFY(asked.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
    QCOMPARE(reply, "?!");

    // The lock's place is the user's, whatever the environment says.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QString withRuntime = LockFileSingleInstance(one.path()).lockPath();
    qunsetenv("XDG_RUNTIME_DIR");
    const QString without = LockFileSingleInstance(one.path()).lockPath();
    qputenv("XDG_RUNTIME_DIR", runtime);
    QCOMPARE(without, withRuntime);
    QVERIFY(runtime.isEmpty() || !withRuntime.startsWith(QString::fromLocal8Bit(runtime)));
    // Not strewn into the home folder (Qt's runtime folder on Windows).
    QVERIFY(QFileInfo(withRuntime).absolutePath() != QDir::homePath());
}

void TestStartup::unwritableFilesToldOnceAtStart()
{
    // A settings file that cannot be written, or a schedule folder that is no folder: one
    // message naming it and why, and the program goes on. (A writable folder says nothing: the
    // welcome test.)
    for (const auto& [broken, reason] :
         {std::pair{"Chimewell.ini", "is read-only"}, std::pair{"schedule", "is not a folder"}}) {
        fakes::Services fx;
        fakes::AppFolder app;
        QDir(app.path()).rmdir(QStringLiteral("schedule"));
        app.write(broken, "[options]\r\nlanguage=English.lpk\r\n");
        QFile(app.file("Chimewell.ini")).setPermissions(QFile::ReadOwner);
        LanguagePack pack(fx.messages);
        Startup startup(fx.services, app.path(), pack);
        QVERIFY(startup.run({}));
        QCOMPARE(fx.messages.icons, QList<MessageIcon>{MessageIcon::Exclamation});
        const QString told = fx.messages.texts.first();
        QVERIFY2(told.contains(app.file(broken)) && told.contains(reason), qPrintable(told));
        QVERIFY(startup.mainWindow()->isVisible());
    }
}

QTEST_MAIN(TestStartup)
#include "TestStartup.moc"
