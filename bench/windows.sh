#!/usr/bin/env bash
# Prints the Windows program's figures beside the Linux program's, measured in the same run on
# a private headless desktop (Xvfb, null audio sink): the ZIP's size and its unpacked size;
# start to the main window shown, RSS and PSS a second after start (min/median/max of RUNS
# interleaved runs): Chimewell.exe under Wine, started from C:\Wecker Łódź by its Windows
# path with the Wine server already up (as a Windows is), and the Linux program.
#   bench/windows.sh [BUILD-FOLDER] [WINDOWS-BUILD-FOLDER]   (RUNS=7; scripts/windows.sh first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
windows=${2:-$root/build/windows}
runs=${RUNS:-7}
zip=$(ls -t "$windows"/Chimewell-*-Windows-*.zip | head -1)
export CHIMEWELL_APP=$build/app
. "$root/scripts/desktop.sh"
start_desktop none
app=$(app_folder bench firstload=0)

export WINEPREFIX=$windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
folder="$WINEPREFIX/drive_c/Wecker Łódź"
rm -rf "$folder" "$E2E_WORK/unpacked"
mkdir -p "$E2E_WORK/unpacked"
unzip -q "$zip" -d "$E2E_WORK/unpacked"
mv "$E2E_WORK"/unpacked/*/ "$folder"
set_setting "$folder" firstload 0
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -p # stays up between the starts
trap '/usr/lib/wine/wineserver -k 2>/dev/null; e2e_cleanup' EXIT
/usr/lib/wine/wine64 cmd /c exit >/dev/null 2>&1 # the Wine services are up

now_ms() { echo $(($(date +%s%N) / 1000000)); }
stats() { sort -n | awk '{ v[NR] = $1 } END { printf "%s / %s / %s", v[1], v[int((NR + 1) / 2)], v[NR] }'; }
# PROGRAM [ARGS]: prints "milliseconds-to-window rss-kb pss-kb", and stops the program.
start_once() {
    local start pid ms
    start=$(now_ms)
    "$@" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name '^Chimewell$' >/dev/null 2>&1; do :; done
    ms=$(($(now_ms) - start))
    sleep 1
    echo "$ms $(awk '/^VmRSS/ {print $2}' "/proc/$pid/status") $(awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup")"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    wait_for 10 window_gone Chimewell || true
}
: >"$E2E_WORK/windows.txt"
: >"$E2E_WORK/linux.txt"
start_once /usr/lib/wine/wine64 'C:\Wecker Łódź\Chimewell.exe' >/dev/null
start_once "$app/chimewell" >/dev/null
for _ in $(seq "$runs"); do
    start_once /usr/lib/wine/wine64 'C:\Wecker Łódź\Chimewell.exe' >>"$E2E_WORK/windows.txt"
    start_once "$app/chimewell" >>"$E2E_WORK/linux.txt"
done
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
column() { cut -d' ' -f"$2" "$E2E_WORK/$1.txt" | stats; }
columnmb() { cut -d' ' -f"$2" "$E2E_WORK/$1.txt" | while read -r k; do mb "$k"; echo; done | stats; }

echo
echo "| Windows program | |"
echo "|---|---|"
echo "| $(basename "$zip") | $(mb $(($(stat -c %s "$zip") / 1024))) MB |"
echo "| unpacked | $(mb "$(du -sk "$folder" | cut -f1)") MB, $(find "$folder" -type f | wc -l) files |"
echo
echo "| Start and memory | Chimewell.exe under Wine | Chimewell on Linux |"
echo "|---|---|---|"
echo "| Start to the main window (ms) | $(column windows 1) | $(column linux 1) |"
echo "| RSS after start (MB) | $(columnmb windows 2) | $(columnmb linux 2) |"
echo "| PSS after start (MB) | $(columnmb windows 3) | $(columnmb linux 3) |"
