#include "CoreTest.h"
#include "lang/PackFormat.h"
#include "lang/PackSource.h"

#include <cstdint>

using namespace chimewell::pack;

namespace {

// Builds pack files byte by byte, independent of the project's writer.
class Bytes
{
public:
    Bytes& header() { return raw("LPK1").raw(std::string(32, ' ')); }
    Bytes& raw(const std::string& s)
    {
        m_out += s;
        return *this;
    }
    Bytes& u16(std::uint16_t v)
    {
        m_out += static_cast<char>(v & 0xFF);
        m_out += static_cast<char>(v >> 8);
        return *this;
    }
    Bytes& i32(std::int32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_out += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
        return *this;
    }
    Bytes& text(const std::string& s) { return u16(static_cast<std::uint16_t>(s.size())).raw(s); }
    Bytes& shifted(const std::string& s)
    {
        std::string t = s;
        for (char& c : t)
            c = static_cast<char>(static_cast<unsigned char>(c) + kPackShift);
        return text(t);
    }
    Bytes& emptyForm() { return text("").text("").text("").text("").u16(0).u16(0); }
    Bytes& emptyString() { return text("").text(""); }
    // A form record up to its control count: Extra, name, title (shifted), override (as is).
    Bytes& form(const std::string& name, const std::string& title, std::uint16_t controls)
    {
        return shifted("").shifted(name).shifted(title).text("").u16(controls);
    }
    Bytes& table(std::int32_t records, std::int32_t first)
    {
        return u16(1).i32(records).i32(first);
    }
    Bytes& control(const std::string& key, const std::string& caption = "",
                   const std::string& extra = "")
    {
        return text(extra).shifted(key).shifted(caption).shifted("").shifted("").shifted("");
    }
    Bytes& noStrings() { return u16(0).emptyString(); }
    const std::string& str() const { return m_out; }

private:
    std::string m_out;
};

// The start of a pack with one form record after record 0.
Bytes oneFormRecord()
{
    return Bytes().header().u16(1).emptyForm();
}

// A pack with one form "Form1" whose controls are (key, caption, tooltip, caption override,
// tooltip override).
Bytes oneForm(const std::string& title, const std::string& titleOverride,
              const std::vector<std::vector<std::string>>& controls)
{
    Bytes b;
    b.header().u16(1).emptyForm().shifted("").shifted("Form1").shifted(title).text(titleOverride);
    const auto count = static_cast<std::int32_t>(controls.size());
    b.u16(static_cast<std::uint16_t>(count)).table(count, 1);
    for (auto c : controls) {
        c.resize(5);
        b.text("").shifted(c[0]).shifted(c[1]).shifted(c[2]).shifted(c[3]).shifted(c[4]);
    }
    return b.noStrings();
}

} // namespace

TEST_CASE("recordZeroIsReadButNeverDecodedNorSearched")
{
    Bytes b;
    // record 0 holds bytes below the shift and names "Form1": neither matters
    b.header().u16(2).text("\x01").text("Form1").text("\x02").text("").u16(0).u16(0);
    b.shifted("").shifted("Form1").shifted("One").text("").u16(0).u16(0);
    b.shifted("").shifted("Form2").shifted("Two").text("").u16(0).u16(0);
    b.u16(2).text("\x01").text("\x01").shifted("ok").shifted("first").shifted("ok").shifted(
        "second");
    Pack p;
    std::string error;
    CHECK(readPack(b.str(), p, error));
    CHECK_EQ(p.forms.size(), std::size_t(3));
    CHECK_EQ(findForm(p, "Form1")->caption, std::string("One"));
    CHECK_EQ(findForm(p, "Form2")->caption, std::string("Two"));
    CHECK_EQ(findString(p, "ok"), std::string("first"));
    CHECK_EQ(findString(p, "OK"), std::string());

    // What was never decoded is written back as it was read, so the pack reads back the same.
    std::string written;
    CHECK(writePack(p, written, error));
    CHECK_EQ(written, b.str());
}

