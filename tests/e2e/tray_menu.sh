#!/usr/bin/env bash
# The tray menu never changes under the pointer: open while an alarm's sound ends, it keeps
# Stop and Snooze, the same size and the same picture, until it closes; opened again, it has
# lost them.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "menu" firstload=0)
sox -n -r 44100 -c 2 -b 16 "$E2E_WORK/short.wav" synth 3 sine 500 gain -3
write_day_file "$app" Monday 13:00 "Short" "$E2E_WORK/short.wav"
fake_clock "2026-12-07 12:59:57" # a Monday
launch "$app" -minimized
icon=$(wait_for 15 tray_icon && tray_icon) || fail "no tray icon"
menu_shot() { # FILE: the open tray menu's picture; prints its size
    local w
    w=$(xdotool search --onlyvisible --class chimewell | while read -r w; do
        [ "$w" != "$icon" ] && echo "$w"; done | tail -1)
    [ -n "$w" ] || return 1
    window_shot "$w" "$1"
    identify -format '%wx%h' "$1"
}
wait_for 10 grep -q "Time for Short" "$E2E_WORK/notify.log" || fail "the alarm did not ring"
xdotool mousemove --window "$icon" 8 8 click 3
sleep 1
before=$(menu_shot "$E2E_WORK/before.png") || fail "no tray menu"
sleep 4 # the sound ends
after=$(menu_shot "$E2E_WORK/after.png") || fail "the tray menu went"
changed=$(compare -metric AE "$E2E_WORK/before.png" "$E2E_WORK/after.png" null: 2>&1 || true)
log "open while ringing: $before, after the sound ended: $after, $changed pixels changed"
[ "$before" = "$after" ] && [ "${changed%% *}" = 0 ] || fail "the open menu changed"
xdotool key Escape
sleep 1
xdotool mousemove --window "$icon" 8 8 click 3
sleep 1
again=$(menu_shot "$E2E_WORK/again.png") || fail "no tray menu the second time"
log "opened again: $again"
[ "${again#*x}" -lt "${before#*x}" ] || fail "Stop and Snooze are still offered"
pass "the open menu kept its items; opened again, it offers no Stop or Snooze"
