#!/usr/bin/env bash
# Takes the README's screenshots of the real program under a private Xvfb display.
#   tools/screenshots.sh [BUILD-FOLDER]    writes docs/*.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
display=:$((90 + RANDOM % 50))
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

cp -r "$build/app" "$work/app"
printf '[options]\r\nfirstload=0\r\n' > "$work/app/Chimewell.ini"
Xvfb "$display" -screen 0 640x600x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
export DISPLAY=$display XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1
mkdir -m 700 "$XDG_RUNTIME_DIR"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$work/app/chimewell" >/dev/null 2>&1 & pids+=($!)
win=$(xdotool search --sync --onlyvisible --name '^Chimewell$' | head -n 1)
sleep 1
import -window "$win" "$root/docs/main-window.png"
echo "docs/main-window.png"
