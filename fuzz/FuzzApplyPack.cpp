// Puts fuzzed packs on the program's real windows. An input is read as a pack file, or else as
// pack source text, whose keys name the windows' own controls once the fuzzer has mutated the
// shipped packs' sources (scripts/fuzz.sh seeds it with them).

#include "Fakes.h"
#include "alarm/AlarmScheduler.h"
#include "app/MainWindow.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/OptionsDialog.h"
#include "lang/LanguagePack.h"
#include "lang/PackSource.h"
#include "schedule/AlarmEditor.h"
#include "schedule/AlarmsWindow.h"
#include "schedule/DeleteDialog.h"
#include "schedule/ScheduleDialog.h"
#include "tray/TrayModule.h"

#include <QtGui/QTextDocument>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <cstdio>
#include <cstdlib>

using namespace chimewell;

namespace {

struct World
{
    fakes::Services fx;
    fakes::AppFolder app;
    LanguagePack language{fx.messages};
    TrayModule tray{fx.tray, &fx.notifier};
    AlarmScheduler alarms{fx.services, app.path(), tray, language};
    std::vector<QWidget*> windows;
};

World* world = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application and the windows live until the process ends; tearing Qt down at exit
    // is no part of what is tested here.
    new QApplication(*argc, *argv);
    world = new World;
    const QString app = world->app.path();
    world->windows = {
        new MainWindow(world->fx.services, world->alarms, world->tray),
        new OptionsDialog(world->fx.services, app, world->alarms, world->language, {}),
        new ScheduleDialog(world->fx.services, app, world->alarms),
        new DeleteDialog(world->fx.services, app, world->alarms),
        new AboutDialog(app, world->language),
        new AlarmsWindow(world->fx.services, app, world->alarms, world->language),
        new AlarmEditor({}, world->fx.picker, world->alarms, QString(), world->language)};
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    pack::Pack p;
    std::string error;
    if (!pack::readPack(input, p, error) && !pack::parseSource(input, p, error))
        return 0;
    world->language.use(std::move(p));
    for (QWidget* w : world->windows) {
        world->language.apply(w);
        // Pack texts never turn into markup.
        for (QLabel* label : w->findChildren<QLabel*>())
            if (label->textFormat() == Qt::RichText ||
                (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()))) {
                std::fprintf(stderr, "markup in %s\n", qPrintable(label->objectName()));
                std::abort();
            }
    }
    world->fx.messages.texts.clear();
    return 0;
}
