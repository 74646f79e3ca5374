// A value of an INI file as Windows' own GetPrivateProfileString reads it, in UTF-8, for the
// scenarios that run the Windows program under Wine.
//   probe profile FILE SECTION KEY

#include "platform/Registry.h"

#include <cstdio>
#include <string>
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5 || std::wstring(argv[1]) != L"profile") {
        std::fprintf(stderr, "usage: probe profile FILE SECTION KEY\n");
        return 2;
    }
    wchar_t value[4096] = {};
    GetPrivateProfileStringW(argv[3], argv[4], L"\x1f(missing)", value, 4096, argv[2]);
    std::printf("%s\n", chimewell::utf8FromWide(value).c_str());
    return 0;
}
