#!/usr/bin/env bash
# Chimewell.exe started from "C:\Wecker Łódź": its main window shows; a second start says
# "already running" and ends, also while the first hangs; after a kill the next start runs;
# -minimized shows no window and keeps running; without ra2.ico, alarm.mp3 and packs\ it
# starts with its own icon in the tray.
. "$(dirname "$0")/winelib.sh"
start_desktop none
name=$WINE_FOLDER_NAME
app=$(wine_folder "$name" firstload=0)
started=$SECONDS
wine_launch "$name"
main=$(wait_window Chimewell 60) || fail "no main window"
pass "the main window shows ($((SECONDS - started)) s after the start)"
first=$APP_PID
for hanging in no yes; do
    [ $hanging = yes ] && kill -STOP "$first"
    wine_launch "$name"
    wait_for 30 windows_are 2 ||
        fail "the second start showed nothing (first hanging: $hanging)"
    copies_are 2 || fail "$(copies) copies while the second one tells"
    keys "$(windows_by_size Chimewell | tail -1)" Return
    wait_for 15 bash -c "! kill -0 $APP_PID" || fail "the second copy did not end"
    copies_are 1 || fail "$(copies) copies after the second start"
done
kill -CONT "$first"
pass "a second start tells \"already running\" once and ends, also while the first hangs"

kill -9 "$first"
wait_for 10 copies_are 0 || fail "the killed copy stayed"
wine_launch "$name" -minimized
wait_for 30 copies_are 1 || fail "no copy after a kill"
sleep 8
window_gone Chimewell || fail "-minimized showed a window"
kill -0 "$APP_PID" || fail "the hidden copy ended"
pass "after a kill the next start runs; -minimized shows no window and keeps running"

$WINESERVER -k
rm -rf "$app/ra2.ico" "$app/alarm.mp3" "$app/packs"
wine_launch "$name"
wait_window Chimewell 60 >/dev/null || fail "no main window without ra2.ico, alarm.mp3 and packs"
tray=$(wait_window "Wine System Tray" 10) || fail "no tray"
sleep 1
window_shot "$tray" "$E2E_WORK/tray.png"
colours=$(convert "$E2E_WORK/tray.png" -format '%k' info:)
[ "$colours" -gt 4 ] || fail "the tray shows no icon ($colours colours)"
pass "without ra2.ico, alarm.mp3 and packs it starts, with its own icon in the tray"
