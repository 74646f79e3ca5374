#!/usr/bin/env bash
# Set to ring for five minutes, an alarm with a 3 s sound is still heard a minute and four
# minutes on, and is silent after Stop. After Snooze the tray's tooltip names the snoozed time.
. "$(dirname "$0")/lib.sh"
E2E_NOTIFY=fake start_desktop xfce
app=$(app_folder "ringing" firstload=0 ringminutes=5)
sox -n -r 44100 -c 2 -b 16 "$E2E_WORK/short.wav" synth 3 sine 500 gain -3
write_day_file "$app" Monday 13:00 "Long" "$E2E_WORK/short.wav"
movable_clock "2026-12-07 12:59:57" # a Monday
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window"
wait_for 10 grep -q "Time for Long" "$E2E_WORK/notices" || fail "the alarm did not ring"
rang=$SECONDS
for at in 10 60 240; do
    sleep $((rang + at - SECONDS))
    record_start
    sleep 2
    rms=$(record_stop)
    log "$at s after it rang: RMS $rms"
    loud "$rms" || fail "silent $at s after it rang"
done
press stop
sleep 1
record_start
sleep 2
rms=$(record_stop)
silent "$rms" || fail "still heard after Stop (RMS $rms)"
pass "a 3 s sound rang on for four minutes and stopped at Stop"

write_day_file "$app" Monday 13:05 "Again" ""
move_clock "2026-12-07 13:04:58"
wait_for 10 grep -q "Time for Again" "$E2E_WORK/notices" || fail "the second alarm did not ring"
press snooze
sleep 1
tip=$(tray_tip)
log "tooltip: $tip"
[[ $tip == *"Next alarm: Monday 13:10"* ]] || fail "the tooltip does not name the snoozed alarm"
pass "after Snooze the tooltip names the snoozed time"
