#!/usr/bin/env bash
# A weekly alarm from a day file written by hand rings at its time with its own sound; with
# its sound file missing, the default chime is heard instead.
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
pass "with its sound missing, the default chime was heard"
