// Feeds arbitrary bytes to the pack reader. A pack that loads must also survive being written
// back and read again unchanged, and, where it holds only what the program reads, being
// decompiled to its source and compiled again to the same bytes.

#include "lang/PackFormat.h"
#include "lang/PackSource.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace chimewell;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    pack::Pack loaded;
    std::string error;
    if (!pack::readPack(bytes, loaded, error)) {
        if (error.empty()) {
            std::fprintf(stderr, "a failed load gave no cause\n");
            std::abort();
        }
        if (loaded != pack::Pack{}) {
            std::fprintf(stderr, "a failed load changed the pack: %s\n", error.c_str());
            std::abort();
        }
        return 0;
    }

    // Every lookup on a loaded pack stays inside its tables.
    for (std::size_t i = 1; i < loaded.strings.size(); ++i)
        (void)pack::findString(loaded, loaded.strings[i].name);
    for (std::size_t i = 1; i < loaded.forms.size(); ++i) {
        const pack::FormEntry& form = loaded.forms[i];
        if (pack::findForm(loaded, form.formName) == nullptr)
            std::abort();
        for (int j = 1; j <= form.controlCount; ++j)
            (void)pack::parseKey(form.control(j).key);
    }

    // Texts that the writer cannot store (a control byte below the shift) are a known limit of
    // the format; anything it writes must read back as the same pack.
    std::string written;
    if (!pack::writePack(loaded, written, error))
        return 0;
    pack::Pack again;
    if (!pack::readPack(written, again, error) || again != loaded) {
        std::fprintf(stderr, "a written pack did not read back: %s\n", error.c_str());
        std::abort();
    }

    // The source keeps all that the program reads: nothing in record 0, every control table
    // holding exactly the controls in use.
    bool readable =
        loaded.forms[0] == pack::FormEntry{} && loaded.strings[0] == pack::StringEntry{};
    for (std::size_t i = 1; i < loaded.forms.size(); ++i) {
        const pack::FormEntry& form = loaded.forms[i];
        readable = readable && form.hasTable && form.firstIndex == 1 &&
                   form.controls.size() == static_cast<std::size_t>(form.controlCount);
    }
    pack::Pack compiled;
    std::string recompiled;
    if (readable && (!pack::parseSource(pack::formatSource(loaded), compiled, error) ||
                     !pack::writePack(compiled, recompiled, error) || recompiled != written)) {
        std::fprintf(stderr, "decompiled and compiled again, a pack changed: %s\n", error.c_str());
        std::abort();
    }
    return 0;
}
