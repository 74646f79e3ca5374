#include "CoreTest.h"
#include "platform/AtomicFile.h"
#include "storage/DaySchedule.h"
#include "storage/IniFile.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

#include <chrono>
#include <filesystem>
#include <future>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace chimewell;

// The reading rules are held against Windows' own profile reader by the differential test
// under Wine; these rows keep the main ones, and text after "]", checked on every build.
TEST_CASE("readFindsValuesAsTheProfileReaderDoes")
{
    const struct
    {
        const char* name;
        const char* text;
        const char* key;
        const char* expected;
    } rows[] = {
        {"upper-case key", "[o]\r\nFIRSTLOAD=1\r\n", "firstload", "1"},
        {"section in other case", "[O]\r\nk=v\r\n", "k", "v"},
        {"bracket text after ]", "[o] trailing\r\nk=v\r\n", "k", "v"},
        {"only the first duplicate section", "[o]\r\na=1\r\n[o]\r\nk=2\r\n", "k", ""},
        {"a pair of quotes dropped", "[o]\r\nk=\"\"x\"\"\r\n", "k", "\"x\""},
        {"single quotes dropped", "[o]\r\nk='x y'\r\n", "k", "x y"},
        {"double quotes dropped", "[o]\r\nk=\"x y\"\r\n", "k", "x y"},
        {"quotes that differ kept", "[o]\r\nk='x\"\r\n", "k", "'x\""},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        CHECK_EQ(ini::lookup(row.text, "o", row.key), std::string(row.expected));
    }
}

