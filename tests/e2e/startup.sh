#!/usr/bin/env bash
# The first start shows the welcome box, then Options, and leaves the settings file with one
# FirstLoad=0, spelt as the file spelt it. A second copy says that one runs and ends, leaving
# the first as it was; once the first is killed outright, a new start works at once, and
# shows no welcome.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "start" FirstLoad=1)
count_named() { xdotool search --onlyvisible --name '^Chimewell$' 2>/dev/null | wc -l; }
two_named() { [ "$(count_named)" -ge 2 ]; }
box() { xdotool search --onlyvisible --name '^Chimewell$' | tail -1; } # a message box

launch "$app"
first=$APP_PID
# The welcome box is modal and titled like the main window: two windows named Chimewell.
wait_for 20 two_named || fail "no welcome box beside the main window"
eval "$(xdotool getwindowgeometry --shell "$(box)")"
[ "$WIDTH" -lt 600 ] || fail "the second Chimewell window is not a message box (${WIDTH}px)"
window_gone Options || fail "Options opened before the welcome box was answered"
keys "$(box)" Return
wait_window Options 10 >/dev/null || fail "Options did not open after the welcome"
wait_for 10 grep -q $'^FirstLoad=0\r$' "$app/Chimewell.ini" || fail "FirstLoad=0 was not written"
[ "$(grep -ci '^firstload=' "$app/Chimewell.ini")" = 1 ] || fail "more than one firstload line"
pass "the welcome box, then Options; the settings file holds one FirstLoad=0"

keys "$(wait_window Options)" Escape
launch "$app"
second=$APP_PID
wait_for 10 two_named || fail "the second copy showed no message"
[ "$(xdotool getwindowpid "$(box)")" = "$second" ] || fail "the message is not the second copy's"
keys "$(box)" Return
wait_for 10 bash -c "! kill -0 $second" || fail "the second copy did not end"
alive "$first" && visible_named Chimewell >/dev/null && tray_icon >/dev/null ||
    fail "the first copy lost its window or its icon"
pass "a second copy says 'already running' and ends; the first is untouched"

kill -9 "$first"
wait_for 10 window_gone Chimewell || fail "the killed copy's window stayed"
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no start after the first copy was killed"
sleep 2
[ "$(count_named)" = 1 ] && window_gone Options || fail "the new start showed a message or Options"
pass "after kill -9 a new start works, without a welcome"
