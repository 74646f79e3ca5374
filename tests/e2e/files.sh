#!/usr/bin/env bash
# Files as other programs leave them. A settings file saved by Notepad as "Unicode" (UTF-16)
# stays UTF-16 with its other lines intact when the program writes to it; a day file mixing
# a byte order mark, a stray Windows-1252 byte and UTF-8 still rings with its UTF-8 reason and
# is left as it was. A language named as a pipe or as a device outside packs/, or a settings
# file of a gigabyte, never stops or slows the start.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "files")
printf '[options]\r\nfirstload=0\r\n; Jürgen’s notes\r\n' | iconv -f UTF-8 -t UTF-16LE |
    { printf '\xff\xfe'; cat; } >"$app/Chimewell.ini"
printf '\xef\xbb\xbf; caf\xe9 (Latin-1)\r\n[alarm]\r\ntime=13:00\r\nreason=R\xc3\xa9union\r\n' \
    >"$app/schedule/Monday.ini"
cp "$app/schedule/Monday.ini" "$E2E_WORK/Monday.before"
fake_clock "2026-12-07 12:59:50" # a Monday

launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window"
keys "$main" alt+f o
options=$(wait_window Options 10) || fail "File > Options did not open"
sleep 2 # the dialog writes the log-on setting
keys "$options" Escape
wait_for 20 notified "It's 13:00. Time for Réunion." || fail "the mixed-encoding day file did not ring"
pass "a day file with a mark, a Windows-1252 byte and UTF-8 rings with its UTF-8 reason"
cmp -s "$app/schedule/Monday.ini" "$E2E_WORK/Monday.before" || fail "the day file was changed"

[ "$(head -c 2 "$app/Chimewell.ini" | od -An -tx1 | tr -d ' ')" = fffe ] ||
    fail "the settings file lost its UTF-16 mark"
text=$(tail -c +3 "$app/Chimewell.ini" | iconv -f UTF-16LE -t UTF-8) ||
    fail "the settings file is no longer UTF-16"
for line in '[options]' 'firstload=0' '; Jürgen’s notes' 'STARTUP=0'; do
    grep -qxF "$line"$'\r' <<<"$text" || fail "the UTF-16 settings file lacks \"$line\": $text"
done
pass "the UTF-16 settings file was written in UTF-16 and kept its other lines"
kill "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID" || kill -9 "$APP_PID"

for language in pipe.lpk ../../../../../../dev/zero; do
    app=$(app_folder "language ${language##*/}" firstload=0 "language=${language//\//\\/}")
    mkfifo "$app/packs/pipe.lpk"
    launch "$app"
    main=$(wait_window Chimewell 20) || fail "language=$language stopped the start"
    keys "$main" alt+f o
    wait_window Options 10 >/dev/null || fail "Options did not open with language=$language"
    # Nothing opened the pipe: a writer would be waiting for a reader still.
    timeout 2 bash -c "echo x >'$app/packs/pipe.lpk'" && fail "the pipe was opened"
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/$APP_PID/status")
    [ "$rss" -lt 300000 ] || fail "language=$language: $rss kB in use"
    pass "language=$language: the program started and Options opened ($rss kB)"
    kill "$APP_PID"
    wait_for 10 bash -c "! kill -0 $APP_PID" || kill -9 "$APP_PID"
done

app=$(app_folder "huge settings")
truncate -s 1G "$app/Chimewell.ini"
started=$(date +%s%N)
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window with a settings file of 1 GB"
ms=$((($(date +%s%N) - started) / 1000000))
rss=$(awk '/^VmRSS/ {print $2}' "/proc/$APP_PID/status")
log "a settings file of 1 GB: the window after $ms ms, $rss kB in use"
[ "$ms" -lt 2000 ] && [ "$rss" -lt 100000 ] || fail "the start was slowed by the settings file"
pass "a settings file of 1 GB is passed over: the window in $ms ms"
