#!/usr/bin/env bash
# Options as a user meets them. With startup=1 the log-on entry appears within seconds; what
# it runs (here through gio launch, as a session would) is the program with -minimized, also
# from a folder named with quotes, "$", "`", a backslash and "%" (which GLib launchers refuse
# unless the entry starts through env); unticking the box removes it. A language chosen there
# turns every window into it, menus and mnemonics included, and is kept for the next start.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder 'a "b" $HOME `x` c\d 100%' firstload=0 startup=1)
entry=$XDG_CONFIG_HOME/autostart/chimewell.desktop
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window"
wait_for 3 test -f "$entry" || fail "no autostart entry"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
pass "the autostart entry appeared: $(grep ^Exec= "$entry")"

kill "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID"
gio launch "$entry" >>"$E2E_WORK/app.log" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 pid_from "$app" || fail "gio launch started nothing"
APP_PID=$(pid_from "$app")
E2E_PIDS+=("$APP_PID")
[ "$(tr '\0' ' ' <"/proc/$APP_PID/cmdline")" = "$app/chimewell -minimized " ] ||
    fail "unexpected command line: $(tr '\0' '|' <"/proc/$APP_PID/cmdline")"
icon=$(wait_for 15 tray_icon && tray_icon) || fail "the launched program has no tray icon"
sleep 1
window_gone Chimewell || fail "the launched program shows its window"
pass "the entry starts the program hidden with -minimized"

xdotool mousemove --window "$icon" 8 8 click 1
main=$(wait_window Chimewell 10) || fail "the tray icon did not show the window"
sleep 0.5
window_shot "$main" "$E2E_WORK/before.png"
keys "$main" alt+f o
options=$(wait_window Options 10) || fail "Options did not open"
keys "$options" Tab Tab Tab space # the list, two buttons, the box
wait_for 3 test ! -e "$entry" || fail "unticking did not remove the entry"
grep -qi $'^startup=0\r$' "$app/Chimewell.ini" || fail "startup=0 was not saved"
pass "unticking removes the entry"

# Back to the list, which holds English, French, German, Portuguese-Brazil and Spanish.
keys "$options" shift+Tab shift+Tab shift+Tab Home Down Down Tab space
wait_window Optionen 10 >/dev/null || fail "the Options title did not turn German"
grep -qi '^language=German.lpk' "$app/Chimewell.ini" || fail "the choice was not saved"
sleep 0.5
window_shot "$main" "$E2E_WORK/after.png"
changed=$(compare -metric AE "$E2E_WORK/before.png" "$E2E_WORK/after.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 1000 ] 2>/dev/null || fail "the main window looks the same ($changed)"
keys "$main" alt+d p # "&Datei" > "Wecker &planen"
wait_window "Wecker planen" 10 >/dev/null || fail "the German menu did not open \"Wecker planen\""
pass "Options is \"Optionen\"; the main window's captions and menus are German"

kill "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID"
launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window after a restart"
keys "$main" alt+d p
wait_window "Wecker planen" 10 >/dev/null || fail "the restart is not in German"
pass "the language is kept across starts"
