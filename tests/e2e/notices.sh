#!/usr/bin/env bash
# An alarm's notification, on a server that takes 3 s to answer: critical, with Stop and
# Snooze, its text escaped for a server that reads markup; Stop works before the server has
# answered and with another notification on top; a button of an unknown notification changes
# nothing; a notice the server expires, or loses in a restart, is shown again; dismissing
# stops the alarm; and when the server crashes inside Notify, or never answers it, the alarm is
# told by a balloon and then by a window that stays.
. "$(dirname "$0")/lib.sh"
E2E_NOTIFY=fake NOTIFY_DELAY_MS=3000 start_desktop trayer
app=$(app_folder "servers" firstload=0)
movable_clock "2026-12-07 12:59:56" # a Monday
write_day_file "$app" Monday 13:00 'a<b>&c' "" # the default chime, 24 s long
launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window"
sound_after() { # SECONDS: records for two seconds after waiting that long, prints the RMS
    sleep "$1"
    record_for 2
}
next_alarm() { # MINUTE REASON: the alarm rings at 13:MINUTE; waits for its notification
    write_day_file "$app" Monday "13:$1" "$2" ""
    move_clock "2026-12-07 13:$(printf %02d $((10#$1 - 1))):58"
    wait_for 10 grep -q "Time for $2" "$E2E_WORK/notices" || fail "no notification for $2"
}
newer_notice() { [ "$(notice_id "summary=")" -gt "$1" ]; }

wait_for 10 grep -q "summary=Chimewell" "$E2E_WORK/notices" || fail "no notification"
line=$(tail -1 "$E2E_WORK/notices")
[[ $line == *"urgency=2 timeout=0 actions=stop,Stop,snooze,Snooze 5 minutes "* ]] ||
    fail "not critical with Stop and Snooze: $line"
[[ $line == *"body=It's 13:00. Time for a&lt;b&gt;&amp;c." ]] || fail "the text was not escaped"
loud "$(sound_after 0)" || fail "the alarm was not heard"
press stop # before the server has answered
silent "$(sound_after 3)" || fail "Stop pressed before the server answered did not stop"
pass "a critical notification, its text escaped; Stop works on a server that answers after 3 s"

next_alarm 01 "Busy"
id=$(notice_id "Time for Busy")
keys "$main" Tab Tab Tab Tab space # Preview: a notification on top of the alarm's
wait_for 10 newer_notice "$id" || fail "no preview"
press stop "$id"
silent "$(sound_after 3)" || fail "Stop on the alarm's notice did not stop it after a preview"
pass "Stop on the alarm's notification works with another notification on top"

next_alarm 02 "Whims"
press stop 999
# expired, by the server's own choice, before its answer to Notify has arrived
close_notice "$(notice_id "Time for Whims")" 1
loud "$(sound_after 1)" || fail "an unknown button or an expired notice stopped the alarm"
wait_for 10 bash -c "[ \$(grep -c 'Time for Whims' '$E2E_WORK/notices') = 2 ]" ||
    fail "the expired notice was not shown again"
kill "$(pgrep -f "e2e-notify-server $E2E_WORK/notices")"
spawn "$E2E_NOTIFY_SERVER" "$E2E_WORK/notices"
wait_for 10 bash -c "[ \$(grep -c 'Time for Whims' '$E2E_WORK/notices') = 3 ]" ||
    fail "the notice was not shown again on the restarted server"
id=$(notice_id "Time for Whims") lines=$(wc -l <"$E2E_WORK/notices")
press stop "$id"
wait_for 10 bash -c "tail -n +$((lines + 1)) '$E2E_WORK/notices' | grep -qx 'closed id=$id'" ||
    fail "Stop on the notice shown again did not withdraw it"
pass "an unknown button changes nothing; an expired notice, and one lost in a restart, come back"
next_alarm 03 "Dismissed"
sleep 3
close_notice "$(notice_id "Time for Dismissed")" 2 # by the user
silent "$(sound_after 1)" || fail "dismissing the notification did not stop the alarm"
pass "dismissing the alarm's notification stops it"

for server in CRASH HANG; do
    pkill -f "e2e-notify-server $E2E_WORK/notices" || true # the crashed one is gone already
    env "NOTIFY_$server=1" "$E2E_NOTIFY_SERVER" "$E2E_WORK/notices" &
    E2E_PIDS+=($!)
    sleep 1
    minute=$([ $server = CRASH ] && echo 04 || echo 05)
    write_day_file "$app" Monday "13:$minute" "$server" ""
    move_clock "2026-12-07 13:$((10#$minute - 1)):58"
    # a crashed server is waited for 5 s to come back, a hung one 10 s to answer; then the
    # balloon and the window come (beside the main window)
    wait_for 20 bash -c "[ \$(xdotool search --onlyvisible --name '^Chimewell\$' | wc -l) = 2 ]" ||
        fail "no notice in view after a server that ${server}ed"
    keys "$(xdotool search --onlyvisible --name '^Chimewell$' | tail -1)" Escape # its Stop
    wait_for 5 bash -c "[ \$(xdotool search --onlyvisible --name '^Chimewell\$' | wc -l) = 1 ]" ||
        fail "Escape did not close the notice window"
done
pass "a server that crashes inside Notify or never answers: the balloon and a window that stays"
