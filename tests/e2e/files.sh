#!/usr/bin/env bash
# Files as other programs leave them: a day file mixing a byte order mark, a stray Windows-1252
# byte and UTF-8 still rings with its UTF-8 reason and is left as it was; one that grows past
# 1 MB before its alarm is told, not written over; a settings file of a gigabyte never slows
# the start and is told; a day or settings file that is a pipe, at start or made while the
# program runs, is told and never waited on. (Writes in the file's own encoding, UTF-16 included, and packs that
# are pipes or devices: the core's and the window tests.)
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "files" firstload=0)
printf '\xef\xbb\xbf; caf\xe9 (Latin-1)\r\n[alarm]\r\ntime=13:00\r\nreason=R\xc3\xa9union\r\n' \
    >"$app/schedule/Monday.ini"
cp "$app/schedule/Monday.ini" "$E2E_WORK/Monday.before"
fake_clock "2026-12-07 12:59:55" # a Monday
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window"
wait_for 20 notified "It's 13:00. Time for Réunion." || fail "the mixed-encoding day file did not ring"
cmp -s "$app/schedule/Monday.ini" "$E2E_WORK/Monday.before" || fail "the day file was changed"
pass "a day file with a mark, a Windows-1252 byte and UTF-8 rings with its UTF-8 reason"
head -c 1100000 /dev/zero | tr '\0' ';' >>"$app/schedule/Monday.ini"
cp "$app/schedule/Monday.ini" "$E2E_WORK/Monday.large"
wait_for 10 notified "Monday.ini is not read (larger than 1 MB)" || fail "the large day file was not told"
cmp -s "$app/schedule/Monday.ini" "$E2E_WORK/Monday.large" || fail "the large day file was changed"
pass "a day file that grew past 1 MB is told, and kept"
kill "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID" || kill -9 "$APP_PID"

app=$(app_folder "huge settings")
truncate -s 1G "$app/Chimewell.ini"
started=$(date +%s%N)
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window with a settings file of 1 GB"
ms=$((($(date +%s%N) - started) / 1000000))
rss=$(awk '/^VmRSS/ {print $2}' "/proc/$APP_PID/status")
log "a settings file of 1 GB: the window after $ms ms, $rss kB in use"
[ "$ms" -lt 2000 ] && [ "$rss" -lt 100000 ] || fail "the start was slowed by the settings file"
wait_for 10 notified "Chimewell.ini is not read (larger than 1 MB)" || fail "the settings file was not told"
pass "a settings file of 1 GB is passed over: the window in $ms ms"
kill "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID" || kill -9 "$APP_PID"

app=$(app_folder "pipes" firstload=0)
mkfifo "$app/schedule/Tuesday.ini"
write_day_file "$app" Monday 13:00 "Pipes" ""
fake_clock "2026-12-07 12:59:40" # a Monday
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window with a pipe for a day file"
wait_for 10 notified "Tuesday.ini is not read (a pipe, not a file)" || fail "the pipe was not told"
rm -f "$app/Chimewell.ini" && mkfifo "$app/Chimewell.ini" "$app/schedule/Wednesday.ini"
wait_for 30 notified "It's 13:00. Time for Pipes." || fail "no alarm with pipes made while running"
wait_for 10 notified "Wednesday.ini is not read (a pipe, not a file)" || fail "the new pipe was not told"
pass "pipes for day and settings files, at start and made while running, are told, not waited on"
