#!/usr/bin/env bash
# Several alarms a day: of a Monday's [alarm] 07:00, [alarm 2] 07:30 switched off and [alarm 7]
# 08:00, only 07:00 and 08:00 ring. The Alarms window, used with the keyboard, opens its editor
# as a dialog of its own, adds a Mon-Fri 09:00 alarm (each of the five files gains one section
# in its own line ends, every other byte as it was), switches the 07:00 alarm off (08:00 moves
# up into [alarm], 07:00 is kept switched off) and deletes it. An alarm that snoozes 10 minutes
# rings again 10 minutes on, and the tooltip names it; snoozed again across a jump of the clock
# it is told as missed, silently. The notices show the program's picture, by its file and as
# image data. Ended by SIGTERM (as at log-out) while a notice shows, the program closes it first.
. "$(dirname "$0")/lib.sh"
E2E_NOTIFY=fake start_desktop xfce
app=$(app_folder "alarms" firstload=0)
printf '[alarm]\r\nREASON=Swim\r\nTIME=07:00\r\nMUSIC=\r\n[alarm 2]\r\nREASON=Late\r\nTIME=07:30\r\nMUSIC=\r\nOFF=1\r\n[alarm 7]\r\nREASON=Bus\r\nTIME=08:00\r\nMUSIC=\r\n' \
    >"$app/schedule/Monday.ini"
for day in Wednesday Thursday Friday; do write_day_file "$app" $day 06:45 Work ""; done
printf '[alarm]\nREASON=Work\nTIME=06:45\nMUSIC=\n' >"$app/schedule/Tuesday.ini" # LF alone
cp -r "$app/schedule" "$E2E_WORK/before"
movable_clock "2026-12-07 06:59:56" # a Monday
launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window"
rings() { wait_for "${2:-10}" grep -q "Time for $1" "$E2E_WORK/notices"; }
rings Swim || fail "07:00 did not ring"
move_clock "2026-12-07 07:29:56"
sleep 8
rings Late 0 && fail "the switched-off 07:30 rang"
move_clock "2026-12-07 07:59:56"
rings Bus || fail "08:00 did not ring"
pass "07:00 and 08:00 rang, the switched-off 07:30 did not"

keys "$main" alt+f a
list=$(wait_window Alarms 10) || fail "the Alarms window did not open"
keys "$list" alt+a
editor=$(wait_window Alarm 10) || fail "the editor did not open"
xprop -id "$editor" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$list")" ||
    fail "the editor is not a dialog of the Alarms window: $(xprop -id "$editor" WM_TRANSIENT_FOR)"
type_text "$editor" "Stand-up"
keys "$editor" Tab ctrl+a
type_text "$editor" "9:00"
keys "$editor" Return
wait_for 5 window_gone Alarm || fail "OK did not save"
for day in Monday Tuesday Wednesday Thursday Friday; do
    section=$([ $day = Monday ] && echo "alarm 3" || echo "alarm 2")
    end='\r\n'
    [ $day = Tuesday ] && end='\n'

    cmp -s "$app/schedule/$day.ini" <(cat "$E2E_WORK/before/$day.ini"
        printf "[%s]${end}REASON=Stand-up${end}TIME=09:00${end}MUSIC=${end}" "$section") ||
        fail "$day.ini: $(cat -A "$app/schedule/$day.ini")"
done
pass "a Mon-Fri 09:00 alarm added one section to each of five files, in their own line ends"

# The list by time: Tue-Fri 06:45, Mon 07:00, Mon 07:30, Mon 08:00, Mon-Fri 09:00.
keys "$list" ctrl+Home Down space
wait_for 5 grep -q "^\[alarm 4\]" "$app/schedule/Monday.ini" || fail "07:00 was not switched off"
grep -A3 -F "[alarm]" "$app/schedule/Monday.ini" | grep -q "TIME=08:00" || fail "08:00 did not move up"
grep -A4 -F "[alarm 4]" "$app/schedule/Monday.ini" | grep -q "OFF=1" || fail "07:00 was not kept off"
keys "$list" alt+d
wait_for 5 bash -c '[ $(xdotool search --onlyvisible --name "^Chimewell$" | wc -l) -ge 2 ]' ||
    fail "Delete did not ask"
keys "$(xdotool search --onlyvisible --name '^Chimewell$' | tail -1)" alt+y
wait_for 5 bash -c "! grep -q Swim '$app/schedule/Monday.ini'" || fail "07:00 was not deleted"
pass "07:00 was switched off (08:00 moved up into [alarm]) and deleted"
keys "$list" Escape

write_day_file "$app" Monday 08:10 "Ten" ""
printf 'SNOOZEMINUTES=10\r\n' >>"$app/schedule/Monday.ini"
move_clock "2026-12-07 08:09:56"
rings Ten || fail "08:10 did not ring"
[[ $(grep "Time for Ten" "$E2E_WORK/notices") == *"icon=file://$app/chimewell.png image=64x64 "* ]] ||
    fail "no picture: $(grep "Time for Ten" "$E2E_WORK/notices")"
press snooze
sleep 1
[[ $(tray_tip) == *"Next alarm: Monday 08:20"* ]] || fail "the tooltip: $(tray_tip)"
move_clock "2026-12-07 08:19:50"
sleep 4
[ "$(grep -c "Time for Ten" "$E2E_WORK/notices")" = 1 ] || fail "the snooze rang early"
wait_for 15 bash -c "[ \$(grep -c 'Time for Ten' '$E2E_WORK/notices') = 2 ]" ||
    fail "the snooze did not ring 10 minutes on"
pass "a 10-minute snooze rang 10 minutes on, and the tooltip named it"

press snooze
wait_for 5 grep -qx "closed id=$(notice_id "Time for Ten")" "$E2E_WORK/notices" ||
    fail "Snooze did not take the notice away"
move_clock "2026-12-07 10:05:00" # asleep, or a clock set forward, across the snooze's time
record_start
wait_for 40 grep -q "Missed alarm: It's 08:10. Time for Ten." "$E2E_WORK/notices" ||
    fail "the snooze that passed in a jump of the clock was not told"
rms=$(record_stop)
silent "$rms" || fail "the missed snooze was heard (RMS $rms)"
[ "$(grep -c "^id=.*body=It's 08:10. Time for Ten" "$E2E_WORK/notices")" = 2 ] ||
    fail "the missed snooze rang: $(grep 'Time for Ten' "$E2E_WORK/notices")"
pass "snoozed across a jump of the clock, the alarm is told as missed, silently"

id=$(notice_id "Missed alarm")
kill -TERM "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "SIGTERM did not end the program"
grep -q "^closed id=$id$" "$E2E_WORK/notices" || fail "the notice was left behind"
pass "ended by SIGTERM, the program closed its notice first"
