#!/usr/bin/env bash
# Chimewell.exe driven from the command line, its only way in on Windows: --version and a bad
# argument answer at once; where no copy runs, --list reads the files and --timer starts one
# hidden; the timer is listed, rings after its 20 s (heard), and --stop ends it (0, then 1);
# --cancel of no timer answers 1.
. "$(dirname "$0")/winelib.sh"
start_desktop none
name=$WINE_FOLDER_NAME
app=$(wine_folder "$name" firstload=0)
cli() { "$WINE" "C:\\$name\\Chimewell.exe" "$@" 2>>"$E2E_WORK/cli.err" | tr -d '\r'; }
status_of() { # the exit status of a call, its output in $E2E_WORK/out
    local rc=0
    "$WINE" "C:\\$name\\Chimewell.exe" "$@" >"$E2E_WORK/out" 2>>"$E2E_WORK/cli.err" || rc=$?
    echo "$rc"
}
loud_now() { loud "$(record_for 1)"; }
printf '[alarm]\r\ntime=07:30\r\nreason=Gym\r\n' >"$app/schedule/$(LC_ALL=C date -d tomorrow +%A).ini"

[ "$(cli --version)" = "Chimewell 1.4.0" ] || fail "--version: $(cli --version)"
[ "$(status_of --frobnicate)" = 2 ] && grep -q "unknown argument" "$E2E_WORK/cli.err" ||
    fail "a bad argument was not refused"
cli --list | grep -qP "^$(date -d tomorrow +%F) 07:30:00\tweekly\t[a-z]+\.1\tGym$" ||
    fail "--list without a running copy: $(cli --list)"
copies_are 0 || fail "--list started a copy"
pass "--version, a refusal and --list answered without starting anything"

started=$(date +%s)
[ "$(status_of --timer 20s Tee)" = 0 ] || fail "--timer failed: $(cat "$E2E_WORK/cli.err")"
grep -q "^t1	" "$E2E_WORK/out" || fail "--timer printed $(cat "$E2E_WORK/out")"
wait_for 20 copies_are 1 || fail "--timer started no copy"
cli --list | grep -qP "\ttimer\tt1\tTee$" || fail "the timer is not listed"
[ "$(status_of --cancel t9)" = 1 ] || fail "--cancel of no timer did not answer 1"
[ "$(status_of --stop)" = 1 ] || fail "--stop before the ring did not answer 1"
pass "the timer started a hidden copy and is listed"

sleep $((started + 21 - $(date +%s)))
wait_for 10 loud_now || fail "the timer is not heard"
elapsed=$(($(date +%s) - started))
[ "$(status_of --stop)" = 0 ] || fail "--stop while it rings did not answer 0"
sleep 1
silent "$(record_for 2)" || fail "sound after --stop"
[ "$(status_of --stop)" = 1 ] || fail "a second --stop did not answer 1"
pass "heard $elapsed s after it was started; --stop silenced it"
