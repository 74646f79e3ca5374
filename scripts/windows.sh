#!/usr/bin/env bash
# The Windows program: Chimewell.exe, its tools and its tests cross-built with mingw-w64 against
# Qt for Windows (scripts/qt-windows.sh) into build/windows/, its ZIP made with cpack, and the
# tests run under Wine: the unit and window tests, the shipped packs, the DLL check of the ZIP,
# and the scenarios of the real program on the headless desktop (tests/windows/). Installs the
# cross-compiler and Wine when they are missing. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/windows
cd "$root"

scripts/setup-debian.sh windows
qt=$(scripts/qt-windows.sh)

# The packs are compiled by the build machine's own pack tool.
[ -f build/CMakeCache.txt ] || cmake --preset default >/dev/null
cmake --build build --target chimewell-lpk -j"$(nproc)" >/dev/null

cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCHIMEWELL_HOST_LPK="$root/build/chimewell-lpk" >/dev/null
cmake --build "$out" -j"$(nproc)"
(cd "$out" && cpack -G ZIP >/dev/null)
echo "Made $(ls "$out"/Chimewell-*.zip)"

export WINEPREFIX=$out/wineprefix
scripts/wine-prefix.sh "$WINEPREFIX"
status=0
(cd "$out" && ctest --output-on-failure -j2 "$@") || status=$?
WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true
exit $status
