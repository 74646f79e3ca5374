#!/usr/bin/env bash
# Started hidden, the program maps no window at all, not even for a moment; and while it
# sleeps between wakes, with its schedule folder removed and made again, a day file edited by
# hand to ring 15 s later rings on time.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "quiet" firstload=0)
make_tone "$E2E_WORK/tone.wav" 500
xev -root -event substructure >"$E2E_WORK/maps.log" 2>&1 &
E2E_PIDS+=($!)
sleep 0.5
fake_clock "2026-12-07 12:59:24" # a Monday
launch "$app" -minimized
launched=$SECONDS
wait_for 15 tray_icon || fail "no tray icon"
sleep 2
mapped=$(grep -A2 "^MapNotify" "$E2E_WORK/maps.log" | grep -o "window 0x[0-9a-f]*, override" |
    grep -o "0x[0-9a-f]*" || true)
for w in $mapped; do
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    [ "$name" = Chimewell ] && fail "the main window was mapped ($w)"
done
pass "no window mapped at a hidden start ($(wc -w <<<"$mapped") windows mapped on the screen in all)"

rm -r "$app/schedule"
sleep 1
mkdir "$app/schedule"
sleep $((launched + 21 - SECONDS)) # 12:59:45 on the program's clock
write_day_file "$app" Monday 13:00 "Edited by hand" "$E2E_WORK/tone.wav"
written=$SECONDS
record_start
wait_for 25 notified "Time for Edited by hand." || fail "the hand-edited alarm did not ring"
log "rang $((SECONDS - written)) s after the edit, for 15 s later"
[ $((SECONDS - written)) -le 17 ] || fail "it rang late"
sleep 3
rms=$(record_stop)
log "RMS on the sink: $rms"
loud "$rms" || fail "the hand-edited alarm was not heard"
pass "with the schedule folder made anew, a day file edited by hand rang on time"
