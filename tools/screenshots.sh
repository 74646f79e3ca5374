#!/usr/bin/env bash
# Takes the README's screenshots of the real program on a private headless desktop (the one
# the end-to-end tests use): the main window, each dialog, and an alarm's notification.
#   tools/screenshots.sh [BUILD-FOLDER]    writes docs/*.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CHIMEWELL_APP=${1:-$root/build}/app
docs=$root/docs
. "$root/scripts/desktop.sh"

start_desktop trayer
app=$(app_folder "screenshots" firstload=0)
write_day_file "$app" Monday 13:00 "Team meeting" ""
for day in Monday Tuesday Wednesday Thursday Friday; do
    printf '[alarm 2]\r\nreason=Up for work\r\ntime=06:45\r\nmusic=\r\nsnoozeminutes=10\r\n' \
        >>"$app/schedule/$day.ini"
done
for day in Saturday Sunday; do write_day_file "$app" $day 09:00 "Weekend" ""; done
printf '[alarm 3]\r\nreason=Tablets\r\ntime=20:00\r\nmusic=\r\noff=1\r\n' >>"$app/schedule/Monday.ini"
fake_clock "2026-12-07 12:59:48" # a Monday
launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window"
sleep 1
type_text "$main" "Call the dentist"
keys "$main" Tab ctrl+a
type_text "$main" "16:30"
window_shot "$main" "$docs/main-window.png"

dialog() { # MENU-KEYS TITLE FILE
    keys "$main" $1
    local w
    w=$(wait_window "$2" 10) || fail "no window \"$2\""
    xdotool windowmove "$w" 330 40
    sleep 0.7
    window_shot "$w" "$docs/$3"
    log "docs/$3"
}
dialog "alt+f o" Options options.png
dialog "alt+f s" "Schedule alarm" schedule.png
dialog "alt+f d" "Delete alarm" delete.png
dialog "alt+h a" "About..." about.png
dialog "alt+f a" Alarms alarms.png
keys "$(wait_window Alarms)" alt+e
editor=$(wait_window Alarm 10) || fail "no editor"
xdotool windowmove "$editor" 330 420
sleep 0.7
window_shot "$editor" "$docs/alarm-editor.png"
log "docs/alarm-editor.png"
keys "$editor" Escape
wait_for 5 window_gone Alarm
keys "$(wait_window Alarms)" Escape

# The main window in each shipped language, each from a program of its own.
for lang in German French Spanish Portuguese-Brazil; do
    dir=$(app_folder "screenshots-$lang" firstload=0 language=$lang.lpk)
    "$dir/chimewell" >>"$E2E_WORK/app.log" 2>&1 &
    pid=$!
    E2E_PIDS+=("$pid")
    w=""
    for _ in $(seq 100); do
        for c in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$c")"
            [ "$WIDTH" -gt 200 ] && w=$c && break
        done
        [ -n "$w" ] && break
        sleep 0.1
    done
    [ -n "$w" ] || fail "no main window in $lang"
    xdotool windowmove "$w" 700 20
    sleep 1
    window_shot "$w" "$docs/main-window-$lang.png"
    log "docs/main-window-$lang.png"
    kill "$pid"
done

# The weekly alarm's notification (dunst's, top right), with its Stop and Snooze actions.
log "waiting for 13:00 on the program's clock"
wait_for 30 grep -qF "It's 13:00. Time for Team meeting." "$E2E_WORK/notify.log" || fail "no notification"
sleep 1
import -window root -crop 430x150+850+0 "$docs/balloon.png"
log "docs/balloon.png"
