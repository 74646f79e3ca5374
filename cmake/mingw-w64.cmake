# Cross build for 64-bit Windows with Debian's mingw-w64. Only the Qt-free core, its tests and
# the Windows-only code are built (CHIMEWELL_CORE_ONLY is forced on); ctest runs the programs
# under Wine through scripts/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Self-contained executables: no MinGW runtime DLLs to find at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CHIMEWELL_CORE_ONLY ON CACHE BOOL "" FORCE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
