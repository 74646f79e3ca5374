#!/usr/bin/env bash
# -minimized: only the tray icon shows. An alarm rings: the tray menu, open while its sound
# ends, keeps its items and its picture until it closes, and opened again it has the same
# items, Stop and Snooze greyed. A left click on the icon shows the window; the menu's Exit
# ends the program and takes the icon away.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "tray" firstload=0)
sox -n -r 44100 -c 2 -b 16 "$E2E_WORK/short.wav" synth 3 sine 500 gain -3
write_day_file "$app" Monday 13:00 "Short" "$E2E_WORK/short.wav"
fake_clock "2026-12-07 12:59:57" # a Monday
launch "$app" -minimized
icon=$(wait_for 20 tray_icon && tray_icon) || fail "no tray icon"
sleep 1
window_gone Chimewell || fail "the main window is visible"
pass "started hidden with a tray icon"

menu_shot() { # FILE: the open tray menu's picture; prints its size
    local w
    w=$(xdotool search --onlyvisible --class chimewell | grep -vx "$icon" | tail -1)
    [ -n "$w" ] && window_shot "$w" "$1" && identify -format '%wx%h' "$1"
}
wait_for 10 notified "Time for Short" || fail "the alarm did not ring"
xdotool mousemove --window "$icon" 8 8 click 3
sleep 1
before=$(menu_shot "$E2E_WORK/before.png") || fail "no tray menu"
sleep 4 # the sound ends
after=$(menu_shot "$E2E_WORK/after.png") || fail "the tray menu went"
changed=$(compare -metric AE "$E2E_WORK/before.png" "$E2E_WORK/after.png" null: 2>&1 || true)
log "open while ringing: $before; after the sound ended: $after, $changed pixels changed"
[ "$before" = "$after" ] && [ "${changed%% *}" = 0 ] || fail "the open menu changed"
xdotool key Escape
pass "the open menu kept its items while the sound ended"

xdotool mousemove --window "$icon" 8 8 click 1
wait_window Chimewell 10 >/dev/null || fail "a left click on the icon did not show the window"
pass "a left click shows the window"
xdotool mousemove --window "$icon" 8 8 click 3
sleep 1
again=$(menu_shot "$E2E_WORK/again.png") || fail "no tray menu the second time"
greyed=$(compare -metric AE "$E2E_WORK/before.png" "$E2E_WORK/again.png" null: 2>&1 || true)
[ "$again" = "$before" ] && [ "${greyed%% *}" -gt 0 ] || fail "not the same items, greyed ($again)"
xdotool key Up Return # Exit, the last item
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "Exit in the tray menu did not end the program"
wait_for 5 bash -c '! xdotool search --onlyvisible --class chimewell' || fail "the icon stayed"
pass "opened again, the menu greys Stop and Snooze; its Exit ends the program and removes the icon"
