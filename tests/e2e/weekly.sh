#!/usr/bin/env bash
# A weekly alarm from a day file written by hand rings at its time with its own sound; with
# its sound missing, not a sound, without samples or cut to its first 4 KB (too short to be
# heard for a second), the default chime is heard instead. Five firings in one run are each
# heard; with the sound server killed 3 s into the chime of a sixth, the notice says that no
# sound could be played, and once the server is back the next alarm is heard.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
make_tone "$E2E_WORK/low.wav" 300
head -c 8192 /dev/urandom >"$E2E_WORK/noise.mp3"
sox -n -r 44100 -c 2 -b 16 "$E2E_WORK/empty.wav" trim 0 0
head -c 4096 "$CHIMEWELL_APP/alarm.mp3" >"$E2E_WORK/cut.mp3"

for sound in low.wav "no such file.mp3" noise.mp3 empty.wav cut.mp3; do
    app=$(app_folder "sound $sound" firstload=0)
    write_day_file "$app" Monday 13:00 "Stand-up" "$E2E_WORK/$sound"
    fake_clock "2026-12-07 12:59:54" # a Monday
    launch "$app"
    wait_window Chimewell 20 >/dev/null || fail "no main window"
    rms=$(record_for 14)
    freq=$(record_frequency)
    log "$sound: RMS $rms, rough frequency $freq Hz"
    kill "$APP_PID"
    wait_for 10 bash -c "! kill -0 $APP_PID" || kill -9 "$APP_PID"
    loud "$rms" || fail "nothing was heard with $sound"
    if [ "$sound" = low.wav ]; then
        awk -v f="$freq" 'BEGIN { exit !(f > 200 && f < 450) }' || fail "not its own sound"
        pass "the weekly alarm rang with its own sound"
    else
        awk -v f="$freq" 'BEGIN { exit !(f > 700) }' || fail "not the default chime"
        grep -q CRITICAL "$E2E_WORK/app.log" && fail "the sound stack complained"
        pass "with $sound, the default chime was heard"
    fi
done

# After each firing the day file moves on a minute and the clock on to three seconds before
# it (under the one-minute late window, so nothing counts as slept).
app=$(app_folder "five" firstload=0)
write_day_file "$app" Monday 13:00 "Round" "$E2E_WORK/low.wav"
movable_clock "2026-12-07 12:59:56"
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window"
for k in 0 1 2 3 4; do
    rms=$(record_for 7)
    log "firing $((k + 1)) at 13:0$k: RMS $rms"
    loud "$rms" || fail "firing $((k + 1)) of 5 was not heard"
    write_day_file "$app" Monday "13:0$((k + 1))" "Round" "$([ $k -lt 4 ] && echo "$E2E_WORK/low.wav")"
    move_clock "2026-12-07 13:0$k:57"
done
pass "five weekly firings in one run were each heard"

wait_for 10 notified "It's 13:05. Time for Round." || fail "the sixth firing did not ring"
sleep 3
kill -9 "$E2E_SOUND" # 3 s into the chime
wait_for 10 notified "No sound could be played." || fail "the notice did not say so"
pass "with the sound server gone, the notice says that no sound could be played"
start_sound
write_day_file "$app" Monday 13:06 "After" ""
move_clock "2026-12-07 13:05:57"
rms=$(record_for 7)
log "after the restart: RMS $rms"
loud "$rms" || fail "the alarm after the sound server's restart was silent"
pass "the alarm after the sound server's restart was heard"
