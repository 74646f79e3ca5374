#!/usr/bin/env bash
# A program that waits: started hidden, it maps no window at all, not even for a moment; while
# it sleeps between wakes, with its schedule folder removed and made again, a day file edited
# by hand to ring 10 s later rings on time, not at the next 30 s heartbeat; and stopped across
# an alarm (as by a suspended machine), it tells the alarm it missed when it runs again, and
# rings nothing.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "waiting" firstload=0)
make_tone "$E2E_WORK/tone.wav" 500
xev -root -event substructure >"$E2E_WORK/maps.log" 2>&1 &
E2E_PIDS+=($!)
sleep 0.5
movable_clock "2026-12-07 12:59:08" # a Monday
launch "$app" -minimized
launched=$SECONDS
icon=$(wait_for 15 tray_icon && tray_icon) || fail "no tray icon"
sleep 2
mapped=$(grep -A2 "^MapNotify" "$E2E_WORK/maps.log" | grep -o "window 0x[0-9a-f]*, override" |
    grep -o "0x[0-9a-f]*" || true)
for w in $mapped; do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = Chimewell ] && fail "the main window was mapped"
done
pass "no window mapped at a hidden start ($(wc -w <<<"$mapped") windows mapped in all)"

rm -r "$app/schedule"
sleep 1
mkdir "$app/schedule"
sleep $((launched + 42 - SECONDS)) # 12:59:50 on the program's clock
write_day_file "$app" Monday 13:00 "Edited by hand" "$E2E_WORK/tone.wav"
written=$SECONDS
record_start
wait_for 25 notified "Time for Edited by hand." || fail "the hand-edited alarm did not ring"
log "rang $((SECONDS - written)) s after the edit, for 10 s later"
[ $((SECONDS - written)) -le 12 ] || fail "it rang late"
sleep 3
loud "$(record_stop)" || fail "the hand-edited alarm was not heard"
pass "with the schedule folder made anew, a day file edited by hand rang on time"

xdotool mousemove --window "$icon" 8 8 click 1 # shown, it looks at the clock every second
wait_window Chimewell 10 >/dev/null || fail "the tray icon did not show the window"
write_day_file "$app" Monday 13:02 "Dentist" "$E2E_WORK/tone.wav"
move_clock "2026-12-07 13:01:50"
sleep 2
kill -STOP "$APP_PID"
move_clock "2026-12-07 13:03:50" # two minutes pass while it is stopped
sleep 2
record_start
kill -CONT "$APP_PID"
wait_for 10 notified "Missed alarm: It's 13:02. Time for Dentist." || fail "no missed alarm told"
sleep 3
silent "$(record_stop)" || fail "a sound was heard"
pass "the missed alarm was told, and nothing rang late"
