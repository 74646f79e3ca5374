#!/usr/bin/env bash
# What the user types in the one-shot alarm's site and file fields reaches the desktop's
# handler as the shell would read it: ~/, relative and absolute paths as the files they name,
# addresses with a scheme as they stand, anything else as a typed address.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
record_openings
work="$E2E_WORK/working folder"
mkdir -p "$work" "$E2E_WORK/docs"
echo notes >"$HOME/notes.txt"
echo notes >"$work/notes.txt"
echo plain >"$work/plain.txt"
echo report >"$E2E_WORK/docs/report.txt"

fire() { # NAME SITE FILE: types both into a fresh program, arms it and waits for 13:00
    local app main
    app=$(app_folder "$1" firstload=0)
    fake_clock "2026-12-07 12:59:44"
    (cd "$work" && launch "$app")
    APP_PID=$(pgrep -n -f "$app/chimewell")
    E2E_PIDS+=("$APP_PID")
    main=$(wait_window Chimewell 20) || fail "no main window"
    sleep 1
    keys "$main" ctrl+a
    type_text "$main" "Check"
    # to the site: time, music, browse, preview, play, stop, then the site box ticked
    keys "$main" Tab Tab Tab Tab Tab Tab Tab space Tab ctrl+a
    type_text "$main" "$2"
    keys "$main" Tab space Tab ctrl+a # the file box ticked, then its text
    type_text "$main" "$3"
    keys "$main" Tab Tab space # "Alarm on"
    : >"$E2E_WORK/opened"
    wait_for 30 bash -c "[ \$(wc -l <'$E2E_WORK/opened') -ge 2 ]" ||
        fail "$1: not both opened (opened: $(cat "$E2E_WORK/opened"))"
    log "$1 opened: $(tr '\n' ' ' <"$E2E_WORK/opened")"
    kill "$APP_PID"
    wait_for 10 bash -c "! kill -0 $APP_PID" || kill -9 "$APP_PID"
}
opened() { grep -qxF "${1// /%20}" "$E2E_WORK/opened" || fail "\"$1\" was not opened"; }

fire "home and relative" "~/notes.txt" "notes.txt"
opened "file://$HOME/notes.txt"
opened "file://$work/notes.txt"
pass "~/notes.txt and notes.txt opened as the files they name"

fire "address and dot" "https://example.org/meeting?a=1" "./plain.txt"
opened "https://example.org/meeting?a=1"
opened "file://$work/plain.txt"
pass "an address with a scheme as it stands, ./plain.txt as a file"

fire "typed and absolute" "www.example.org" "$E2E_WORK/docs/report.txt"
opened "http://www.example.org"
opened "file://$E2E_WORK/docs/report.txt"
pass "a typed address as the desktop reads it, an absolute path as a file"
