#!/usr/bin/env bash
# The running program driven from a shell and over D-Bus. Where no copy runs, --list reads the
# files and --timer starts one hidden in the tray; "--timer 1m Tea" then rings after 60 s,
# heard, and --stop silences it (0, then 1 with nothing left). A timer started over the bus
# rings with AlarmRang and the Ringing property, and Stop() ends it with AlarmStopped. A timer
# survives SIGTERM and rings at its instant after a new start; one that fell due while the
# program did not run is told as missed, silently. A copy that hangs is given up after 5 s,
# and garbage on its socket changes nothing.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "command line" firstload=0)
cli() { "$app/chimewell" "$@" 2>>"$E2E_WORK/cli.err"; }
status_of() { # the exit status of a command-line call, its output in $E2E_WORK/out
    local rc=0
    cli "$@" >"$E2E_WORK/out" || rc=$?
    echo "$rc"
}
bus() { gdbus call --session --dest org.chimewell.Chimewell --object-path /org/chimewell/Chimewell "$@"; }
write_day_file "$app" "$(LC_ALL=C date -d tomorrow +%A)" 07:30 "Gym" ""

# No copy runs: the list comes from the files, and nothing starts.
[ "$(status_of --list)" = 0 ] || fail "--list without a running copy failed"
grep -qP "^$(date -d tomorrow +%F) 07:30:00\tweekly\t[a-z]+\.1\tGym$" "$E2E_WORK/out" ||
    fail "the weekly alarm is not listed: $(cat "$E2E_WORK/out")"
! pid_from "$app" >/dev/null || fail "--list started a copy"
[ "$(status_of --timer 0)" = 2 ] && [ "$(status_of --timer 25h)" = 2 ] &&
    [ "$(status_of --frobnicate)" = 2 ] || fail "a bad argument was not refused with 2"
grep -q "unknown argument" "$E2E_WORK/cli.err" || fail "no reason for the refusal"
pass "listed from the files; bad arguments refused"

started=$(date +%s)
[ "$(status_of --timer 1m Tea)" = 0 ] || fail "--timer failed: $(cat "$E2E_WORK/cli.err")"
grep -qP "^t1\t$(date -d @$((started + 60)) '+%F %H:%M'):" "$E2E_WORK/out" ||
    grep -qP "^t1\t$(date -d @$((started + 61)) '+%F %H:%M'):" "$E2E_WORK/out" ||
    fail "--timer did not print the id and when it rings: $(cat "$E2E_WORK/out")"
APP_PID=$(pid_from "$app") || fail "--timer did not start the program"
E2E_PIDS+=("$APP_PID")
window_gone Chimewell || fail "the program started for a verb shows its window"
cli --list | grep -qP "\ttimer\tt1\tTea$" || fail "--list does not show the timer"
cli --list --json | python3 -c 'import json,sys; a=json.load(sys.stdin); assert any(x["kind"]=="timer" and x["id"]=="t1" and x["reason"]=="Tea" for x in a)' ||
    fail "--list --json does not show the timer"
[ "$(status_of --stop)" = 1 ] || fail "--stop with nothing ringing did not answer 1"
grep -q "t1=" <(tr -d '\r' <"$app/Chimewell.ini" | tr 'T' 't') || fail "the timer is not kept"
pass "the timer started a hidden copy, is listed and kept"

# Over the bus, while Tea runs.
gdbus monitor --session --dest org.chimewell.Chimewell >"$E2E_WORK/bus.log" 2>&1 &
E2E_PIDS+=($!)
gdbus introspect --session --dest org.chimewell.Chimewell --object-path /org/chimewell/Chimewell |
    grep -q "StartTimer(in  u seconds" || fail "the interface does not introspect"
id=$(bus --method org.chimewell.Chimewell1.StartTimer 15 "Pomodoro") || fail "StartTimer failed"
[ "$id" = "('t2',)" ] || fail "StartTimer answered $id"
! bus --method org.chimewell.Chimewell1.StartTimer "'x'" "'y'" 2>/dev/null ||
    fail "StartTimer took a string for its length"
! bus --method org.chimewell.Chimewell1.CancelTimer t99 2>/dev/null ||
    fail "CancelTimer of no timer was not an error"
bus --method org.chimewell.Chimewell1.List | grep -q "'timer', 't2', 'Pomodoro'" ||
    fail "List does not show the bus's timer"
wait_for 25 notified "Time for Pomodoro." || fail "the bus's timer did not ring"
sleep 1
bus --method org.freedesktop.DBus.Properties.Get org.chimewell.Chimewell1 Ringing |
    grep -q true || fail "Ringing is not true while it rings"
