#!/usr/bin/env bash
# Sounds that fail: a WAV without samples and the first 4 KB of an MP3 each give the chime,
# since a sound counts only once it has been heard for a second. The sound server killed
# 3 s into the chime: the notice says that nothing could be played, and once the server is
# back the next alarm is heard.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
sox -n -r 44100 -c 2 -b 16 "$E2E_WORK/empty.wav" trim 0 0
head -c 4096 "$CHIMEWELL_APP/alarm.mp3" >"$E2E_WORK/cut.mp3"

for sound in empty.wav cut.mp3; do
    app=$(app_folder "short $sound" firstload=0)
    write_day_file "$app" Monday 13:00 "Short" "$E2E_WORK/$sound"
    fake_clock "2026-12-07 12:59:56" # a Monday
    launch "$app"
    wait_window Chimewell 20 >/dev/null || fail "no main window"
    record_start
    sleep 12
    rms=$(record_stop)
    freq=$(record_frequency)
    log "$sound: RMS $rms, rough frequency $freq Hz"
    loud "$rms" && awk -v f="$freq" 'BEGIN { exit !(f > 700) }' || fail "$sound gave no chime"
    pass "$sound, too short to be heard, gave the chime"
    kill "$APP_PID"
    wait_for 10 bash -c "! kill -0 $APP_PID"
done

app=$(app_folder "restart" firstload=0)
write_day_file "$app" Monday 13:00 "Before" ""
movable_clock "2026-12-07 12:59:57"
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window"
wait_for 10 notified "Time for Before." || fail "the first alarm did not ring"
sleep 3
kill -9 "$E2E_SOUND"
wait_for 10 notified "No sound could be played." || fail "the notice did not say it"
pass "with the sound server gone, the notice says that no sound could be played"
start_sound
write_day_file "$app" Monday 13:01 "After" ""
move_clock "2026-12-07 13:00:57"
record_start
sleep 9
rms=$(record_stop)
log "after the restart: RMS $rms"
loud "$rms" || fail "the alarm after the sound server's restart was silent"
pass "the alarm after the sound server's restart was heard"