TEST_CASE("whichFieldsAreShifted")
{
    const std::string sameBytes = "Hkrrk";
    Bytes b = oneForm("Title", sameBytes, {{"Command1", "Go", "Tip", sameBytes, ""}});
    Pack p;
    std::string error;
    CHECK(readPack(b.str(), p, error));
    const FormEntry* f = findForm(p, "Form1");
    CHECK(f != nullptr);
    if (!f)
        return;
    CHECK_EQ(f->captionOverride, sameBytes);            // as stored
    CHECK_EQ(f->control(1).captionOverride, sameBytes); // written shifted by the builder, read back
    // a control's Extra may hold any bytes; a form's Extra may not
    Bytes c;
    c.header().u16(1).emptyForm().form("Form1", "T", 1).table(1, 1);
    c.control("Label1", "x", std::string("\x00\x01\x02", 3)).noStrings();
    CHECK(readPack(c.str(), p, error));
    Bytes d;
    d.header().u16(1).emptyForm().text("\x01").shifted("Form1").shifted("T").text("");
    d.u16(0).u16(0).noStrings();
    CHECK(!readPack(d.str(), p, error));
    CHECK(error.find("Extra") != std::string::npos);
}

TEST_CASE("aControlTableStartsAtItsOwnFirstIndex")
{
    // A table may start at 0 (its record 0 never read) or at 1: control 1 is the record at its
    // place either way, and the pack is written back as it was read.
    for (const std::int32_t first : {0, 1}) {
        INFO("first index " << first);
        Bytes b = oneFormRecord().form("Form1", "T", 2).table(3 - first, first);
        if (first == 0)
            b.text("\x01").text("\x01").text("").text("").text("").text(
                ""); // bytes below the shift
        b.control("Label1", "One").control("Label2", "Two").noStrings();
        Pack p;
        std::string error;
        REQUIRE(readPack(b.str(), p, error));
        const FormEntry* f = findForm(p, "Form1");
        REQUIRE(f != nullptr);
        CHECK_EQ(f->control(1).key, std::string("Label1"));
        CHECK_EQ(f->control(2).caption, std::string("Two"));
        std::string written;
        CHECK(writePack(p, written, error));
        CHECK_EQ(written, b.str());
    }
}

TEST_CASE("damagedPacksFailWithTheirCauseAndLeaveThePackAlone")
{
    Pack smallest;
    std::string error;
    CHECK(
        readPack(Bytes().header().u16(0).emptyForm().u16(0).emptyString().str(), smallest, error));
    CHECK(findForm(smallest, "") == nullptr);
    const Bytes good = oneForm("Good", "", {{"Label1", "Hello", ""}});
    const struct
    {
        const char* name;
        std::string bytes;
        const char* cause;
    } rows[] = {
        {"empty file", "", "header"},
        {"truncated header", good.str().substr(0, 30), "header"},
        {"truncated in a form", good.str().substr(0, good.str().size() - 20), "form entry"},
        {"truncated in the strings", good.str().substr(0, good.str().size() - 1), "string record"},
        {"negative form count", Bytes().header().u16(0xFFFF).emptyForm().u16(0).emptyString().str(),
         "negative"},
        {"negative string count",
         Bytes().header().u16(0).emptyForm().u16(0x8000).emptyString().str(), "negative"},
        {"two billion records in 60 bytes",
         Bytes().header().u16(0).raw(std::string(8, '\0')).u16(0).table(2000000000, 0).str(),
         "claims 2000000000"},
        {"form count beyond the file", Bytes().header().u16(30000).emptyForm().str(),
         "claims 30001"},
        {"controls in use without a table",
         oneFormRecord().form("Form1", "T", 2).u16(0).noStrings().str(), "does not hold"},
        {"table starting after 1",
         oneFormRecord().form("Form1", "T", 1).table(1, 2).control("a", "b").noStrings().str(),
         "does not hold"},
        {"byte below the shift",
         oneFormRecord().form("Form1", {char(1 - kPackShift)}, 0).u16(0).noStrings().str(),
         "below the pack shift"},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        Pack p;
        std::string error;
        CHECK(readPack(good.str(), p, error));
        CHECK(!readPack(row.bytes, p, error));
        CHECK(error.find(row.cause) != std::string::npos);
        // the pack loaded before is intact
        const FormEntry* f = findForm(p, "Form1");
        CHECK((f && f->controlCount == 1 && f->control(1).caption == "Hello"));
    }
}

