#!/usr/bin/env bash
# A weekly alarm of Chimewell.exe, hidden in the tray: at its minute the chime is heard
# (Windows' multimedia device control on the null sink), its notice window comes at once, and
# its Stop, which has the focus, silences it. The next alarm, with alarm.mp3 gone, beeps.
. "$(dirname "$0")/winelib.sh"
start_desktop none
app=$(wine_folder "$WINE_FOLDER_NAME" firstload=0)
# The next two minutes that leave time to start; the program runs on the real clock.
[ "$(date +%S)" -lt 45 ] || sleep $((62 - 10#$(date +%S)))
first=$(date -d '+1 minute' +%H:%M)
printf '[alarm]\r\ntime=%s\r\nreason=Tea\r\n[alarm 2]\r\ntime=%s\r\nreason=Post\r\n' "$first" \
    "$(date -d '+2 minutes' +%H:%M)" >"$app/schedule/$(LC_ALL=C date +%A).ini"
wine_launch "$WINE_FOLDER_NAME" -minimized
sleep 5
window_gone Chimewell || fail "a window shows before the alarm"
# The notice does not take the focus from what the user does: a click beside its buttons
# makes it active, and Space is its Stop.
stop_notice() {
    xdotool mousemove --window "$1" 4 4 click 1
    sleep 0.5
    xdotool key space
    wait_for 5 window_gone Chimewell || fail "Stop left the notice window"
}
for sound in chime beeps; do
    [ $sound = beeps ] && rm "$app/alarm.mp3"
    record_start
    notice=$(wait_window Chimewell 75) || fail "no notice window for the $sound"
    sleep 6
    rms=$(record_stop)
    # The chime begins softly and grows (a null sink's silence is 0).
    awk -v r="$rms" 'BEGIN { exit !(r > 0.004) }' || fail "the $sound was not heard (RMS $rms)"
    stop_notice "$notice"
    sleep 1
    silent "$(record_for 3)" || fail "still heard after Stop"
    pass "the $sound is heard (RMS $rms) with its notice window; Stop silences it"
done
