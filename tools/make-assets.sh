#!/usr/bin/env bash
# Makes the files that ship beside the executable and the pictures built into it:
#   assets/alarm.mp3   a two-note chime of about three seconds, synthesised with sox, encoded by lame
#   assets/ra2.ico, assets/timer.jpg, src/app/images/*.png   drawn by tools/drawassets
# Needs sox, lame and a build folder with the drawassets tool (cmake --build build --target drawassets).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# C6 and G6 struck together, then E6 a moment later; each note decays like a struck bar.
sox -n -r 44100 -c 1 -b 16 "$tmp/a.wav" synth 2.6 sine 1046.5 sine 1568 fade q 0.005 2.6 2.2 gain -6
sox -n -r 44100 -c 1 -b 16 "$tmp/b.wav" synth 2.2 sine 1318.5 fade q 0.005 2.2 1.9 gain -8
sox "$tmp/b.wav" "$tmp/b-late.wav" pad 0.55 0
sox -m "$tmp/a.wav" "$tmp/b-late.wav" -c 2 "$tmp/chime.wav" reverb 30 gain -n -3 trim 0 3.0
lame --quiet -b 128 "$tmp/chime.wav" "$root/assets/alarm.mp3"

QT_QPA_PLATFORM=offscreen "$build/tools/drawassets/drawassets" "$root/assets" "$root/src/app/images"
echo "assets written"
