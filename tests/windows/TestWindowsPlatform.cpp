// The Windows implementations of the platform services against Windows itself (Wine in CI,
// on the headless desktop, with a sound server): the log-on entry and its registry routines
// for any folder, the runtime folder, the system events heard by the hidden window, and the
// sound device on MCI, and the output's mute and volume on the default endpoint.
#include "platform/Beeps.h"
#include "platform/Registry.h"
#include "platform/RuntimeFolder.h"
#include "platform/SoundDevice.h"
#include "platform/SoundOutput.h"
#include "platform/SystemEvents.h"
#include "platform/WindowsAutostart.h"

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>
#include <windows.h>

using namespace chimewell;

class TestWindowsPlatform : public QObject
{
    Q_OBJECT

private slots:
    void theRunValueNamesAnyFolder();
    void theRuntimeFolderIsTheUsersWhateverTheEnvironment();
    void systemEventsAreHeardWithoutAWindowOfQt();
    void soundPlaysRepeatsAndFallsSilentWhenTold();
    void theOutputsMuteAndVolumeAreReadAndSet();
};

void TestWindowsPlatform::theRunValueNamesAnyFolder()
{
    const QString rows[] = {QString::fromUtf8("C:\\Wecker Łódź\\Chimewell.exe"),
                            QString::fromUtf8("C:\\Users\\Łukasz\\") + QString(180, 'x') +
                                "\\Chimewell.exe",
                            QStringLiteral("D:\\100% sure; a=b\\Chimewell.exe")};
    for (const QString& executable : rows) {
        WindowsAutostart entry(executable);
        QVERIFY(entry.setEnabled(true) && entry.isEnabled());
        // What Windows itself reads: the quoted path, then -minimized.
        wchar_t value[1024] = {};
        DWORD size = sizeof value;
        RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                     L"Chimewell", RRF_RT_REG_SZ, nullptr, value, &size);
        QCOMPARE(QString::fromWCharArray(value), '"' + executable + "\" -minimized");
        // A copy in another folder has an entry that is not its own.
        QVERIFY(!WindowsAutostart(QStringLiteral("C:\\Other\\Chimewell.exe")).isEnabled());
        QVERIFY(entry.setEnabled(false) && !entry.isEnabled());
        QVERIFY(entry.setEnabled(false)); // what is not there is gone
    }
    // A key that does not exist is made; one that cannot be opened is a failure told.
    QVERIFY(setRegistryText("SOFTWARE\\Chimewell test", "Value", "x"));
    QCOMPARE(readRegistryText("SOFTWARE\\Chimewell test", "Value"),
             std::optional<std::string>("x"));
    RegDeleteKeyW(HKEY_CURRENT_USER, L"SOFTWARE\\Chimewell test");
    QVERIFY(deleteRegistryValue("SOFTWARE\\Chimewell test\\Nowhere", "Chimewell"));
    QVERIFY(!setRegistryText(std::string(300, 'k'), "Value", "x"));
}

void TestWindowsPlatform::theRuntimeFolderIsTheUsersWhateverTheEnvironment()
{
    const QString folder = userRuntimeFolder();
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(folder.endsWith(QStringLiteral("/Chimewell")));
    QVERIFY(QFileInfo(folder).absolutePath() != QDir::homePath());
    const QByteArray before = qgetenv("LOCALAPPDATA");
    qputenv("LOCALAPPDATA", "C:\\elsewhere");
    QCOMPARE(userRuntimeFolder(), folder);
    qputenv("LOCALAPPDATA", before);
}

