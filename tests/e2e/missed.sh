#!/usr/bin/env bash
# A program stopped across its alarm (as by a suspended machine) tells the alarm it missed
# when it runs again, and rings nothing.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "missed" firstload=0)
make_tone "$E2E_WORK/low.wav" 300
write_day_file "$app" Monday 13:00 "Dentist" "$E2E_WORK/low.wav"
movable_clock "2026-12-07 12:59:50"
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window"
sleep 2
kill -STOP "$APP_PID"
# Two minutes pass on the program's clock while it is stopped.
move_clock "2026-12-07 13:01:50"
sleep 2
record_start
kill -CONT "$APP_PID"
wait_for 10 notified "Missed alarm: It's 13:00. Time for Dentist." ||
    fail "no missed-alarm notification"
pass "the missed alarm was told"
sleep 3
rms=$(record_stop)
log "RMS on the sink: $rms"
awk -v r="$rms" 'BEGIN { exit !(r < 0.001) }' || fail "a sound was heard (RMS $rms)"
pass "nothing rang late"
