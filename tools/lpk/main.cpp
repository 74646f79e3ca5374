// chimewell-lpk: the language pack tool for translators.
//   chimewell-lpk compile SOURCE -o PACK.lpk
//   chimewell-lpk decompile PACK.lpk -o SOURCE
//   chimewell-lpk check PACK.lpk        lists what the pack misses or names wrongly
//   chimewell-lpk template -o SOURCE    the program's own texts, to start a translation
// The source syntax is described in docs/language-packs.md.

#include "alarm/AlarmScheduler.h"
#include "app/MainWindow.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/OptionsDialog.h"
#include "lang/LanguagePack.h"
#include "lang/PackSource.h"
#include "lang/Texts.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "platform/QtClock.h"
#include "platform/QtFilePicker.h"
#include "platform/QtTrayIcon.h"
#include "platform/SoundDevice.h"
#include "schedule/AlarmEditor.h"
#include "schedule/AlarmsWindow.h"
#include "schedule/DeleteDialog.h"
#include "schedule/ScheduleDialog.h"
#include "tray/TrayModule.h"
#include "widgets/FormLayout.h"
#include "widgets/QtText.h"

#include <QtCore/QFile>
#include <QtCore/QSaveFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QAction>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QTabWidget>
#include <cstdio>
#include <memory>

using namespace chimewell;

namespace {

class SilentMessages final : public MessageBox
{
public:
    void show(const QString&, MessageIcon) override {}
    bool ask(const QString&) override { return false; }
};

struct Entry
{
    QString key;
    QString caption;
    QString toolTip;
};

struct Window
{
    QString name;
    QString title;
    QList<Entry> entries;
    QSet<QString> controls; // every object name, captioned or not
    QSet<QString> pictures; // picture boxes, which take no caption
};

// Texts the program sets while it runs (the About dialog's title and version, the tray menu's
// Snooze with its length, the editor's day names from the pack's locale) and the tray menu's
// hidden heading are not for translating.
bool runtimeText(const QString& window, const QObject* control)
{
    static const QSet<QString> keys = {"Form1/mSysPopup", "Form1/mnuSnooze", "frmAbout/lblTitle",
                                       "frmAbout/lblVersion"};
    return keys.contains(window + "/" + control->objectName()) ||
           control->property("runtimeText").toBool();
}

Window describe(QWidget* window)
{
    Window w;
    w.name = window->objectName();
    w.title = window->windowTitle();
    for (QObject* o : window->findChildren<QObject*>()) {
        const QString name = o->objectName();
        if (name.isEmpty() || name.startsWith("qt_"))
            continue;
        w.controls.insert(name);
        if (form::isPicture(o))
            w.pictures.insert(name);
        if (runtimeText(w.name, o))
            continue;
        Entry e{name, {}, {}};
        if (auto* tabs = qobject_cast<QTabWidget*>(o)) {
            for (int i = 0; i < tabs->count(); ++i)
                w.entries.append(
                    {QStringLiteral("%1.TabCaption(%2)").arg(name).arg(i), tabs->tabText(i), {}});
            continue;
        }
        if (auto* b = qobject_cast<QAbstractButton*>(o)) {
            if (b->icon().isNull() && b->font().family() != "Marlett")
                e.caption = b->text();
        } else if (auto* l = qobject_cast<QLabel*>(o)) {
            e.caption = l->text();
        } else if (auto* g = qobject_cast<QGroupBox*>(o)) {
            e.caption = g->title();
        } else if (auto* m = qobject_cast<QMenu*>(o)) {
            e.caption = m->title();
        } else if (auto* a = qobject_cast<QAction*>(o)) {
            if (!a->isSeparator())
                e.caption = a->text();
        }
        if (auto* widget = qobject_cast<QWidget*>(o); widget && !qobject_cast<QMenu*>(o))
            e.toolTip = widget->toolTip();
        if (!e.caption.isEmpty() || !e.toolTip.isEmpty())
            w.entries.append(e);
    }
    return w;
}

// Every window of the program with its design texts, made the way the program makes them.
QList<Window> catalog()
{
    static QList<Window> windows;
    if (!windows.isEmpty())
        return windows;
    QTemporaryDir dir;
    SilentMessages messages;
    QtClock clock;
    QtTrayIcon trayIcon;
    const auto sound = makeSoundDevice();
    QtFilePicker picker;
    PlatformServices services;
    services.clock = &clock;
    services.messages = &messages;
    services.tray = &trayIcon;
    services.sound = sound.get();
    services.picker = &picker;
    LanguagePack pack(messages);
    TrayModule tray(trayIcon, nullptr);
    AlarmScheduler alarms(services, dir.path(), tray, pack);
    std::vector<std::unique_ptr<QWidget>> made;
    made.emplace_back(new MainWindow(services, alarms, tray));
    made.emplace_back(new OptionsDialog(services, dir.path(), alarms, pack, {}));
    made.emplace_back(new DeleteDialog(services, dir.path(), alarms));
    made.emplace_back(new ScheduleDialog(services, dir.path(), alarms));
    made.emplace_back(new AboutDialog(dir.path(), pack));
    made.emplace_back(new AlarmsWindow(services, dir.path(), alarms, pack));
    made.emplace_back(new AlarmEditor({}, picker, alarms, QString(), pack));
    for (const auto& w : made)
        windows.append(describe(w.get()));
    return windows;
}

bool readFile(const QString& path, QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "chimewell-lpk: cannot read %s: %s\n", qPrintable(path),
                     qPrintable(f.errorString()));
        return false;
    }
    bytes = f.readAll();
    return true;
}

