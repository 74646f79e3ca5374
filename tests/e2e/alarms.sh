#!/usr/bin/env bash
# Several alarms a day: of a Monday's [alarm] 07:00, [alarm 2] 07:30 switched off and [alarm 7]
# 08:00, only 07:00 and 08:00 ring. The Alarms window, used with the keyboard, adds a Mon-Fri
# 09:00 alarm (each of the five files gains one section, every other byte as it was),
# switches the 07:00 alarm off (08:00 moves up into [alarm], 07:00 is kept switched off) and
# deletes it. An alarm that snoozes 10 minutes rings again 10 minutes on; the tooltip names it.
. "$(dirname "$0")/lib.sh"
E2E_NOTIFY=fake start_desktop xfce
app=$(app_folder "alarms" firstload=0)
printf '[alarm]\r\nREASON=Swim\r\nTIME=07:00\r\nMUSIC=\r\n[alarm 2]\r\nREASON=Late\r\nTIME=07:30\r\nMUSIC=\r\nOFF=1\r\n[alarm 7]\r\nREASON=Bus\r\nTIME=08:00\r\nMUSIC=\r\n' \
    >"$app/schedule/Monday.ini"
for day in Tuesday Wednesday Thursday Friday; do write_day_file "$app" $day 06:45 Work ""; done
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
type_text "$editor" "Stand-up"
keys "$editor" Tab ctrl+a
type_text "$editor" "9:00"
keys "$editor" Return
wait_for 5 window_gone Alarm || fail "OK did not save"
for day in Monday Tuesday Wednesday Thursday Friday; do
    section=$([ $day = Monday ] && echo "alarm 3" || echo "alarm 2")
    cmp -s "$app/schedule/$day.ini" <(cat "$E2E_WORK/before/$day.ini"
        printf '[%s]\r\nREASON=Stand-up\r\nTIME=09:00\r\nMUSIC=\r\n' "$section") ||
        fail "$day.ini: $(cat -A "$app/schedule/$day.ini")"
done
pass "a Mon-Fri 09:00 alarm added one section to each of five files"

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
press snooze
sleep 1
[[ $(tray_tip) == *"Next alarm: Monday 08:20"* ]] || fail "the tooltip: $(tray_tip)"
move_clock "2026-12-07 08:19:50"
sleep 4
[ "$(grep -c "Time for Ten" "$E2E_WORK/notices")" = 1 ] || fail "the snooze rang early"
wait_for 15 bash -c "[ \$(grep -c 'Time for Ten' '$E2E_WORK/notices') = 2 ]" ||
    fail "the snooze did not ring 10 minutes on"
pass "a 10-minute snooze rang 10 minutes on, and the tooltip named it"
