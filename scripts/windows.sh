#!/usr/bin/env bash
# The Windows side: builds the core, its tests and the registry code with mingw-w64 and runs
# them under Wine (a private prefix in build/windows), and compiles every other source of the
# program for Windows, syntax only, against the machine's Qt headers, so that a Windows-only
# branch cannot stop compiling unseen. Installs the cross-compiler and Wine when they are
# missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/windows
cd "$root"

scripts/setup-debian.sh windows

echo "Compiling src/ for Windows (syntax only)"
qt=/usr/include/x86_64-linux-gnu/qt6
version=$(sed -n 's/^project(Chimewell VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
IFS=. read -r major minor patch <<<"$version"
flags=(-std=c++20 -fsyntax-only -Wall -Wextra -pedantic -Werror -Isrc -isystem "$qt"
       -DCHIMEWELL_VERSION="\"$version\"" -DCHIMEWELL_VERSION_MAJOR="$major"
       -DCHIMEWELL_VERSION_MINOR="$minor" -DCHIMEWELL_VERSION_PATCH="$patch")
for module in QtCore QtGui QtWidgets QtMultimedia QtDBus; do flags+=(-isystem "$qt/$module"); done
# The Linux implementations of the platform services are not part of the Windows program
# (src/platform/CMakeLists.txt).
find src -name '*.cpp' ! -name 'Linux*' ! -name 'Xdg*' -print0 | sort -z |
    xargs -0 -n 1 -P "$(nproc)" x86_64-w64-mingw32-g++-posix "${flags[@]}"

cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$out" -j"$(nproc)"

export WINEPREFIX=$out/wineprefix WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix"
    scripts/wine-run.sh wineboot --init >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
fi
status=0
(cd "$out" && ctest --output-on-failure) || status=$?
/usr/lib/wine/wineserver -k 2>/dev/null || true
exit $status
