#pragma once

#include <string>
#include <vector>

namespace chimewell {

// useParentConsole() lets what the program writes to standard output and error reach the
// console it was started from. On Windows a program with windows has no console: it takes its
// parent's, where its output is not already redirected. Elsewhere there is nothing to do.
// commandLineArguments() gives the program's arguments after its name in UTF-8 (on Windows as
// the user typed them, not in the ANSI code page).
#ifdef _WIN32
void useParentConsole();
std::vector<std::string> commandLineArguments(int argc, char** argv);
#else
inline void useParentConsole() {}
inline std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}
#endif

} // namespace chimewell
