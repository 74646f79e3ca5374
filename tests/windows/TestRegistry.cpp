// The log-on entry's registry routines against the registry itself (under Wine in CI).

#include "CoreTest.h"
#include "platform/Registry.h"

#include <windows.h>

using namespace chimewell;

namespace {

struct Stored
{
    bool found = false;
    DWORD type = 0;
    std::string bytes;
};

Stored query(const char* name)
{
    Stored out;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return out;
    char buffer[4096] = {};
    DWORD size = sizeof(buffer);
    if (RegQueryValueExA(key, name, nullptr, &out.type, reinterpret_cast<BYTE*>(buffer), &size) ==
        ERROR_SUCCESS) {
        out.found = true;
        out.bytes.assign(buffer, size);
    }
    RegCloseKey(key);
    return out;
}

// The text a REG_SZ holds, without the terminating zero the reader may or may not count.
std::string text(const Stored& s)
{
    return s.bytes.substr(0, s.bytes.find('\0'));
}

} // namespace

TEST_CASE("writesReadsOverwritesAndDeletesTheRunValue")
{
    deleteRegistryValue(kHkeyCurrentUser, kRunKey, "Chimewell");
    CHECK(!query("Chimewell").found);

    const std::string first = runCommand("C:\\Program Files\\Chimewell\\Chimewell.exe");
    CHECK_EQ(first, std::string("\"C:\\Program Files\\Chimewell\\Chimewell.exe\" -minimized"));
    setRegistryValue(kHkeyCurrentUser, kRunKey, kRegSz, "Chimewell", first);
    Stored s = query("Chimewell");
    CHECK(s.found);
    CHECK_EQ(s.type, DWORD(REG_SZ));
    CHECK_EQ(text(s), first);

    const std::string second = runCommand("D:\\Tools\\Chimewell.exe");
    setRegistryValue(kHkeyCurrentUser, kRunKey, kRegSz, "Chimewell", second);
    s = query("Chimewell");
    CHECK_EQ(text(s), second);

    deleteRegistryValue(kHkeyCurrentUser, kRunKey, "Chimewell");
    CHECK(!query("Chimewell").found);
    // Deleting what is not there is harmless.
    deleteRegistryValue(kHkeyCurrentUser, kRunKey, "Chimewell");
    CHECK(!query("Chimewell").found);
}

TEST_CASE("binaryAndNumberValuesAndAKeyThatIsCreated")
{
    const std::string path = "SOFTWARE\\Chimewell test\\Created";
    setRegistryValue(kHkeyCurrentUser, path, kRegDword, "Number", std::int64_t(0x01020304));
    setRegistryValue(kHkeyCurrentUser, path, kRegBinary, "Bytes", std::string("abc"));
    HKEY key = nullptr;
    CHECK(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS);
    DWORD type = 0;
    DWORD number = 0;
    DWORD size = sizeof(number);
    CHECK(RegQueryValueExA(key, "Number", nullptr, &type, reinterpret_cast<BYTE*>(&number),
                           &size) == ERROR_SUCCESS);
    CHECK_EQ(type, DWORD(REG_DWORD));
    CHECK_EQ(number, DWORD(0x01020304));
    char bytes[16] = {};
    size = sizeof(bytes);
    CHECK(RegQueryValueExA(key, "Bytes", nullptr, &type, reinterpret_cast<BYTE*>(bytes), &size) ==
          ERROR_SUCCESS);
    CHECK_EQ(type, DWORD(REG_BINARY));
    CHECK_EQ(std::string(bytes, size), std::string("abc"));
    RegCloseKey(key);
    deleteRegistryValue(kHkeyCurrentUser, path, "Number");
    deleteRegistryValue(kHkeyCurrentUser, path, "Bytes");
    RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Chimewell test");
}
