#!/usr/bin/env bash
# A desktop without a notification area or a notification server: "Minimize to systray"
# minimises the window; two alarms at one minute are each listed, with their own buttons, in
# one notice window; with a message box of the program open, the notice window's Stop still
# stops; and the alarms missed in eight days asleep are each named in a window with a Close.
. "$(dirname "$0")/lib.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
E2E_NOTIFY=none start_desktop none wm
app=$(app_folder "no tray" firstload=0 ringminutes=5)
write_day_file "$app" Monday 13:00 "Lunch" ""
printf '[alarm 2]\r\ntime=13:00\r\nreason=Tea\r\n' >>"$app/schedule/Monday.ini"
movable_clock "2026-12-07 12:59:50" # a Monday
launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window"
sleep 1
# Backwards from the first field, the tab order wraps to "Minimize to systray".
keys "$main" shift+Tab space
wait_for 5 bash -c "xprop -id $main WM_STATE | grep -q Iconic" ||
    fail "the window was not minimised ($(xprop -id "$main" WM_STATE))"
alive "$APP_PID" || fail "the program ended"
pass "\"Minimize to systray\" minimises the window"

notice=$(wait_window Chimewell 20) || fail "no notice window"
atspi texts >"$E2E_WORK/texts.log"
grep -q "Time for Lunch" "$E2E_WORK/texts.log" && grep -q "Time for Tea" "$E2E_WORK/texts.log" ||
    fail "not both alarms listed: $(cat "$E2E_WORK/texts.log")"
[ "$(atspi names Chimewell | grep -c 'push button: Stop')" = 2 ] || fail "not a Stop for each"
keys "$notice" Escape # closing the window stops both
wait_for 5 window_gone Chimewell || fail "the notice window stayed"
pass "two alarms at one minute: one window lists each with its own Stop and Snooze"

xdotool windowmap "$main"
keys "$main" alt+f s
schedule=$(wait_window "Schedule alarm" 10) || fail "Schedule alarm did not open"
keys "$schedule" Return # Schedule, without a reason
wait_for 5 bash -c '[ $(xdotool search --onlyvisible --name "^Chimewell$" | wc -l) = 2 ]' ||
    fail "no message box"
# The next minute, on the clock as it runs (a jump of the clock would be a sleep).
next=$(date -d "@$(( $("${E2E_LAUNCHER[@]}" date +%s) / 60 * 60 + 60 ))" +%H:%M)
printf '[alarm]\r\ntime=%s\r\nreason=Boxed\r\n' "$next" >"$app/schedule/Monday.ini"
wait_for 70 bash -c '[ $(xdotool search --onlyvisible --name "^Chimewell$" | wc -l) = 3 ]' ||
    fail "no notice window beside the message box"
atspi texts | grep -q "Time for Boxed" || fail "the alarm did not ring: $(atspi texts)"
loud "$(record_for 1)" || fail "the alarm was not heard"
keys "$(xdotool search --onlyvisible --name '^Chimewell$' | tail -1)" space # the notice's Stop
sleep 1
silent "$(record_for 2)" || fail "Stop did nothing while the message box was open"
pass "with a message box open, the notice window's Stop stops the alarm"

write_day_file "$app" Wednesday 09:00 "Midweek" ""
write_day_file "$app" Saturday 10:30 "Market" ""
kill -STOP "$APP_PID"
move_clock "2026-12-15 14:00:00" # eight days on, a Tuesday
kill -CONT "$APP_PID"
# The next look at the clock comes within 30 s: the window's clock is not watched under twm.
wait_for 60 bash -c '[ $(xdotool search --onlyvisible --name "^Chimewell$" | wc -l) = 3 ]' ||
    fail "no window told the missed alarms"
sleep 1
atspi texts >"$E2E_WORK/texts.log"
for missed in "Wednesday 9 Dec: It's 09:00. Time for Midweek." \
    "Saturday 12 Dec: It's 10:30. Time for Market." "Monday 14 Dec: It's $next. Time for Boxed."; do
    grep -q "Missed alarm on $missed" "$E2E_WORK/texts.log" ||
        fail "not named: $missed, in $(cat "$E2E_WORK/texts.log")"
done
{ atspi names Chimewell || true; } | grep -q "push button: Close" ||
    fail "the missed alarms' window has no Close"
pass "the alarms missed in eight days asleep are each named, in a window with a Close"