bool writeFile(const QString& path, const std::string& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !f.commit()) {
        std::fprintf(stderr, "chimewell-lpk: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool loadPack(const QString& path, pack::Pack& p)
{
    QByteArray bytes;
    if (!readFile(path, bytes))
        return false;
    std::string error;
    if (!pack::readPack(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                        p, error)) {
        std::fprintf(stderr, "chimewell-lpk: %s: %s\n", qPrintable(path), error.c_str());
        return false;
    }
    return true;
}

int compile(const QString& source, const QString& output)
{
    QByteArray text;
    if (!readFile(source, text))
        return 1;
    pack::Pack p;
    std::string error;
    if (!pack::parseSource(
            std::string_view(text.constData(), static_cast<std::size_t>(text.size())), p, error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(source), error.c_str());
        return 1;
    }
    std::string bytes;
    if (!pack::writePack(p, bytes, error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(source), error.c_str());
        return 1;
    }
    return writeFile(output, bytes) ? 0 : 1;
}

int decompile(const QString& input, const QString& output)
{
    pack::Pack p;
    if (!loadPack(input, p))
        return 1;
    const std::string source = pack::formatSource(p);
    // The source keeps everything the program reads. Another writer may have stored more
    // (something in record 0, control records outside 1 to the count, no control table): say
    // so, since compiling the source gives a pack that differs in those bytes.
    QByteArray original;
    pack::Pack again;
    std::string bytes;
    std::string error;
    if (readFile(input, original) &&
        (!pack::parseSource(source, again, error) || !pack::writePack(again, bytes, error) ||
         QByteArray::fromStdString(bytes) != original))
        std::fprintf(stderr,
                     "chimewell-lpk: %s: parts the program never reads are left out; compiled "
                     "again, the pack differs there\n",
                     qPrintable(input));
    return writeFile(output, source) ? 0 : 1;
}

int makeTemplate(const QString& output)
{
    pack::Pack p;
    p.headerTag = "LPK1";
    p.headerText = "Chimewell language pack";
    p.forms.resize(1);
    p.strings.resize(1);
    for (const Window& w : catalog()) {
        pack::FormEntry f;
        f.formName = toStd(w.name);
        f.caption = toStd(w.title);
        f.hasTable = true;
        for (const Entry& e : w.entries)
            f.controls.push_back({"", toStd(e.key), toStd(e.caption), toStd(e.toolTip), "", ""});
        f.controlCount = static_cast<std::int16_t>(f.controls.size());
        p.forms.push_back(f);
    }
    p.formCount = static_cast<std::int16_t>(p.forms.size() - 1);
    for (const Text& text : texts::all)
        p.strings.push_back({text.name, text.english});
    p.stringCount = static_cast<std::int16_t>(p.strings.size() - 1);
    return writeFile(output, pack::formatSource(p)) ? 0 : 1;
}

int check(const QString& input)
{
    pack::Pack p;
    if (!loadPack(input, p))
        return 1;
    QStringList problems;
    const QList<Window> windows = catalog();
    QSet<QString> known;
    for (const Window& w : windows) {
        known.insert(w.name);
        const pack::FormEntry* f = pack::findForm(p, toStd(w.name));
        if (!f) {
            problems << QStringLiteral(
                            "%1: the window is missing (title \"%2\" and %3 texts untranslated)")
                            .arg(w.name, w.title)
                            .arg(w.entries.size());
            continue;
        }
        if (f->caption.empty() && f->captionOverride.empty())
            problems << QStringLiteral("%1: the title is empty").arg(w.name);
        QHash<QString, const pack::ControlEntry*> byKey;
        for (int j = 1; j <= f->controlCount; ++j) {
            const pack::ControlEntry& c = f->control(j);
            byKey.insert(toQ(c.key), &c);
            const pack::KeyTarget t = pack::parseKey(c.key);
            if (!t.valid || !w.controls.contains(toQ(t.name)))
                problems << QStringLiteral("%1: %2 names no control of this window")
                                .arg(w.name, toQ(c.key));
            else if (w.pictures.contains(toQ(t.name)) && !c.caption.empty())
                problems << QStringLiteral("%1: %2 is a picture and takes no caption")
                                .arg(w.name, toQ(c.key));
        }
        for (const Entry& e : w.entries) {
            const pack::ControlEntry* c = byKey.value(e.key);
            if (!c) {
                problems << QStringLiteral("%1: %2 is not translated (\"%3\")")
                                .arg(w.name, e.key, e.caption.isEmpty() ? e.toolTip : e.caption);
                continue;
            }
            if (!e.caption.isEmpty() && c->caption.empty() && c->captionOverride.empty())
                problems << QStringLiteral("%1: %2 has no caption (\"%3\")")
                                .arg(w.name, e.key, e.caption);
            if (!e.toolTip.isEmpty() && c->toolTip.empty())
                problems << QStringLiteral("%1: %2 has no tooltip (\"%3\")")
                                .arg(w.name, e.key, e.toolTip);
        }
    }
    for (const Text& text : texts::all) {
        const QString english = QString::fromUtf8(text.english);
        const QString translation = toQ(pack::findString(p, text.name));
        if (translation.isEmpty()) {
            problems << QStringLiteral("strings: %1 is not translated (\"%2\")")
                            .arg(QLatin1String(text.name), english);
            continue;
        }
        // The places the program fills in (%1, %2...) must all stay.
        for (int place = 1; english.contains(QLatin1Char('%') + QString::number(place)); ++place)
            if (!translation.contains(QLatin1Char('%') + QString::number(place)))
                problems << QStringLiteral("strings: %1 lacks %2 (\"%3\")")
                                .arg(QLatin1String(text.name),
                                     QLatin1Char('%') + QString::number(place), english);
    }
    for (std::size_t i = 1; i < p.forms.size(); ++i)
        if (!known.contains(toQ(p.forms[i].formName)))
            problems << QStringLiteral("%1: names no window of the program")
                            .arg(toQ(p.forms[i].formName));
    for (const QString& problem : problems)
        std::printf("%s\n", qPrintable(problem));
    std::printf("%s: %lld problem(s)\n", qPrintable(input),
                static_cast<long long>(problems.size()));
    return problems.isEmpty() ? 0 : 1;
}

int usage()
{
    std::fprintf(stderr, "usage: chimewell-lpk compile SOURCE -o PACK.lpk\n"
                         "       chimewell-lpk decompile PACK.lpk -o SOURCE\n"
                         "       chimewell-lpk check PACK.lpk\n"
                         "       chimewell-lpk template -o SOURCE\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    // The windows are made to read their texts; nothing is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    const QString command = args.value(0);
    if (command == "compile" && args.size() == 4 && args[2] == "-o")
        return compile(args[1], args[3]);
    if (command == "decompile" && args.size() == 4 && args[2] == "-o")
        return decompile(args[1], args[3]);
    if (command == "check" && args.size() == 2)
        return check(args[1]);
    if (command == "template" && args.size() == 3 && args[1] == "-o")
        return makeTemplate(args[2]);
    return usage();
}
