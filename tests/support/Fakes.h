#pragma once

// Fakes behind the platform seams: they answer at once and record what the windows asked.

#include "platform/Autostart.h"
#include "platform/Clock.h"
#include "platform/FilePicker.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/ShellOpen.h"
#include "platform/SingleInstance.h"
#include "platform/SoundDevice.h"
#include "platform/TrayIcon.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QSet>
#include <QtCore/QStringList>
#include <QtCore/QTemporaryDir>
#include <optional>

namespace fakes {

/// What the fakes were asked, in order, shared by all of them.
struct Log
{
    QStringList entries;
    void add(const QString& entry) { entries << entry; }
};

/// A fake that writes to the shared log.
struct Logging
{
    Log* m_log = nullptr;
    void note(const QString& entry) { m_log->add(entry); }
};

class FakeClock final : public chimewell::Clock
{
public:
    QDateTime time = QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0)); // a Monday
    QDateTime now() const override { return time; }
    void set(const QDate& date, const QTime& t) { time = QDateTime(date, t); }
    void set(const QTime& t) { time = QDateTime(time.date(), t); }
    void step(int seconds = 1) { time = time.addSecs(seconds); }
};

class FakeMessageBox final : public chimewell::MessageBox, public Logging
{
public:
    struct Shown
    {
        QString text;
        chimewell::MessageIcon icon;
    };
    QList<Shown> shown;
    void show(const QString& text, chimewell::MessageIcon icon) override
    {
        shown.append({text, icon});
        note("message " + text);
    }
    QStringList texts() const
    {
        QStringList out;
        for (const auto& s : shown)
            out << s.text;
        return out;
    }
};

class FakeShellOpen final : public chimewell::ShellOpen, public Logging
{
public:
    QStringList opened;
    void open(const QString& target) override
    {
        opened << target;
        note("open " + target);
    }
};

class FakeInstance final : public chimewell::SingleInstance, public Logging
{
public:
    bool alone = true;
    bool tryAcquire() override
    {
        note("instance");
        return alone;
    }
};

class FakeTray final : public chimewell::TrayIcon, public Logging
{
public:
    bool available = true;
    bool shown = false;
    QString iconPath;
    QString tip;
    QStringList balloons; // "title|text"
    bool isAvailable() const override { return available; }
    void add(const QString& path, const QString& t, QMenu*) override
    {
        iconPath = path;
        tip = t;
        shown = true;
        note("tray add");
    }
    void showBalloon(const QString& title, const QString& text) override
    {
        balloons << title + "|" + text;
        note("balloon " + text);
    }
    void setToolTip(const QString& t) override { tip = t; }
    void remove() override
    {
        shown = false;
        note("tray remove");
    }
    bool isShown() const override { return shown; }
    void pressLeft() { emit leftPressed(); }
};

/// A notification service; off unless a test turns it on, so alarms show as balloons.
class FakeNotifier final : public chimewell::DesktopNotifier, public Logging
{
public:
    bool serviceRuns = false;
    bool offersActions = true;
    QList<chimewell::Notice> notices;
    int withdrawn = 0;
    bool notify(const chimewell::Notice& notice) override
    {
        if (!serviceRuns)
            return false;
        notices << notice;
        note("notify " + notice.text);
        return true;
    }
    bool showsActions() const override
    {
        return offersActions && !notices.last().actions.isEmpty();
    }
    void withdraw() override { ++withdrawn; }
    void press(const QString& key) { emit actionInvoked(key); }
};

/// Records the device commands; files listed in `unplayable` fail on "OPEN", as a missing or
/// broken file does.
class FakeSoundDevice final : public chimewell::SoundDevice, public Logging
{
public:
    QStringList commands;
    QSet<QString> unplayable;
    QString playing;
    int beeps = 0;
    void setFileName(const QString& f) override
    {
        m_file = f;
        commands << "FileName=" + f;
    }
    QString fileName() const override { return m_file; }
    void command(const QString& c) override
    {
        commands << c;
        note("sound " + c);
        if (c == "OPEN") {
            m_open = m_file;
            if (unplayable.contains(m_file))
                emit failed(m_file);
        } else if (c == "PLAY" && !unplayable.contains(m_open)) {
            playing = m_open;
        } else if (c == "STOP") {
            playing.clear();
        }
    }
    void beep() override
    {
        ++beeps;
        note("beep");
    }

private:
    QString m_file;
    QString m_open;
};

class FakePicker final : public chimewell::FilePicker
{
public:
    std::optional<QString> nextAnswer; // nothing: the user cancels
    QList<chimewell::FileFilter> lastFilters;
    int calls = 0;
    std::optional<QString> openFile(QWidget*, const QList<chimewell::FileFilter>& filters,
                                    int) override
    {
        ++calls;
        lastFilters = filters;
        return nextAnswer;
    }
};

class FakeAutostart final : public chimewell::Autostart
{
public:
    bool enabled = false;
    QString command;
    int writes = 0;
    bool matches(const QString& executable) const override
    {
        return enabled && command == executable;
    }
    bool exists() const override { return enabled; }
    bool enable(const QString& executable) override
    {
        ++writes;
        enabled = true;
        command = executable;
        return true;
    }
    bool disable() override
    {
        ++writes;
        enabled = false;
        return true;
    }
};

/// Every fake, and the services that hand them to the windows.
struct Services
{
    Log log;
    FakeClock clock;
    FakeMessageBox messages;
    FakeShellOpen shell;
    FakeInstance instance;
    FakeTray tray;
    FakeNotifier notifier;
    FakeSoundDevice sound;
    FakePicker picker;
    FakeAutostart autostart;
    chimewell::PlatformServices services{&clock,    &messages, &shell,  &instance, &tray,
                                         &notifier, &sound,    &picker, &autostart};

    Services()
    {
        for (Logging* fake : std::initializer_list<Logging*>{&messages, &shell, &instance, &tray,
                                                             &notifier, &sound})
            fake->m_log = &log;
    }
};

/// The control of that name within `parent`; a test cannot go on without it.
template <typename T = QObject> T* child(QObject* parent, const char* name)
{
    T* c = parent->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

/// A fresh application folder with its schedule and packs folders.
class AppFolder
{
public:
    AppFolder()
    {
        QDir(m_dir.path()).mkdir("schedule");
        QDir(m_dir.path()).mkdir("packs");
    }
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(file(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

} // namespace fakes
