#!/usr/bin/env bash
# Started hidden, Snooze pressed at a fraction of a second rings the alarm again within a
# second of five minutes on, and the tooltip names that time meanwhile. The notice shows the
# program's picture, by its file and as image data. Ended by SIGTERM (as at log-out) while its
# notice shows, the program closes the notice first.
. "$(dirname "$0")/lib.sh"
E2E_NOTIFY=fake start_desktop xfce
app=$(app_folder "snooze folder" firstload=0)
write_day_file "$app" Monday 13:00 "Nap" ""
fake_clock "2026-12-07 12:59:57" # a Monday
launch "$app" -minimized
wait_for 15 grep -q "Time for Nap" "$E2E_WORK/notices" || fail "the alarm did not ring"
line=$(grep "Time for Nap" "$E2E_WORK/notices")
[[ $line == *"icon=file://$app/chimewell.png image=64x64 "* ]] || fail "no picture: $line"
pass "the notice names the program's picture by its file and carries it as image data"
sleep 1.37
press snooze
pressed=$(date +%s.%N)
sleep 1
[[ $(tray_tip) == *"Next alarm: Monday 13:05"* ]] || fail "the tooltip: $(tray_tip)"
wait_for 320 bash -c "[ \$(grep -c 'Time for Nap' '$E2E_WORK/notices') -ge 2 ]" ||
    fail "the snoozed alarm did not ring"
after=$(awk -v a="$pressed" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
log "rang again $after s after Snooze"
# Snooze is pressed up to 0.1 s before the server tells it (it looks every 100 ms).
awk -v s="$after" 'BEGIN { exit !(s >= 299.5 && s <= 301.2) }' || fail "not five minutes on"
pass "hidden, the snoozed alarm rang again $after s after Snooze"

id=$(notice_id "Time for Nap")
kill -TERM "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "SIGTERM did not end the program"
grep -q "^closed id=$id$" "$E2E_WORK/notices" || fail "the notice was left behind"
pass "ended by SIGTERM, the program closed its notice first"
