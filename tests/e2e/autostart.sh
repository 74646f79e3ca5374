#!/usr/bin/env bash
# Start at log-on: with startup=1 the autostart entry appears within two seconds, and what it
# runs (here through gio launch, as a session would) is the program with -minimized, even
# from a folder whose name has spaces, quotes, "$", "`", a backslash and a "%" (which GLib
# launchers refuse unless the entry starts through env). Unchecking the box in Options
# removes it.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder 'a "b" $HOME `x` c\d 100%' firstload=0 startup=1)
entry=$XDG_CONFIG_HOME/autostart/chimewell.desktop

launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window"
started=$SECONDS
wait_for 3 test -f "$entry" || fail "no autostart entry"
log "entry after $((SECONDS - started)) s or less:"
sed 's/^/    /' "$entry"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
pass "the autostart entry appeared"

kill "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID"
gio launch "$entry" >>"$E2E_WORK/app.log" 2>&1 &
E2E_PIDS+=($!)
started_pid() { # the program started from $app, whatever its name holds
    local p
    for p in $(pgrep -x chimewell); do
        [ "$(readlink "/proc/$p/exe")" = "$app/chimewell" ] && echo "$p" && return 0
    done
    return 1
}
wait_for 10 started_pid || fail "gio launch started nothing"
pid=$(started_pid)
E2E_PIDS+=("$pid")
mapfile -d '' argv <"/proc/$pid/cmdline"
log "gio launch ran: $(printf '[%s] ' "${argv[@]}")"
[ "${#argv[@]}" -eq 2 ] && [ "${argv[0]}" = "$app/chimewell" ] && [ "${argv[1]}" = -minimized ] ||
    fail "unexpected command line"
icon=$(wait_for 15 tray_icon && tray_icon) || fail "the launched program has no tray icon"
sleep 1
window_gone Chimewell || fail "the launched program shows its window"
pass "the entry starts the program hidden with -minimized"

# Show the window from the tray, open Options and clear the box (list, two buttons, box).
xdotool mousemove --window "$icon" 8 8 click 1
main=$(wait_window Chimewell 10) || fail "the tray icon did not show the window"
keys "$main" alt+f o
options=$(wait_window Options 10) || fail "Options did not open"
keys "$options" Tab Tab Tab space
wait_for 3 test ! -e "$entry" || fail "unchecking did not remove the entry"
wait_for 3 grep -q '^STARTUP=0' "$app/Chimewell.ini" || grep -qi '^startup=0' "$app/Chimewell.ini" ||
    fail "startup=0 was not saved"
pass "unchecking removes the entry"