TEST_CASE("textsAreUtf8OrWindows1252AndUnlimitedInLength")
{
    // every field valid UTF-8: the pack is UTF-8
    const std::string longText(40000, 'x');
    Bytes b = oneForm("Gr\xC3\xBC\xC3\x9F\x65", "", {{"Label1", "Caf\xC3\xA9", longText}});
    Pack p;
    std::string error;
    CHECK(readPack(b.str(), p, error));
    CHECK_EQ(findForm(p, "Form1")->caption, std::string("Gr\xC3\xBC\xC3\x9F\x65"));
    CHECK_EQ(findForm(p, "Form1")->control(1).caption, std::string("Caf\xC3\xA9"));
    CHECK_EQ(findForm(p, "Form1")->control(1).toolTip.size(), longText.size());

    // one field that is not: the whole pack is Windows-1252, also "CAF\xC9\x85", whose bytes
    // alone happen to be valid UTF-8 (it reads "CAFÉ…", not "CAFɅ")
    b = oneForm("CAF\xC9\x85", "", {{"Label1", "Caf\xE9", ""}});
    CHECK(readPack(b.str(), p, error));
    CHECK_EQ(findForm(p, "Form1")->caption, std::string("CAF\xC3\x89\xE2\x80\xA6"));
    CHECK_EQ(findForm(p, "Form1")->control(1).caption, std::string("Caf\xC3\xA9"));
}

TEST_CASE("aPackThatWindows1252CannotHoldIsRefused")
{
    // (Packs written and read back, decompiled and compiled again: the fuzz target, and its
    // kept inputs in every build.)
    Pack p;
    std::string bytes;
    std::string error;
    CHECK(parseSource("encoding windows-1252\n[strings]\nname = \xE6\x97\xA5\n", p, error));
    CHECK(!writePack(p, bytes, error));
}

TEST_CASE("keysNameTabsArraysAndControls")
{
    const struct
    {
        const char* key;
        KeyTarget::Kind kind;
        const char* name;
        int index;
        bool valid;
    } rows[] = {
        {"SSTab1.TabCaption(2)", KeyTarget::Tab, "SSTab1", 2, true},
        {"SSTab1.tabcaption(1)", KeyTarget::Tab, "SSTab1", 1, true},
        {"Line1(1)", KeyTarget::ArrayElement, "Line1", 1, true},
        {"Line1(2) x", KeyTarget::ArrayElement, "Line1", 2, true},
        {"Line1(x)", KeyTarget::ArrayElement, "Line1", 0, true},
        {"Line1(1.5)", KeyTarget::ArrayElement, "Line1", 2, true},
        {"Line1(2.5)", KeyTarget::ArrayElement, "Line1", 2, true},
        {"Line1)", KeyTarget::ArrayElement, "", 0, false},
        {"Line1(99999999999)", KeyTarget::ArrayElement, "Line1", 0, false},
        {"cmdOK", KeyTarget::Plain, "cmdOK", 0, true},
        {"SSTab1.TabCaption(1))", KeyTarget::Tab, "SSTab1", 1, true},
    };
    for (const auto& row : rows) {
        INFO(row.key);
        const KeyTarget t = parseKey(row.key);
        CHECK_EQ(static_cast<int>(t.kind), static_cast<int>(row.kind));
        CHECK_EQ(t.valid, row.valid);
        if (row.valid) {
            CHECK_EQ(t.name, std::string(row.name));
            CHECK_EQ(t.index, row.index);
        }
    }
}
