#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The language pack file (.lpk): little-endian counts and length-prefixed texts, most of them
// scrambled by raising every byte by kPackShift. See docs/language-packs.md.

namespace chimewell::pack {

/// Every scrambled byte is stored raised by this much.
inline constexpr int kPackShift = 3;

struct ControlEntry
{
    std::string extra; // never scrambled, never used
    std::string key;
    std::string caption;
    std::string toolTip;
    std::string captionOverride;
    std::string toolTipOverride;

    bool operator==(const ControlEntry&) const = default;
};

struct FormEntry
{
    std::string extra;
    std::string formName;
    std::string caption;
    std::string captionOverride; // stored as it is shown: not scrambled
    std::int16_t controlCount = 0;
    /// The stored control table: records for indices firstIndex, firstIndex + 1, ...
    bool hasTable = false;
    std::int32_t firstIndex = 1;
    std::vector<ControlEntry> controls;

    /// Control entry `index` (1 to controlCount when the pack loaded).
    const ControlEntry& control(int index) const
    {
        return controls[static_cast<std::size_t>(index - firstIndex)];
    }
    bool operator==(const FormEntry&) const = default;
};

struct StringEntry
{
    std::string name;
    std::string value;
    bool operator==(const StringEntry&) const = default;
};

/// A pack as the program uses it: index 0 of both tables is the record every file carries
/// first and that is never decoded or searched.
struct Pack
{
    std::string headerTag;  // 4 bytes
    std::string headerText; // 32 bytes
    std::int16_t formCount = 0;
    std::vector<FormEntry> forms; // indices 0 to formCount
    std::int16_t stringCount = 0;
    std::vector<StringEntry> strings; // indices 0 to stringCount
    /// The texts are stored in Windows-1252 (decoded, they are UTF-8 all the same).
    bool windows1252 = false;

    bool operator==(const Pack&) const = default;
};

/// Lowers every byte by the pack shift. False when a byte is below the shift.
bool descramble(std::string_view stored, std::string& out);
/// Raises every byte by the pack shift. False when a byte would pass 255.
bool scramble(std::string_view text, std::string& out);

/// Reads and decodes a whole pack. On failure `error` names the cause and `pack` is left as
/// it was. Decoded texts are UTF-8 (bytes that are not valid UTF-8 are read as
/// Windows-1252). No count in the file makes the reader allocate more than the file holds.
bool readPack(std::string_view bytes, Pack& pack, std::string& error);

/// The file bytes of a pack whose texts are UTF-8 (the reverse of readPack), stored in
/// Windows-1252 when the pack says so. False, with the cause, when a text cannot be stored (a
/// byte that scrambling would push past 255, a text longer than 65,535 bytes or outside
/// Windows-1252, a count that does not fit).
bool writePack(const Pack& pack, std::string& bytes, std::string& error);

/// The value of the first loose string named exactly `name`, or "".
std::string findString(const Pack& pack, std::string_view name);

/// The first form entry (1 to formCount) named exactly `name`, or null.
const FormEntry* findForm(const Pack& pack, std::string_view name);

/// What a control key names: a tab of a tab control, an element of a control array, or a
/// plain control or menu item.
struct KeyTarget
{
    enum Kind
    {
        Tab,
        ArrayElement,
        Plain
    } kind = Plain;
    std::string name;
    std::int32_t index = 0;
    bool valid = true; // false when the name or index cannot be derived
};
KeyTarget parseKey(std::string_view key);

} // namespace chimewell::pack