struct UpdateRow
{
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST_CASE("updateReplacesInPlaceAndKeepsOtherLines")
{
    const UpdateRow rows[] = {
        {"new file", "", "options", "FIRSTLOAD", "0", "[options]\r\nFIRSTLOAD=0\r\n"},
        {"replace keeps the spelling", "[options]\r\nfirstLoad=1\r\n", "options", "FIRSTLOAD", "0",
         "[options]\r\nfirstLoad=0\r\n"},
        {"replace keeps blanks before the value", "[o]\r\nkey = old  \r\n", "o", "KEY", "new",
         "[o]\r\nkey = new\r\n"},
        {"append key at end of its section", "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", "a", "Z", "3",
         "[a]\r\nx=1\r\nZ=3\r\n\r\n[b]\r\ny=2\r\n"},
        {"append key to an empty section", "[a]\r\n[b]\r\n", "a", "Z", "3",
         "[a]\r\nZ=3\r\n[b]\r\n"},
        {"append section after a missing final break", "[a]\r\nx=1", "b", "K", "v",
         "[a]\r\nx=1\r\n[b]\r\nK=v\r\n"},
        {"append key after a missing final break", "[a]\r\nx=1", "a", "K", "v",
         "[a]\r\nx=1\r\nK=v\r\n"},
        {"comments and unknown keys kept", "; settings\r\n[o]\r\n# note\r\nfoo=bar\r\nk=1\r\n", "o",
         "K", "2", "; settings\r\n[o]\r\n# note\r\nfoo=bar\r\nk=2\r\n"},
        {"LF file keeps its LF lines", "[o]\nk=1\nother=x\n", "o", "K", "2", "[o]\nk=2\nother=x\n"},
        {"empty value stays a key", "[alarm]\r\nTIME=13:00\r\n", "alarm", "TIME", "",
         "[alarm]\r\nTIME=\r\n"},
        {"first of duplicate keys", "[o]\r\nk=1\r\nk=2\r\n", "o", "K", "9",
         "[o]\r\nk=9\r\nk=2\r\n"},
        {"line without =", "[o]\r\nk\r\n", "o", "K", "v", "[o]\r\nk=v\r\n"},
        {"line breaks in a value cannot forge keys", "", "o", "K", "a\r\n[options]\nstartup=1",
         "[o]\r\nK=a  [options] startup=1\r\n"},
        {"leading blanks of a value dropped", "", "o", "K", "  v", "[o]\r\nK=v\r\n"},
    };
    for (const auto& row : rows) {
        INFO(row.name);
        const auto after = ini::update(row.before, row.section, row.key, row.value);
        CHECK(after.has_value());
        if (after)
            CHECK_EQ(*after, std::string(row.after));
    }
    CHECK(!ini::update("[o]\r\nk=same\r\n", "o", "K", "same").has_value());
}

TEST_CASE("writeThenReadThroughFiles")
{
    coretest::TempDir dir;
    const std::string file = settingsFilePath(dir.path());

    CHECK_EQ(readIniValue("options", "language", file), std::string());
    CHECK(writeIniValue("options", "firstload", "0", file));
    CHECK_EQ(coretest::readFile(file), std::string("[options]\r\nFIRSTLOAD=0\r\n"));

    coretest::writeFile(file, "[options]\r\nFirstLoad=1\r\nlanguage=English.lpk\r\n");
    CHECK_EQ(readIniValue("options", "firstload", file), std::string("1"));
    CHECK(writeIniValue("options", "firstload", "0", file));
    CHECK_EQ(coretest::readFile(file),
             std::string("[options]\r\nFirstLoad=0\r\nlanguage=English.lpk\r\n"));
    // the write went through a temporary file that is gone now
    CHECK_EQ(coretest::listFolder(dir.path()), std::vector<std::string>{"Chimewell.ini"});

    // a value longer than the buffer reads back as its first 749 characters
    CHECK(writeIniValue("alarm", "reason", std::string(800, 'r'), file));
    CHECK_EQ(readIniValue("alarm", "reason", file), std::string(749, 'r'));
}

TEST_CASE("filesFromWindowsAndDamagedFilesReadSensibly")
{
    coretest::TempDir dir;
    const std::string file = dir.file("day.ini");

    // Windows-1252: "Café" and a euro sign
    coretest::writeFile(file, "[alarm]\r\nreason=Caf\xE9 \x80\r\n");
    CHECK_EQ(readIniValue("alarm", "reason", file), std::string("Caf\xC3\xA9 \xE2\x82\xAC"));
    // UTF-8 with a byte order mark
    coretest::writeFile(file, "\xEF\xBB\xBF[alarm]\r\nreason=Caf\xC3\xA9\r\n");
    CHECK_EQ(readIniValue("alarm", "reason", file), std::string("Caf\xC3\xA9"));

    // binary junk and a line of half a megabyte around the value; writing keeps them
    std::string junk = "\x01\x02\xFF\xFE garbage\r\n";
    junk += std::string(1 << 19, 'j') + "\r\n[options]\r\nstartup=1";
    coretest::writeFile(file, junk);
    CHECK_EQ(readIniValue("options", "startup", file), std::string("1"));
    CHECK(writeIniValue("options", "language", "German.lpk", file));
    CHECK_EQ(readIniValue("options", "startup", file), std::string("1"));
    CHECK_EQ(readIniValue("options", "language", file), std::string("German.lpk"));
    const std::string after = coretest::readFile(file);
    CHECK(after.find(std::string(1 << 19, 'j')) != std::string::npos);
    CHECK(after.find(" garbage\r\n") != std::string::npos);
    // 1 MB exactly is read; one byte more, or a gigabyte of holes, is refused unread, as an
    // unreadable file is, never written over, and told as such
    std::string limit = "[options]\r\nstartup=1\r\n;";
    limit.resize(kMaxIniFileBytes, 'x');
    CHECK_EQ(kMaxIniFileBytes, std::uintmax_t(1048576));
    coretest::writeFile(file, limit);
    CHECK_EQ(readIniValue("options", "startup", file), std::string("1"));
    CHECK(!iniFileRefusal(file));
    for (const std::uintmax_t size : {kMaxIniFileBytes + 1, std::uintmax_t(1) << 30}) {
        std::filesystem::resize_file(pathFromUtf8(file), size);
        CHECK_EQ(readIniValue("options", "startup", file), std::string());
        std::string error;
        CHECK(!writeIniValue("options", "startup", "0", file, &error));
        CHECK(error.find("larger than 1 MB") != std::string::npos);
        CHECK_EQ(iniFileRefusal(file), std::optional<std::string>("larger than 1 MB"));
        CHECK_EQ(readIniSections(file).state, IniSections::Refused);
    }
    CHECK_EQ(coretest::readFile(file).substr(0, 22), limit.substr(0, 22));

    // a folder where the file should be reads empty and refuses the write
    std::filesystem::create_directory(dir.file("folder.ini"));
    CHECK_EQ(readIniValue("o", "k", dir.file("folder.ini")), std::string());
    CHECK_EQ(iniFileRefusal(dir.file("folder.ini")), std::optional<std::string>("a folder"));
    CHECK(!iniFileRefusal(dir.file("missing.ini")));
    CHECK(!writeIniValue("o", "k", "v", dir.file("folder.ini")));
}

TEST_CASE("failedWritesReportAndLeaveTheFileWhole")
{
    coretest::TempDir dir;
    std::string error;
    // a missing folder
    CHECK(!writeIniValue("o", "k", "v", dir.file("missing/x.ini"), &error));
    CHECK(!error.empty());

    // a read-only file keeps its contents (as the profile writer refuses it)
    const std::string file = dir.file("ro.ini");
    coretest::writeFile(file, "[o]\r\nk=old\r\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read);
    CHECK(!writeIniValue("o", "k", "new", file));
    CHECK_EQ(readIniValue("o", "k", file), std::string("old"));
    CHECK_EQ(coretest::listFolder(dir.path()), std::vector<std::string>{"ro.ini"});
#ifndef _WIN32
    // a write through a symbolic link keeps the link: it writes the file it names, making it
    // where its folder exists, and refuses a loop or a link into a missing folder
    const auto link = [&dir](const char* name, const std::string& target) {
        std::filesystem::create_symlink(target, pathFromUtf8(dir.file(name)));
        return dir.file(name);
    };
    CHECK(writeIniValue("o", "k", "v", link("dangling.ini", "made.ini"), &error));
    CHECK(std::filesystem::is_symlink(pathFromUtf8(dir.file("dangling.ini"))));
    CHECK_EQ(coretest::readFile(dir.file("made.ini")), std::string("[o]\r\nK=v\r\n"));
    link("loop.ini", "loop2.ini");
    CHECK(!writeIniValue("o", "k", "v", link("loop2.ini", "loop.ini"), &error));
    CHECK(error.find("loop") != std::string::npos);
    CHECK(!writeIniValue("o", "k", "v", link("away.ini", dir.file("gone/x.ini")), &error));
    CHECK(error.find("folder does not exist") != std::string::npos);
#endif
}

TEST_CASE("theLanguageSettingNamesAPackFileAndNothingElse")
{
    CHECK(isPackFileName("Deutsch.lpk"));
    CHECK(isPackFileName("a..b.lpk"));
    for (const char* name :
         {"", ".", "..", "../../../../dev/zero", "/dev/zero", "sub/x.lpk", "..\\Chimewell.ini"})
        CHECK(!isPackFileName(name));
}

TEST_CASE("stalePartsOfKilledWritesAreRemovedAndNothingElse")
{
    coretest::TempDir dir;
    for (const char* name : {".Chimewell.ini.12345678.tmp", ".Monday.ini.7.tmp", "Chimewell.ini",
                             ".Chimewell.ini.abc.tmp", ".other.ini.123.tmp", "notes.tmp",
                             ".Chimewell.ini.123456789.tmp"})
        coretest::writeFile(dir.file(name), "x");
    CHECK_EQ(removeStaleTemporaries(dir.path(), {"Chimewell.ini", "Monday.ini"}), 2);
    CHECK_EQ(coretest::listFolder(dir.path()),
             (std::vector<std::string>{".Chimewell.ini.123456789.tmp", ".Chimewell.ini.abc.tmp",
                                       ".other.ini.123.tmp", "Chimewell.ini", "notes.tmp"}));
    // and a write leaves no temporary file of its own
    std::string error;
    CHECK(writeFileAtomically(dir.file("Monday.ini"), "[alarm]\r\n", &error));
    CHECK_EQ(removeStaleTemporaries(dir.path(), {"Monday.ini"}), 0);
}

TEST_CASE("aWriteChangesOneLineInTheFilesOwnEncoding")
{
    coretest::TempDir dir;
    const std::string file = dir.file("Chimewell.ini");
    // a Windows-1252 comment beside a UTF-8 value: neither is touched by a write elsewhere
    const std::string mixed = "; caf\xE9 au lait\r\n[options]\r\nreason=R\xC3\xA9union\r\n";
    coretest::writeFile(file, mixed);
    CHECK_EQ(readIniValue("options", "reason", file), std::string("R\xC3\xA9union"));
    CHECK(writeIniValue("options", "startup", "1", file));
    CHECK_EQ(coretest::readFile(file), mixed + "STARTUP=1\r\n");
    // new lines end as the file's lines mostly do
    for (const char* end : {"\n", "\r"}) {
        const std::string ended = std::string("a=1") + end + "[options]" + end + "x=2" + end;
        coretest::writeFile(file, ended);
        CHECK(writeIniValue("options", "startup", "1", file));
        CHECK(writeIniValue("new", "k", "v", file));
        CHECK_EQ(coretest::readFile(file),
                 ended.substr(0, ended.size()) + "STARTUP=1" + end + "[new]" + end + "K=v" + end);
    }
    coretest::writeFile(file, mixed);
    // new text goes in Windows-1252 where the file already is, in UTF-8 where it does not fit
    CHECK(writeIniValue("options", "language", "Fran\xC3\xA7\x61is.lpk", file));
    CHECK(coretest::readFile(file).find("LANGUAGE=Fran\xE7\x61is.lpk\r\n") != std::string::npos);
    CHECK(writeIniValue("options", "language", "\xE6\x97\xA5\xE6\x9C\xAC.lpk", file));
    CHECK_EQ(readIniValue("options", "language", file),
             std::string("\xE6\x97\xA5\xE6\x9C\xAC.lpk"));
    CHECK_EQ(readIniValue("options", "reason", file), std::string("R\xC3\xA9union"));

    // a byte order mark and one stray byte: the section is still found, the mark kept
    const std::string marked = "\xEF\xBB\xBF[alarm]\r\ntime=13:00\r\n; \xE9t\xE9\r\n";
    coretest::writeFile(file, marked);
    CHECK_EQ(readIniValue("alarm", "time", file), std::string("13:00"));
    CHECK(writeIniValue("alarm", "time", "14:00", file));
    CHECK_EQ(coretest::readFile(file), "\xEF\xBB\xBF[alarm]\r\ntime=14:00\r\n; \xE9t\xE9\r\n");

    // UTF-16 as Notepad saves "Unicode", little- and big-endian, read and written as such
    for (const bool bigEndian : {false, true}) {
        INFO((bigEndian ? "UTF-16 BE" : "UTF-16 LE"));
        const std::string mark = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        coretest::writeFile(file,
                            mark + utf8ToUtf16("[alarm]\r\nreason=Caf\xC3\xA9\r\n", bigEndian));
        CHECK_EQ(readIniValue("alarm", "reason", file), std::string("Caf\xC3\xA9"));
        CHECK(writeIniValue("alarm", "time", "07:30", file));
        CHECK_EQ(coretest::readFile(file),
                 mark + utf8ToUtf16("[alarm]\r\nreason=Caf\xC3\xA9\r\nTIME=07:30\r\n", bigEndian));
    }
}

TEST_CASE("whatIsNoOrdinaryFileIsRefusedUnopened")
{
    coretest::TempDir dir;
    const std::string file = dir.file("Tuesday.ini");
    std::filesystem::create_directory(pathFromUtf8(file));
    CHECK_EQ(iniFileRefusal(file), std::optional<std::string>("a folder"));
#ifndef _WIN32
    // A pipe would hold a reader until something writes to it: it is never opened.
    std::filesystem::remove(pathFromUtf8(file));
    REQUIRE_EQ(::mkfifo(file.c_str(), 0600), 0);
    auto read =
        std::async(std::launch::async, [&file] { return readIniValue("alarm", "time", file); });
    const bool answered = read.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
    if (!answered) // let the reader go, so that the test ends
        ::close(::open(file.c_str(), O_WRONLY | O_NONBLOCK));
    CHECK(answered);
    CHECK_EQ(iniFileRefusal(file), std::optional<std::string>("a pipe, not a file"));
    std::string error;
    CHECK(!writeIniValue("alarm", "time", "07:00", file, &error));
    CHECK(error.find("a pipe") != std::string::npos);
    const auto link = [&dir](const char* name, const std::string& target) {
        std::filesystem::create_symlink(target, pathFromUtf8(dir.file(name)));
        return dir.file(name);
    };
    CHECK_EQ(iniFileRefusal(link("zero.ini", "/dev/zero")),
             std::optional<std::string>("a device, not a file"));
    link("loop.ini", "loop2.ini");
    CHECK_EQ(iniFileRefusal(link("loop2.ini", "loop.ini")),
             std::optional<std::string>("a loop of symbolic links"));
    CHECK_EQ(iniFileRefusal(link("later.ini", "not-yet.ini")), std::nullopt);
#endif
}

TEST_CASE("foldersNamedInAnyScriptWork")
{
    // Paths are UTF-8 inside the program; on Windows they must not pass through the ANSI
    // code page, where "Jürgen" became "JÃ¼rgen" and "日本語" nothing at all.
    for (const char* name : {"J\xC3\xBCrgen", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"}) {
        INFO(name);
        coretest::TempDir dir;
        const std::string app = dir.file(name);
        std::filesystem::create_directory(pathFromUtf8(app));
        std::string error;
        CHECK(writeSetting(app, kLanguageKey, "German.lpk", &error));
        CHECK_EQ(readSetting(app, kLanguageKey), std::string("German.lpk"));
        CHECK(writeDayAlarm(app, "Tuesday", "Swim", "07:15", "", &error));
        CHECK_EQ(readDayValue(app, "Tuesday", kTimeKey), std::string("07:15"));
        CHECK_EQ(coretest::listFolder(dir.path()), std::vector<std::string>{name});
        CHECK_EQ(coretest::listFolder(app),
                 (std::vector<std::string>{"Chimewell.ini", "schedule"}));
    }
}

TEST_CASE("aFileIsReadAgainOnlyWhenItChanged")
{
    coretest::TempDir dir;
    const std::string file = dir.file("Monday.ini");
    coretest::writeFile(file, "[alarm]\r\ntime=13:00\r\n");
    CHECK_EQ(readIniValue("alarm", "time", file), std::string("13:00"));
    // edited in place by another program, longer
    coretest::writeFile(file, "[alarm]\r\ntime=14:00\r\nreason=x\r\n");
    CHECK_EQ(readIniValue("alarm", "time", file), std::string("14:00"));
    // replaced by a file of the same size: another identity
    std::string error;
    CHECK(writeFileAtomically(file, "[alarm]\r\ntime=15:00\r\nreason=x\r\n", &error));
    CHECK_EQ(readIniValue("alarm", "time", file), std::string("15:00"));
    // caught between the truncation and the write of a rewrite in place: not known yet, until
    // the file has been still for two seconds
    coretest::writeFile(file, "");
    CHECK_EQ(readIniValue("alarm", "time", file), std::string());
    CHECK(!tryReadIniValue("alarm", "time", file));
    // still for two seconds, or with a time far in the future (copied from a machine whose
    // clock ran ahead), it is known
    for (const int seconds : {-3, 86400}) {
        std::filesystem::last_write_time(pathFromUtf8(file),
                                         std::filesystem::file_time_type::clock::now() +
                                             std::chrono::seconds(seconds));
        CHECK_EQ(tryReadIniValue("alarm", "time", file), std::optional<std::string>(""));
    }
    // removed
    std::filesystem::remove(pathFromUtf8(file));
    CHECK_EQ(tryReadIniValue("alarm", "time", file), std::optional<std::string>(""));
}
