#!/usr/bin/env bash
# Takes the README's screenshot of the Windows program: Chimewell.exe from its ZIP, unpacked
# into C:\Wecker Łódź and run under Wine on a private headless desktop.
#   tools/screenshot-windows.sh [WINDOWS-BUILD-FOLDER]   writes docs/main-window-Windows.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export E2E_ZIP_FOLDER=${1:-$root/build/windows} E2E_PROBE=unused
. "$root/tests/windows/winelib.sh"
start_desktop none
app=$(wine_folder "$WINE_FOLDER_NAME" firstload=0)
write_day_file "$app" "$(LC_ALL=C date +%A)" 23:59 "Team meeting" ""
wine_launch "$WINE_FOLDER_NAME"
main=$(wait_window Chimewell 60) || fail "no main window"
sleep 2
wine_keys "$main" 60 50 ctrl+a # on the clock; the reason has the focus
type_text "$main" "Call the dentist"
keys "$main" Tab ctrl+a
type_text "$main" "16:30"
sleep 1
window_shot "$main" "$root/docs/main-window-Windows.png"
log "docs/main-window-Windows.png"
