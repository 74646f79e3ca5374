# Shared by the scenarios of the Windows program: the headless desktop and the checks of
# tests/e2e/lib.sh, Wine with the build's private prefix, and the ZIP unpacked as a user
# unpacks it into C:\NAME, started by its Windows path and finding its DLLs in its own folder
# only. Needs E2E_ZIP_FOLDER (the Windows build folder) and E2E_PROBE (probe.exe).
E2E_ZIP=$(ls -t "${E2E_ZIP_FOLDER:?}"/Chimewell-*-Windows-*.zip 2>/dev/null | head -1)
export CHIMEWELL_APP=$E2E_ZIP
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
[ -n "$E2E_ZIP" ] || fail "no ZIP in $E2E_ZIP_FOLDER: run cpack first"
export WINEPREFIX=${WINEPREFIX:-$E2E_ZIP_FOLDER/wineprefix} WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
# A wineserver left from another display would put the windows there.
$WINESERVER -k 2>/dev/null || true
trap 'status=$?; set +e; $WINESERVER -k 2>/dev/null; (exit $status); e2e_cleanup' EXIT
WINE_FOLDER_NAME="Wecker Łódź"

wine_folder() { # NAME [KEY=VALUE...]: the ZIP unpacked into C:\NAME; prints its Unix path
    local dir=$WINEPREFIX/drive_c/$1 kv
    shift
    rm -rf "$dir" "$E2E_WORK/unpacked"
    unzip -q "$E2E_ZIP" -d "$E2E_WORK/unpacked"
    mv "$E2E_WORK"/unpacked/*/ "$dir"
    for kv in "$@"; do set_setting "$dir" "${kv%%=*}" "${kv#*=}"; done
    printf '%s\n' "$dir"
}
wine_launch() { # NAME [ARGUMENTS...]: starts C:\NAME\Chimewell.exe; APP_PID is the process
    "$WINE" "C:\\$1\\Chimewell.exe" "${@:2}" >>"$E2E_WORK/app.log" 2>&1 &
    APP_PID=$!
    E2E_PIDS+=("$APP_PID")
}
copies() { pgrep -f -c 'Chimewell\.exe' || true; }
copies_are() { [ "$(copies)" = "$1" ]; }
windows_are() { [ "$(xdotool search --onlyvisible --name '^Chimewell$' 2>/dev/null | wc -l)" = "$1" ]; }
# WINDOW X Y KEYS...: a click on a spot of WINDOW that does nothing makes it active (Wine does
# not activate a window that only gets the X input focus), then the keys.
wine_keys() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.5
    xdotool key --delay 60 "${@:4}"
}
# The visible windows titled TITLE, the largest (the main window, before boxes) first.
windows_by_size() {
    local w
    for w in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" || continue
        echo "$((WIDTH * HEIGHT)) $w"
    done | sort -rn | cut -d' ' -f2
}
# FILE SECTION KEY: the value as Windows' GetPrivateProfileString reads it, FILE in drive C:.
profile_value() {
    local path=${1#"$WINEPREFIX/drive_c/"}
    "$WINE" "$E2E_PROBE" profile "C:\\${path//\//\\}" "$2" "$3" 2>/dev/null | tr -d '\r'
}
run_value() { # the Run value "Chimewell" as Windows reads it
    "$WINE" reg export 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' "$E2E_WORK/run.reg" \
        /y >/dev/null 2>&1 || return 0
    iconv -f UTF-16 -t UTF-8 "$E2E_WORK/run.reg" | tr -d '\r' |
        sed -n 's/^"Chimewell"="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g; s/\\"/"/g'
}
