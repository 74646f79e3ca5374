#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's private prefix (WINEPREFIX, set by
# scripts/windows.sh; build/windows/wineprefix by default), quietly. The Qt DLLs of the Windows
# build and the compiler's runtime DLLs are found on Wine's search path, so that the tests run
# from the build folder as they are.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
dlls=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
if [ -n "${CHIMEWELL_QT_WINDOWS:-}" ]; then
    dlls=("$CHIMEWELL_QT_WINDOWS/bin" "${dlls[@]}")
elif qt=$("$root/scripts/qt-windows.sh" --find 2>/dev/null); then
    dlls=("$qt/bin" "${dlls[@]}")
fi
path=
for d in "${dlls[@]}"; do
    path+="${path:+;}Z:${d//\//\\}"
done
export WINEPATH="$path${WINEPATH:+;$WINEPATH}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
exec "$wine" "$@"
