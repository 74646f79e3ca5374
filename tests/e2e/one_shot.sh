#!/usr/bin/env bash
# The one-shot alarm typed in through the keyboard a few seconds before its time: at 13:00 its
# sound plays, its notification says so, and the ticked site and file are handed to the
# desktop (a file named relative to the working folder as the file it names).
. "$(dirname "$0")/lib.sh"
start_desktop trayer
record_openings
make_tone "$E2E_WORK/meeting.wav" 880
mkdir "$E2E_WORK/work"
echo notes >"$E2E_WORK/work/notes.txt"
app=$(app_folder "one shot" firstload=0)
fake_clock "2026-12-07 12:59:44"
(cd "$E2E_WORK/work" && launch "$app")
APP_PID=$(pgrep -n -f "$app/chimewell")
E2E_PIDS+=("$APP_PID")
main=$(wait_window Chimewell 20) || fail "no main window"
sleep 1
keys "$main" ctrl+a
type_text "$main" "Meeting"
keys "$main" Tab Tab ctrl+a # past the time, 13:00, to the sound
type_text "$main" "$E2E_WORK/meeting.wav"
# past browse, preview, play and stop to the site box, ticked; the site; the file box
keys "$main" Tab Tab Tab Tab Tab space Tab ctrl+a
type_text "$main" "https://example.org/meeting?a=1"
keys "$main" Tab space Tab ctrl+a
type_text "$main" "notes.txt"
keys "$main" Tab Tab space # "Alarm on"
record_start
wait_for 30 notified "It's 13:00. Time for Meeting." || fail "no notification"
wait_for 10 bash -c "[ \$(wc -l <'$E2E_WORK/opened') -ge 2 ]" ||
    fail "not both opened (opened: $(cat "$E2E_WORK/opened"))"
sleep 3
rms=$(record_stop)
log "RMS $rms, opened $(tr '\n' ' ' <"$E2E_WORK/opened")"
loud "$rms" || fail "no sound on the sink"
grep -qxF "https://example.org/meeting?a=1" "$E2E_WORK/opened" || fail "the site was not opened"
grep -qxF "file://$E2E_WORK/work/notes.txt" "$E2E_WORK/opened" || fail "the file was not opened"
pass "it rang, told, and opened the site and the file"
