#pragma once

// Fakes behind the platform seams: they answer at once and keep what the windows asked.

#include "platform/Autostart.h"
#include "platform/Clock.h"
#include "platform/DesktopNotifier.h"
#include "platform/FilePicker.h"
#include "platform/MediaPlayers.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/ShellOpen.h"
#include "platform/SingleInstance.h"
#include "platform/SoundDevice.h"
#include "platform/SoundOutput.h"
#include "platform/TrayIcon.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QMap>
#include <QtCore/QSet>
#include <QtCore/QTemporaryDir>
#include <QtTest/QTest>
#include <optional>

namespace fakes {

struct FakeClock final : chimewell::Clock
{
    QDateTime time = QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0)); // a Monday
    QDateTime now() const override { return time; }
};

struct FakeMessageBox final : chimewell::MessageBox
{
    QStringList texts;
    QList<chimewell::MessageIcon> icons;
    bool answer = true; // what the user answers a question
    void show(const QString& text, chimewell::MessageIcon icon) override
    {
        texts << text;
        icons << icon;
    }
    bool ask(const QString& text) override
    {
        texts << text;
        return answer;
    }
};

struct FakeShellOpen final : chimewell::ShellOpen
{
    QStringList opened;
    void open(const QString& target) override { opened << target; }
};

struct FakeInstance final : chimewell::SingleInstance
{
    bool alone = true;
    bool tryAcquire() override { return alone; }
};

struct FakeTray final : chimewell::TrayIcon
{
    bool available = true;
    bool shown = false;
    QString tip;
    QStringList balloons; // "title|text"
    bool isAvailable() const override { return available; }
    void add(const QString&, const QString& t, QMenu*) override
    {
        tip = t;
        shown = true;
    }
    void showBalloon(const QString& title, const QString& text) override
    {
        balloons << title + "|" + text;
    }
    void setToolTip(const QString& t) override { tip = t; }
    void remove() override { shown = false; }
    bool isShown() const override { return shown; }
};

/// A notification service; off unless a test turns it on, so notices show as balloons.
struct FakeNotifier final : chimewell::DesktopNotifier
{
    bool serviceRuns = false;
    QMap<int, chimewell::Notice> showing; // by the program's number
    QList<chimewell::Notice> sent;
    bool isAvailable() const override { return serviceRuns; }
    void notify(int id, const chimewell::Notice& notice) override
    {
        showing.insert(id, notice);
        sent << notice;
    }
    void withdraw(int id) override { showing.remove(id); }
    int last() const { return showing.isEmpty() ? 0 : showing.lastKey(); }
    /// The notice that shows a text holding `part`, or 0.
    int showingWith(const QString& part) const
    {
        for (auto n = showing.begin(); n != showing.end(); ++n)
            if (n->text.contains(part))
                return n.key();
        return 0;
    }
    void press(int id, const QString& key) { emit actionInvoked(id, key); }
};

/// Plays at once; a file in `unplayable` fails (after play() returns, as the real one does),
/// anything else sounds until it is stopped or the test lets it come to its end.
struct FakeSoundDevice final : chimewell::SoundDevice
{
    QSet<QString> unplayable;
    QStringList played; // every file asked for
    QString playing;    // what sounds now
    bool repeating = false;
    void play(const QString& file, bool repeat) override
    {
        played << file;
        playing.clear();
        if (unplayable.contains(file)) {
            QMetaObject::invokeMethod(
                this, [this, file] { emit failed(file); }, Qt::QueuedConnection);
            return;
        }
        playing = file;
        repeating = repeat;
        emit started(file, 3000);
    }
    void stop() override { playing.clear(); }
    double volume = 1.0;
    void setVolume(double level) override { volume = level; }
    /// The sound comes to its end: it starts again while it repeats, else it has finished.
    void finish()
    {
        if (!repeating)
            emit finished(std::exchange(playing, {}));
    }
};

/// The sound output as a test sets it; the program's own changes are told from the event loop,
/// as a sound server tells them.
struct FakeSoundOutput final : chimewell::SoundOutput
{
    chimewell::OutputState now; // unknown until a test sets it
    QList<chimewell::OutputState> asked;
    chimewell::OutputState state() const override { return now; }
    void set(const chimewell::OutputState& wanted) override
    {
        asked << wanted;
        now = {true, wanted.muted, wanted.volume};
        QMetaObject::invokeMethod(
            this, [this] { emit changed(); }, Qt::QueuedConnection);
    }
    /// The user (or the server) changes the output.
    void becomes(chimewell::OutputState state)
    {
        now = state;
        emit changed();
    }
};

struct FakeMediaPlayers final : chimewell::MediaPlayers
{
    QStringList asked; // "pause", "resume"
    void pausePlaying() override { asked << "pause"; }
    void resumePaused() override { asked << "resume"; }
};

struct FakePicker final : chimewell::FilePicker
{
    std::optional<QString> nextAnswer; // nothing: the user cancels
    std::optional<QString> openFile(QWidget*, const QList<chimewell::FileFilter>&, int) override
    {
        return nextAnswer;
    }
};

struct FakeAutostart final : chimewell::Autostart
{
    bool enabled = false;
    bool works = true;
    bool isEnabled() const override { return enabled; }
    bool setEnabled(bool on) override
    {
        enabled = works ? on : enabled;
        return works;
    }
    QString location() const override { return "the log-on folder"; }
};

/// Every fake, and the services that hand them to the windows.
struct Services
{
    FakeClock clock;
    FakeMessageBox messages;
    FakeShellOpen shell;
    FakeInstance instance;
    FakeTray tray;
    FakeNotifier notifier;
    FakeSoundDevice sound;
    FakePicker picker;
    FakeAutostart autostart;
    FakeSoundOutput output;
    FakeMediaPlayers players;
    chimewell::PlatformServices services{&clock,    &messages, &shell,  &instance,  &tray,
                                         &notifier, &sound,    &picker, &autostart, nullptr,
                                         {},        &output,   &players};
};

/// The control of that name within `parent`. Missing, it fails the test, and a stand-in is
/// returned so that the test function goes on to its next check rather than crashing.
template <typename T = QObject> T* child(QObject* parent, const char* name)
{
    if (T* c = parent ? parent->findChild<T*>(QLatin1String(name)) : nullptr)
        return c;
    QTest::qFail(qPrintable(QStringLiteral("no control %1").arg(QLatin1String(name))), __FILE__,
                 __LINE__);
    return new T(); // left to the end of the test program
}

/// A fresh application folder with its schedule and packs folders.
class AppFolder
{
public:
    AppFolder()
    {
        for (const char* folder : {"schedule", "packs"})
            QDir(path()).mkdir(folder);
    }
    /// In the system's spelling, as the program is given its folder.
    QString path() const { return QDir::toNativeSeparators(m_dir.path()); }
    QString file(const QString& name) const
    {
        return QDir::toNativeSeparators(m_dir.filePath(name));
    }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(file(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    /// A weekly alarm, as a user writes it; `more` adds to its section.
    void day(const QString& name, const QByteArray& time, const QByteArray& reason = "Gym",
             const QByteArray& music = "", const QByteArray& more = "") const
    {
        write("schedule/" + name + ".ini", "[alarm]\r\nREASON=" + reason + "\r\nTIME=" + time +
                                               "\r\nMUSIC=" + music + "\r\n" + more);
    }

private:
    QTemporaryDir m_dir;
};

} // namespace fakes