loud "$(record_for 2)" || fail "the bus's timer is not heard"
bus --method org.chimewell.Chimewell1.Stop >/dev/null || fail "Stop() failed"
sleep 1
silent "$(record_for 2)" || fail "sound after Stop()"
grep -q "AlarmRang ('t2', 'Pomodoro')" "$E2E_WORK/bus.log" &&
    grep -q "AlarmStopped ('t2',)" "$E2E_WORK/bus.log" &&
    grep -q "PropertiesChanged ('org.chimewell.Chimewell1', {'Ringing': <false>}" "$E2E_WORK/bus.log" ||
    fail "the bus was not told: $(cat "$E2E_WORK/bus.log")"
pass "over the bus: started, listed, rang, told and stopped"

sleep $((started + 58 - $(date +%s)))
silent "$(record_for 1)" || fail "sound before the timer's minute was over"
wait_for 10 notified "Time for Tea." || fail "the timer did not ring"
elapsed=$(($(date +%s) - started))
[ "$elapsed" -ge 59 ] && [ "$elapsed" -le 63 ] || fail "the timer rang after $elapsed s"
loud "$(record_for 2)" || fail "the timer is not heard"
[ "$(status_of --stop)" = 0 ] || fail "--stop while it rings did not answer 0"
sleep 1
silent "$(record_for 2)" || fail "sound after --stop"
[ "$(status_of --stop)" = 1 ] || fail "a second --stop did not answer 1"
pass "rang after $elapsed s, heard, stopped from the shell"

# Kept across SIGTERM: one rings at its instant after a new start; one due meanwhile is missed.
cli --timer 25s Kept >/dev/null
cli --timer 3s Gone >/dev/null
kept_due=$(($(date +%s) + 25))
kill -TERM "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "SIGTERM did not end it"
grep -q "Kept" "$app/Chimewell.ini" || fail "the timer was not kept at the end"
sleep 5
launch "$app" -minimized
wait_for 10 notified "Missed alarm: It's" || fail "the timer due meanwhile was not told"
grep -q "Time for Gone" "$E2E_WORK/notify.log" || fail "the missed notice does not name it"
silent "$(record_for 2)" || fail "a missed timer made a sound"
wait_for 30 notified "Time for Kept." || fail "the kept timer did not ring"
late=$(($(date +%s) - kept_due))
[ "$late" -ge 0 ] && [ "$late" -le 2 ] || fail "the kept timer rang $late s off its instant"
[ "$(status_of --stop)" = 0 ] || fail "--stop of the kept timer failed"
pass "kept across SIGTERM, rang at its instant; the one due meanwhile told as missed"

# A copy that hangs is given up after 5 s, and no second copy starts.
kill -STOP "$APP_PID"
t0=$(date +%s)
rc=$(status_of --list)
took=$(($(date +%s) - t0))
kill -CONT "$APP_PID"
[ "$rc" = 2 ] && [ "$took" -ge 5 ] && [ "$took" -le 8 ] ||
    fail "against a hanging copy: exit $rc after $took s"
copies=0
for p in $(pgrep -x chimewell); do
    [ "$(readlink "/proc/$p/exe")" != "$app/chimewell" ] || copies=$((copies + 1))
done
[ "$copies" = 1 ] || fail "a second copy started"
# The socket beside the program's lock, named after its folder.
hash=$(printf %s "$(readlink -f "$app")" | sha256sum | cut -c1-16)
socket=$(ls "${XDG_RUNTIME_DIR:-/nowhere}/chimewell-$hash.socket" "/run/user/$(id -u)/chimewell-$hash.socket" \
    "/tmp/chimewell-$(id -u)/chimewell-$hash.socket" 2>/dev/null | head -1 || true)
[ -S "$socket" ] || fail "no socket of the program found"
python3 - "$socket" <<'EOF'
import socket, sys
for junk in (b"\xff\xff\xff\xffgarbage", b"\x00\x00\x00\x05--sto", b"\x00\x00\x00\x03\xc3\x28\x00"):
    s = socket.socket(socket.AF_UNIX)
    s.connect(sys.argv[1])
    s.sendall(junk)
    s.settimeout(1)
    try:
        s.recv(100)
    except OSError:
        pass
    s.close()
EOF
[ "$(status_of --list)" = 0 ] && grep -q "weekly" "$E2E_WORK/out" ||
    fail "garbage on the socket harmed the program"
alive "$APP_PID" || fail "the program ended"
pass "a hanging copy given up after $took s; garbage on the socket changed nothing"
