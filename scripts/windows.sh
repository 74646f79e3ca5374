#!/usr/bin/env bash
# The Windows side: builds the core, its tests and the registry code with mingw-w64 and runs
# them under Wine (a private prefix in build/windows). Installs the cross-compiler and Wine
# when they are missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/windows
cd "$root"

scripts/setup-debian.sh windows

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