void TestWindowsPlatform::systemEventsAreHeardWithoutAWindowOfQt()
{
    // No window of Qt's exists: the events reach the service's own hidden window.
    const auto events = makeSystemEvents();
    QSignalSpy clock(events.get(), &SystemEvents::clockChanged);
    QSignalSpy resumed(events.get(), &SystemEvents::resumed);
    QSignalSpy quit(events.get(), &SystemEvents::quitRequested);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_TIMECHANGE, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
    QTRY_COMPARE(clock.size(), 1);
    const HWND hidden = FindWindowW(L"ChimewellSystemEvents", nullptr);
    QVERIFY(hidden);
    QVERIFY(!IsWindowVisible(hidden));
    SendMessageW(hidden, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    QCOMPARE(resumed.size(), 0);
    SendMessageW(hidden, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    QCOMPARE(resumed.size(), 1);
    SendMessageW(hidden, WM_ENDSESSION, FALSE, 0); // the log-off was cancelled
    QCOMPARE(quit.size(), 0);
    SendMessageW(hidden, WM_ENDSESSION, TRUE, 0);
    QCOMPARE(quit.size(), 1);
}

void TestWindowsPlatform::soundPlaysRepeatsAndFallsSilentWhenTold()
{
    QTemporaryDir dir(QDir::tempPath() + QString::fromUtf8("/Wecker Łódź XXXXXX"));
    const QString file = dir.filePath(QStringLiteral("tone.wav"));
    QFile out(file); // one and a half seconds of a 441 Hz square wave
    QByteArray samples;
    for (int i = 0; i < 22050 * 3 / 2; ++i)
        samples += i % 50 < 25 ? QByteArray("\x40\x1f") : QByteArray("\xc0\xe0");
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(waveFile(samples, 22050)) > 0);
    out.close();
    const auto device = makeSoundDevice();
    QSignalSpy started(device.get(), &SoundDevice::started);
    QSignalSpy failed(device.get(), &SoundDevice::failed);
    QSignalSpy finished(device.get(), &SoundDevice::finished);

    // Heard after a second, its length told; over at its end.
    device->play(file, false);
    QTRY_COMPARE_WITH_TIMEOUT(started.size(), 1, 5000);
    QCOMPARE(started.first().at(0).toString(), file);
    QVERIFY(qAbs(started.first().at(1).toLongLong() - 1500) <= 50);
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 3000);

    // Again and again, each round heard, never finished, until stop(), which tells nothing.
    started.clear();
    finished.clear();
    device->play(file, true);
    QTRY_VERIFY_WITH_TIMEOUT(started.size() >= 3, 8000);
    device->stop();
    const qsizetype rounds = started.size();
    QTest::qWait(2500);
    QCOMPARE(started.size(), rounds);
    QVERIFY(finished.isEmpty() && failed.isEmpty());

    // What cannot be played fails, told once and not from inside play(); the beeps play.
    QFile text(dir.filePath(QStringLiteral("text.wav")));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a sound") > 0);
    text.close();
    for (const QString& bad : {dir.filePath(QStringLiteral("missing.mp3")), text.fileName()}) {
        failed.clear();
        device->play(bad, false);
        QCOMPARE(failed.size(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 7000);
        QCOMPARE(failed.first().at(0).toString(), bad);
        QTest::qWait(300);
        QCOMPARE(failed.size(), 1);
    }
    started.clear();
    device->play(SoundDevice::kBeeps, false);
    QTRY_COMPARE_WITH_TIMEOUT(started.size(), 1, 5000);
    QCOMPARE(started.first().at(1).toLongLong(), 6000);
    device->stop();
}

void TestWindowsPlatform::theOutputsMuteAndVolumeAreReadAndSet()
{
    const auto output = makeSoundOutput();
    QVERIFY(output->state().known);
    const OutputState before = output->state();
    QSignalSpy changed(output.get(), &SoundOutput::changed);
    // Muted and back; Wine 8 keeps the endpoint's volume at full whatever it is told, so the
    // volume is only read here.
    output->set({true, !before.muted, before.volume});
    QTRY_COMPARE(output->state(), (OutputState{true, !before.muted, before.volume}));
    QVERIFY(changed.size() >= 1);
    output->set(before);
    QTRY_COMPARE(output->state(), before);
}

QTEST_MAIN(TestWindowsPlatform)
#include "TestWindowsPlatform.moc"
