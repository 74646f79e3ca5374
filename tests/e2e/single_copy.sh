#!/usr/bin/env bash
# One copy at a time: a second copy says so and ends, the first keeps its window and icon;
# after the first is killed outright a new start works at once.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "single copy" firstload=0)

launch "$app"
first=$APP_PID
wait_window Chimewell 20 >/dev/null || fail "the first copy shows no window"
wait_for 10 tray_icon || fail "the first copy has no tray icon"

launch "$app"
second=$APP_PID
wait_for 10 bash -c '[ $(xdotool search --onlyvisible --name "^Chimewell$" | wc -l) -ge 2 ]' ||
    fail "the second copy showed no message"
box=$(xdotool search --onlyvisible --name '^Chimewell$' | tail -1)
[ "$(xdotool getwindowpid "$box")" = "$second" ] || fail "the message is not the second copy's"
shot already-running
keys "$box" Return
wait_for 10 bash -c "! kill -0 $second" || fail "the second copy did not end"
alive "$first" || fail "the first copy ended"
visible_named Chimewell >/dev/null || fail "the first copy lost its window"
tray_icon >/dev/null || fail "the first copy lost its tray icon"
pass "a second copy says 'already running' and ends; the first is untouched"

kill -9 "$first"
wait_for 10 bash -c "! kill -0 $first"
wait_for 10 window_gone Chimewell || fail "the killed copy's window stayed"
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no start after the first copy was killed"
sleep 1
[ "$(xdotool search --onlyvisible --name '^Chimewell$' | wc -l)" -eq 1 ] ||
    fail "the new start showed a message"
pass "after kill -9 a new start works"
