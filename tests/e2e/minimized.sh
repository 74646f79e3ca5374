#!/usr/bin/env bash
# -minimized: only the tray icon shows; a left click on it shows the window; the tray menu's
# Exit ends the program and takes the icon away.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "minimized" firstload=0)

launch "$app" -minimized
icon=$(wait_for 20 tray_icon && tray_icon) || fail "no tray icon"
sleep 1
window_gone Chimewell || fail "the main window is visible"
alive "$APP_PID" || fail "the program ended"
pass "started hidden with a tray icon"

xdotool mousemove --window "$icon" 8 8 click 1
wait_window Chimewell 10 >/dev/null || fail "a left click on the icon did not show the window"
shot minimized-restored
pass "a left click shows the window"

xdotool mousemove --window "$icon" 8 8 click 3
# Qt's own pop-up menu: Show, a separator, Exit.
wait_for 5 bash -c 'xdotool search --onlyvisible --class chimewell | while read w; do
    xdotool getwindowname "$w"; done | grep -qx "SysPopup"' || true
sleep 0.5
shot tray-menu
xdotool key Up Return
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "Exit in the tray menu did not end the program"
wait_for 5 bash -c '! xdotool search --onlyvisible --class chimewell' ||
    fail "a window or the icon stayed"
pass "the tray menu's Exit ends the program and removes the icon"
