#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The two routines through which the program touches INI files (the settings file and the
// day files). They behave like the Windows profile-file functions the files were made with:
// sections and keys match without regard to letter case, the first of duplicate sections or
// keys wins, blanks and one pair of enclosing quotes are dropped on read, and a write replaces
// the value in place or appends what is missing, leaving every other line as it was.

namespace chimewell {

/// The longest value a read gives back, in characters; a longer one is cut.
inline constexpr std::size_t kLongestIniValue = 749;
/// A settings or day file is a few hundred bytes: a larger one than this is refused, unread,
/// as if it could not be read.
inline constexpr std::uintmax_t kMaxIniFileBytes = 1024 * 1024;

/// The value of `key` in `section` of the file, or "" for a missing, unreadable or oversized
/// file, section or key. The key is looked up lower-cased; the text is cut to kLongestIniValue
/// characters.
std::string readIniValue(const std::string& section, const std::string& key,
                         const std::string& fileName);

/// As readIniValue, but nothing when the value cannot be trusted yet: another program was
/// rewriting the file in place during the read and its retry, or the file is empty and changed
/// in the last two seconds (a rewrite in place is seen empty between its truncation and its
/// write). So the caller can tell "no value" from "not known this time".
std::optional<std::string> tryReadIniValue(const std::string& section, const std::string& key,
                                           const std::string& fileName);

/// Stores `value` under the upper-cased `key`. The file is created when missing (its folder
/// must exist) and replaced atomically; an oversized file, or a write that would make it
/// oversized, is refused and left as it was. Returns false, with the reason in `error`, on
/// failure.
bool writeIniValue(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& fileName, std::string* error = nullptr);

/// Stores several values of one section in one atomic replacement of the file, in the order
/// given: a reader, or a crash, sees all of them or none.
bool writeIniValues(const std::string& section,
                    const std::vector<std::pair<std::string, std::string>>& values,
                    const std::string& fileName, std::string* error = nullptr);

/// Why a file is refused unread ("it is larger than 1 MB", "it is a folder", "it cannot be
/// read: ..."), or nothing for a file that is read or missing (which reads as empty).
std::optional<std::string> iniFileRefusal(const std::string& fileName);

namespace ini {

/// One section as the profile reader sees it: its name as spelt, and its keys with their
/// values (trimmed, one pair of quotes dropped, cut to kLongestIniValue characters).
struct Section
{
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
    /// The value of the first key of that name, without regard to case; "" when missing.
    std::string value(std::string_view key) const;
    bool has(std::string_view key) const;
};

/// The named sections of the text in file order; of sections with the same name only the
/// first, which is the one the reader consults.
std::vector<Section> sections(std::string_view text);

bool equalsNoCase(std::string_view a, std::string_view b);

} // namespace ini

/// The sections of a file, read again only when the file changed (see tryReadIniValue).
struct IniSections
{
    enum State
    {
        Read,    // read, or missing: no sections
        Refused, // `refusal` says why
        Torn     // another program was rewriting it: not known this time
    } state = Read;
    std::string refusal;
    std::shared_ptr<const std::vector<ini::Section>> sections;
};
IniSections readIniSections(const std::string& fileName);

/// Changes to one INI file, made on its text and written in one atomic replacement: a reader,
/// or a crash, sees all of them or none. Lines that no change touches keep their bytes.
class IniEdit
{
public:
    /// The sections as the file holds them now, before the changes made here.
    const std::vector<ini::Section>& sections() const { return m_sections; }
    /// Sets `key` (written upper-cased) of `section`, appending what is missing.
    void set(std::string_view section, std::string_view key, std::string_view value);
    /// Adds `section`, which the file does not hold yet, with `keys` (names written
    /// upper-cased) in their order.
    void addSection(std::string_view section,
                    const std::vector<std::pair<std::string_view, std::string_view>>& keys);
    /// Takes the line of `key` out of `section`, if there is one.
    void remove(std::string_view section, std::string_view key);
    /// Takes `section` out, its header and every line up to the next section.
    void removeSection(std::string_view section);
    /// Gives the first section named `from` the name `to`: its header alone changes.
    void renameSection(std::string_view from, std::string_view to);
    /// Takes the header of `section` out, leaving its lines where they stand.
    void removeHeader(std::string_view section);
    /// Whether `section` holds keys other than `keys`.
    bool holdsOtherKeys(std::string_view section, const std::vector<std::string_view>& keys) const;
    /// Whether a later section has the same name as the first `section` (and is hidden by it).
    bool hasHiddenTwin(std::string_view section) const;
    bool hasSection(std::string_view section) const;
    bool holdsKey(std::string_view section, std::string_view key) const;

private:
    friend bool editIniFile(const std::string&, const std::function<bool(IniEdit&)>&, std::string*,
                            bool);
    std::string m_text; // in the file's own encoding (UTF-16 edited as UTF-8)
    bool m_ansi = false;
    bool m_changed = false;
    std::vector<ini::Section> m_sections;
};

/// Reads the file (missing: empty), lets `edit` change it, and writes it when `edit` returns
/// true and changed anything. Returns false, with the reason in `error`, when the file is
/// refused, could not be written, or `edit` returned false (leaving `error` to it). With
/// `checkOnly`, nothing is written: true when the write would be made and could be.
bool editIniFile(const std::string& fileName, const std::function<bool(IniEdit&)>& edit,
                 std::string* error = nullptr, bool checkOnly = false);

namespace ini {

/// The value the profile reader finds for `key` in `section` of the INI text, cut to
/// `longest` characters.
std::string lookup(std::string_view text, std::string_view section, std::string_view key,
                   std::size_t longest = kLongestIniValue);

/// The INI text with `key` of `section` set to `value`, or nothing when the text already
/// holds that value. New lines end as most lines of the text end (CR LF when none does); other
/// lines keep their bytes and line ends.
std::optional<std::string> update(std::string_view text, std::string_view section,
                                  std::string_view key, std::string_view value);

/// The INI text with a new section `section` at its end, holding `keys` (names written as
/// given) in that order: what update() would make of them one by one, in one pass.
std::string appendSection(std::string_view text, std::string_view section,
                          const std::vector<std::pair<std::string, std::string>>& keys);

/// The INI text without the first line of `key` in `section`, or nothing when it has none.
std::optional<std::string> removeKey(std::string_view text, std::string_view section,
                                     std::string_view key);

/// The INI text without the first section named `section` (its header and its lines), or
/// nothing when it has none.
std::optional<std::string> removeSection(std::string_view text, std::string_view section);
/// The INI text with the header of the first section named `section` replaced by `header`
/// (a whole line without its end; nothing takes the header out), or nothing when it has none.
std::optional<std::string> replaceHeader(std::string_view text, std::string_view section,
                                         std::optional<std::string_view> header);
/// The names of the keys of the first section named `section`, in file order.
std::vector<std::string> keysOf(std::string_view text, std::string_view section);
/// How many sections of the text are named `section`.
int sectionCount(std::string_view text, std::string_view section);
/// "\r\n", "\n" or "\r": the line end most lines of the text have; "\r\n" when none has one.
std::string_view lineEnd(std::string_view text);

std::string toLowerAscii(std::string_view text);
std::string toUpperAscii(std::string_view text);

} // namespace ini
} // namespace chimewell
