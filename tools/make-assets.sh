#!/usr/bin/env bash
# Makes the files that ship beside the executable and the pictures built into it:
#   assets/alarm.mp3   24 s of a two-note chime that grows louder, synthesised with sox, encoded by lame
#   assets/ra2.ico, assets/timer.jpg, assets/icons/*.png, src/app/images/*.png
#                      drawn by tools/drawassets
# Needs sox, lame and a build folder with the drawassets tool (cmake --build build --target drawassets).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# One strike: C6 and G6 together, then E6 a moment later; each note decays like a struck bar.
sox -n -r 44100 -c 1 -b 16 "$tmp/a.wav" synth 2.6 sine 1046.5 sine 1568 fade q 0.005 2.6 2.2 gain -6
sox -n -r 44100 -c 1 -b 16 "$tmp/b.wav" synth 2.2 sine 1318.5 fade q 0.005 2.2 1.9 gain -8
sox "$tmp/b.wav" "$tmp/b-late.wav" pad 0.55 0
sox -m "$tmp/a.wav" "$tmp/b-late.wav" "$tmp/strike.wav" gain -n -3 trim 0 2.0
# An alarm must wake someone: twelve strikes, from -14 dB up to full loudness, 24 s in
# all (the player plays a file once, so its length is how long the alarm rings).
rounds=()
for i in 0 1 2 3 4 5 6 7 8 9 10 11; do
    sox "$tmp/strike.wav" "$tmp/round$i.wav" gain $((14 * i / 11 - 14))
    rounds+=("$tmp/round$i.wav")
done
sox "${rounds[@]}" -c 2 "$tmp/chime.wav" reverb 30 fade q 0.005 24 0.8
# MPEG-1 at 44.1 kHz: GStreamer stalls on the 24 kHz stream that lame makes of -b 64 stereo.
lame --quiet -m m -b 64 --resample 44.1 "$tmp/chime.wav" "$root/assets/alarm.mp3"

QT_QPA_PLATFORM=offscreen "$build/tools/drawassets/drawassets" "$root/assets" "$root/src/app/images"
echo "assets written"
