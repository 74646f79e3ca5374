#include "platform/QtSoundDevice.h"

#include <QtCore/QDataStream>
#include <QtCore/QTemporaryDir>
#include <QtCore/QtMath>
#include <QtTest/QSignalSpy>
#include <QtTest/QtTest>

using namespace chimewell;

namespace {

// A mono 16-bit WAV of a sine tone, written byte by byte in little-endian order.
QByteArray makeWav(double seconds, double frequency)
{
    const quint32 rate = 22050;
    const quint32 samples = quint32(seconds * rate);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << quint32(rate * 2) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    for (quint32 i = 0; i < samples; ++i)
        out << qint16(8000 * qSin(2 * M_PI * frequency * i / rate));
    return bytes;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

} // namespace

class TestSoundDevice : public QObject
{
    Q_OBJECT

private slots:
    void playsARealWaveFile();
    void reportsUnplayableFilesOnce_data();
    void reportsUnplayableFilesOnce();
    void everyOpenPlaysAgain();
};

void TestSoundDevice::playsARealWaveFile()
{
    QTemporaryDir dir;
    const QString wav = writeFile(dir, "tone.wav", makeWav(1.5, 880));
    QtSoundDevice device;
    QSignalSpy started(&device, &SoundDevice::started);
    QSignalSpy failed(&device, &SoundDevice::failed);
    // the caller goes on at once: the commands return before anything has sounded
    device.setFileName(wav);
    device.command("OPEN");
    device.command("PLAY");
    QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 10000);
    QCOMPARE(started.first().first().toString(), wav);
    device.command("STOP");
    device.command("PREV");
    QCOMPARE(failed.count(), 0);
}

void TestSoundDevice::reportsUnplayableFilesOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("missing") << "gone.mp3" << QByteArray();
    QTest::newRow("random bytes named mp3") << "noise.mp3" << QByteArray(4096, '\x5a');
    QTest::newRow("text named wav") << "notes.wav" << QByteArray("not a sound at all\n");
}

void TestSoundDevice::reportsUnplayableFilesOnce()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = bytes.isEmpty() ? dir.filePath(name) : writeFile(dir, name, bytes);
    QtSoundDevice device;
    QSignalSpy failed(&device, &SoundDevice::failed);
    device.setFileName(path);
    device.command("OPEN");
    device.command("PLAY");
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 10000);
    QTest::qWait(300); // the backend repeats its errors; they must not be reported again
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().first().toString(), path);
}

void TestSoundDevice::everyOpenPlaysAgain()
{
    // One reused player fell silent after a few rounds of stop, rewind and open; every round
    // must start again, and a sound that plays to its end is not taken for a failure.
    QTemporaryDir dir;
    const QString wav = writeFile(dir, "short.wav", makeWav(0.4, 660));
    QtSoundDevice device;
    QSignalSpy started(&device, &SoundDevice::started);
    QSignalSpy ended(&device, &SoundDevice::ended);
    QSignalSpy failed(&device, &SoundDevice::failed);
    device.setFileName(wav);
    for (int round = 1; round <= 10; ++round) {
        device.command("STOP");
        device.command("PREV");
        device.command("OPEN");
        device.command("PLAY");
        QTRY_COMPARE_WITH_TIMEOUT(started.count(), round, 5000);
    }
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 5000);
    QTest::qWait(QtSoundDevice::kProgressTimeoutMs + 200);
    QCOMPARE(failed.count(), 0);
}

QTEST_MAIN(TestSoundDevice)
#include "TestSoundDevice.moc"
