// Puts fuzzed packs on the program's real windows. An input that is already a pack file is
// used as it stands; any other input is read as instructions for building a pack whose keys
// name the windows' own controls, so most runs reach the code that sets texts.

#include "Fakes.h"
#include "FuzzInput.h"
#include "alarm/AlarmScheduler.h"
#include "app/MainWindow.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/OptionsDialog.h"
#include "lang/LanguagePack.h"
#include "schedule/DeleteDialog.h"
#include "schedule/ScheduleDialog.h"
#include "tray/TrayModule.h"

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QTextDocument>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace chimewell;

namespace {

struct World
{
    fakes::Services fx;
    fakes::AppFolder app;
    LanguagePack language{fx.messages};
    TrayModule tray{fx.tray, &fx.notifier};
    AlarmScheduler alarms{fx.services, app.path(), tray};
    std::vector<QWidget*> windows;
    std::vector<std::string> names; // window and control names, as keys spell them
    QString packPath;
};

World* world = nullptr;

std::string pickName(fuzz::FuzzInput& in)
{
    if (in.upTo(7) == 0)
        return in.text(24);
    return world->names[static_cast<std::size_t>(in.upTo(255)) % world->names.size()];
}

std::string controlKey(fuzz::FuzzInput& in)
{
    const std::string name = pickName(in);
    switch (in.upTo(4)) {
    case 0:
        return name + "(" + std::to_string(in.upTo(9) - 1) + ")";
    case 1: {
        std::string tab = in.flag() ? ".TabCaption(" : ".tabcaption(";
        return name + tab + std::to_string(in.upTo(5) - 1) + ")";
    }
    case 2:
        return in.text(40);
    default:
        return name;
    }
}

pack::Pack buildPack(fuzz::FuzzInput& in)
{
    pack::Pack p;
    p.headerTag = "LPK1";
    p.headerText = std::string(32, ' ');
    p.forms.resize(1);
    p.strings.resize(1);
    const int forms = in.upTo(6);
    for (int i = 0; i < forms; ++i) {
        pack::FormEntry form;
        form.formName = pickName(in);
        form.caption = in.text(64);
        if (in.flag())
            form.captionOverride = in.text(64);
        const int controls = in.upTo(24);
        form.hasTable = true;
        for (int j = 0; j < controls; ++j) {
            pack::ControlEntry c;
            c.key = controlKey(in);
            c.caption = in.text(80);
            c.toolTip = in.flag() ? in.text(80) : std::string();
            if (in.flag())
                c.captionOverride = in.text(40);
            if (in.flag())
                c.toolTipOverride = in.text(40);
            form.controls.push_back(std::move(c));
        }
        form.controlCount = static_cast<std::int16_t>(form.controls.size());
        p.forms.push_back(std::move(form));
    }
    p.formCount = static_cast<std::int16_t>(p.forms.size() - 1);
    p.stringCount = 0;
    return p;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application and the windows live until the process ends; tearing Qt down at exit
    // is no part of what is tested here.
    new QApplication(*argc, *argv);
    world = new World;
    world->packPath = world->app.file("packs/fuzz.lpk");
    auto refresh = [](bool) {};
    world->windows = {new MainWindow(world->fx.services, world->alarms, world->tray),
                      new OptionsDialog(world->fx.services, world->app.path(), world->language, {}),
                      new ScheduleDialog(world->fx.services, world->app.path(), refresh),
                      new DeleteDialog(world->fx.services, world->app.path(), refresh),
                      new AboutDialog(world->app.path(), world->language)};
    for (QWidget* w : world->windows) {
        world->names.push_back(w->objectName().toStdString());
        for (QObject* child : w->findChildren<QObject*>())
            if (!child->objectName().isEmpty())
                world->names.push_back(child->objectName().toStdString());
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    pack::Pack p;
    std::string error;
    if (!pack::readPack(bytes, p, error)) {
        fuzz::FuzzInput in(data, size);
        p = buildPack(in);
        if (!pack::writePack(p, bytes, error))
            return 0; // a text the format cannot hold
    }

    QFile file(world->packPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();
    QString loadError;
    if (!world->language.loadPack(world->packPath, &loadError)) {
        std::fprintf(stderr, "a pack the writer made did not load: %s\n", qPrintable(loadError));
        std::abort();
    }

    for (QWidget* w : world->windows) {
        world->language.apply(w);
        // Pack texts never turn into markup.
        for (QLabel* label : w->findChildren<QLabel*>())
            if (label->textFormat() == Qt::RichText ||
                (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text())))
                std::abort();
    }
    world->fx.messages.texts.clear();
    return 0;
}
