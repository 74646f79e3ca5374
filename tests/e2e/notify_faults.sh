#!/usr/bin/env bash
# A notification server that is slow, busy with other notices, whimsical, or that crashes:
# Stop and Snooze on an alarm's notice keep working, dismissing it stops the alarm, what the
# server makes up changes nothing, and when it crashes the alarm is told another way.
. "$(dirname "$0")/lib.sh"
E2E_NOTIFY=fake NOTIFY_DELAY_MS=3000 start_desktop trayer
app=$(app_folder "servers" firstload=0)
movable_clock "2026-12-07 12:59:56" # a Monday
write_day_file "$app" Monday 13:00 "Slow" ""
launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window"
sound_after() { # SECONDS: records for two seconds after waiting that long, prints the RMS
    sleep "$1"
    record_start
    sleep 2
    record_stop
}
next_alarm() { # MINUTE REASON: the alarm rings at 13:MINUTE; waits for its notice
    write_day_file "$app" Monday "13:$1" "$2" ""
    move_clock "2026-12-07 13:$(printf %02d $((10#$1 - 1))):58"
    wait_for 10 grep -q "Time for $2" "$E2E_WORK/notices" || fail "no notice for $2"
}

wait_for 10 grep -q "Time for Slow" "$E2E_WORK/notices" || fail "no notification"
press stop # before the server has answered
silent "$(sound_after 4)" || fail "Stop pressed before a slow server answered did not stop"
pass "Stop works on a server that answers after 3 s"

next_alarm 01 "Busy"
id=$(notice_id "Time for Busy")
keys "$main" Tab Tab Tab Tab space # Preview: a notification on top of the alarm's
wait_for 10 [ "$(notice_id "summary=")" -gt "$id" ] || fail "no preview"
press stop "$id"
silent "$(sound_after 3)" || fail "Stop on the alarm's notice did not stop it after a preview"
pass "Stop on the alarm's notification works with another notification on top"

next_alarm 02 "Whims"
id=$(notice_id "Time for Whims")
sleep 3 # the server's answer
press stop 999
close_notice "$id" 1 # expired, by the server's own choice
loud "$(sound_after 1)" || fail "an unknown button or an expired notice stopped the alarm"
pass "a button of an unknown notification and an expiry change nothing"
next_alarm 03 "Dismissed"
sleep 3
close_notice "$(notice_id "Time for Dismissed")" 2 # by the user
silent "$(sound_after 1)" || fail "dismissing the notification did not stop the alarm"
pass "dismissing the alarm's notification stops it"

kill "$(pgrep -f "e2e-notify-server $E2E_WORK/notices")"
NOTIFY_CRASH=1 spawn "$E2E_NOTIFY_SERVER" "$E2E_WORK/notices"
sleep 1
write_day_file "$app" Monday 13:04 "Crash" ""
move_clock "2026-12-07 13:03:58"
sleep 14
[ "$(xdotool search --onlyvisible --name '^Chimewell$' | wc -l)" = 2 ] || # and the main window
    fail "no notice in view after the server crashed inside Notify"
pass "a server that crashes inside Notify: the balloon, then a window that stays"
