// The log-on entry's registry routines against the registry itself (under Wine in CI).

#include "CoreTest.h"
#include "platform/Registry.h"

#include <windows.h>

using namespace chimewell;

TEST_CASE("writesReadsOverwritesAndDeletesTheRunValue")
{
    CHECK(deleteRegistryValue(kRunKey, "Chimewell"));
    CHECK(!readRegistryText(kRunKey, "Chimewell"));

    const std::string first = runCommand("C:\\Program Files\\Chimewell\\Chimewell.exe");
    CHECK_EQ(first, std::string("\"C:\\Program Files\\Chimewell\\Chimewell.exe\" -minimized"));
    CHECK(setRegistryText(kRunKey, "Chimewell", first));
    CHECK_EQ(readRegistryText(kRunKey, "Chimewell"), std::optional<std::string>(first));
    const std::string second = runCommand("D:\\Tools\\Chimewell.exe");
    CHECK(setRegistryText(kRunKey, "Chimewell", second));
    CHECK_EQ(readRegistryText(kRunKey, "Chimewell"), std::optional<std::string>(second));

    CHECK(deleteRegistryValue(kRunKey, "Chimewell"));
    CHECK(!readRegistryText(kRunKey, "Chimewell"));
    // Deleting what is not there, or from a key that does not exist, is no failure.
    CHECK(deleteRegistryValue(kRunKey, "Chimewell"));
    CHECK(deleteRegistryValue("SOFTWARE\\Chimewell test\\Nowhere", "Chimewell"));

    // A key that does not exist is made; one that cannot be opened is a failure told.
    CHECK(setRegistryText("SOFTWARE\\Chimewell test\\Made", "Value", "x"));
    CHECK_EQ(readRegistryText("SOFTWARE\\Chimewell test\\Made", "Value"),
             std::optional<std::string>("x"));
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Chimewell test\\Made");
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Chimewell test");
    CHECK(!setRegistryText(std::string(300, 'k'), "Value", "x"));
}
