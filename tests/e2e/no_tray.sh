#!/usr/bin/env bash
# A desktop without a notification area: "Minimize to systray" minimises the window, and an
# alarm's text still reaches the user (as a desktop notification).
. "$(dirname "$0")/lib.sh"
start_desktop none wm
app=$(app_folder "no tray" firstload=0)
write_day_file "$app" Monday 13:00 "Lunch" ""
fake_clock "2026-12-07 12:59:50" # a Monday

launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window"
sleep 1
# Backwards from the first field, the tab order wraps to "Minimize to systray".
keys "$main" shift+Tab space
wait_for 5 bash -c "xprop -id $main WM_STATE | grep -q Iconic" ||
    fail "the window was not minimised ($(xprop -id "$main" WM_STATE))"
alive "$APP_PID" || fail "the program ended"
pass "\"Minimize to systray\" minimises the window"

wait_for 20 notified "It's 13:00. Time for Lunch." || fail "the alarm's text did not reach the user"
pass "the alarm's text arrived as a desktop notification"
