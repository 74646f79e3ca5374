#!/usr/bin/env bash
# A weekly alarm from a day file written by hand rings at its time with its own sound; with
# its sound file missing or not a sound at all, the default chime is heard instead; and five
# firings in one run are each heard.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
make_tone "$E2E_WORK/low.wav" 300

ring() { # NAME MUSIC: runs a Monday 13:00 alarm; sets rms and freq
    local app
    app=$(app_folder "$1" firstload=0)
    write_day_file "$app" Monday 13:00 "Stand-up" "$2"
    fake_clock "2026-12-07 12:59:54" # a Monday
    launch "$app"
    wait_window Chimewell 20 >/dev/null || fail "no main window"
    record_start
    sleep 14
    rms=$(record_stop)
    freq=$(record_frequency)
    kill "$APP_PID"
    wait_for 10 bash -c "! kill -0 $APP_PID" || kill -9 "$APP_PID"
}

ring "own sound" "$E2E_WORK/low.wav"
log "own sound: RMS $rms, rough frequency $freq Hz"
loud "$rms" || fail "the weekly alarm was not heard"
awk -v f="$freq" 'BEGIN { exit !(f > 200 && f < 450) }' || fail "not its own sound ($freq Hz)"
pass "the weekly alarm rang with its own sound"

ring "missing sound" "$E2E_WORK/no such file.mp3"
log "missing sound: RMS $rms, rough frequency $freq Hz"
loud "$rms" || fail "nothing was heard when the sound file was missing"
awk -v f="$freq" 'BEGIN { exit !(f > 700) }' || fail "not the default chime ($freq Hz)"
grep -q "CRITICAL" "$E2E_WORK/app.log" && fail "the sound stack complained: $(grep CRITICAL "$E2E_WORK/app.log")"
pass "with its sound missing, the default chime was heard"

head -c 8192 /dev/urandom >"$E2E_WORK/noise.mp3"
ring "undecodable sound" "$E2E_WORK/noise.mp3"
log "undecodable sound: RMS $rms, rough frequency $freq Hz"
loud "$rms" || fail "nothing was heard when the sound file was not a sound"
awk -v f="$freq" 'BEGIN { exit !(f > 700) }' || fail "not the default chime ($freq Hz)"
pass "with a sound file that does not decode, the default chime was heard"

# Five firings in one run: after each, the day file moves on a minute and the clock on to
# three seconds before it (under the one-minute late window, so nothing counts as slept).
app=$(app_folder "five" firstload=0)
write_day_file "$app" Monday 13:00 "Round" "$E2E_WORK/low.wav"
movable_clock "2026-12-07 12:59:56"
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window"
for k in 0 1 2 3 4; do
    record_start
    sleep 7
    rms=$(record_stop)
    log "firing $((k + 1)) at 13:0$k: RMS $rms"
    loud "$rms" || fail "firing $((k + 1)) of 5 was not heard"
    write_day_file "$app" Monday "13:0$((k + 1))" "Round" "$E2E_WORK/low.wav"
    move_clock "2026-12-07 13:0$k:57"
done
pass "five weekly firings in one run were each heard"
