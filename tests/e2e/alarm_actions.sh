#!/usr/bin/env bash
# Under a StatusNotifier tray, an alarm is a critical notification with Stop and Snooze whose
# text shows exactly as typed; pressing Stop on it silences the alarm.
. "$(dirname "$0")/lib.sh"
E2E_NOTIFY=fake start_desktop xfce
app=$(app_folder "actions" firstload=0)
write_day_file "$app" Monday 13:00 'a<b>&c' "" # the default chime, 24 s long
fake_clock "2026-12-07 12:59:56"
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window"

wait_for 15 grep -q "summary=Chimewell" "$E2E_WORK/notices" || fail "no notification"
line=$(grep "summary=Chimewell" "$E2E_WORK/notices" | tail -1)
log "$line"
[[ $line == *"urgency=2 "* ]] || fail "not critical"
[[ $line == *"actions=stop,Stop,snooze,Snooze 5 minutes "* ]] || fail "not the two actions"
[[ $line == *"body=It's 13:00. Time for a&lt;b&gt;&amp;c." ]] || fail "the text was not escaped"
pass "a critical notification with Stop and Snooze, its text escaped"

record_start
sleep 3
rms=$(record_stop)
log "ringing: RMS $rms"
loud "$rms" || fail "the alarm was not heard"
press stop
sleep 1
record_start
sleep 3
rms=$(record_stop)
log "after Stop: RMS $rms"
awk -v r="$rms" 'BEGIN { exit !(r < 0.001) }' || fail "still heard after Stop (RMS $rms)"
alive "$APP_PID" || fail "the program ended"
pass "Stop on the notification silenced the alarm"
