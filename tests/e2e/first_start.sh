#!/usr/bin/env bash
# First start: the welcome box, then Options; the settings file then holds the key once, set
# to 0 (spelled as the file spelled it, as the Windows profile functions keep it), and the
# next start shows no welcome.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "first start" FirstLoad=1)
grep -q '^FirstLoad=1' "$app/Chimewell.ini" || fail "the folder does not start with FirstLoad=1"

launch "$app"
# The welcome box is modal and titled like the main window: two windows named Chimewell.
wait_for 20 bash -c '[ $(xdotool search --onlyvisible --name "^Chimewell$" | wc -l) -ge 2 ]' ||
    fail "no welcome box beside the main window"
shot first-start-welcome
main=$(xdotool search --onlyvisible --name '^Chimewell$' | head -1)
box=$(xdotool search --onlyvisible --name '^Chimewell$' | tail -1)
eval "$(xdotool getwindowgeometry --shell "$box")"
[ "$WIDTH" -lt 600 ] || fail "the second Chimewell window is not a message box (${WIDTH}px)"
window_gone Options || fail "Options opened before the welcome box was answered"
pass "welcome box shown"

keys "$box" Return
wait_for 10 bash -c '[ $(xdotool search --onlyvisible --name "^Chimewell$" | wc -l) -eq 1 ]' ||
    fail "the welcome box did not close"
wait_window Options 10 >/dev/null || fail "Options did not open after the welcome"
pass "then Options"
wait_for 10 grep -q $'^FirstLoad=0\r$' "$app/Chimewell.ini" || fail "FirstLoad=0 was not written"
count=$(grep -ci '^firstload=' "$app/Chimewell.ini")
[ "$count" -eq 1 ] || fail "the settings file holds $count firstload lines"
pass "the settings file holds one FirstLoad=0"

kill "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID" || fail "the program did not end on SIGTERM"
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "the second start shows no main window"
sleep 2
[ "$(xdotool search --onlyvisible --name '^Chimewell$' | wc -l)" -eq 1 ] ||
    fail "the second start shows a welcome box again"
window_gone Options || fail "the second start opened Options"
pass "the second start shows no welcome"
