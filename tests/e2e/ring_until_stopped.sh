#!/usr/bin/env bash
# Set to ring for five minutes, an alarm with a 3 s sound is heard without a pause between its
# rounds (no 50 ms window below half the loudness), outlives its sound server killed 20 s in
# and back 2 s later, goes on when an alarm that rings once joins it at the next minute and is
# stopped, is still heard four minutes on, and is silent once its five minutes are over.
# Opened a second time while it rings, the tray menu still holds Stop and Snooze, enabled.
# A ring that plays once (a 20 s sound) and loses its server 3 s in is heard to its end.
. "$(dirname "$0")/lib.sh"
E2E_NOTIFY=fake start_desktop xfce
app=$(app_folder "ringing" firstload=0 ringminutes=5)
sox -n -r 44100 -c 2 -b 16 "$E2E_WORK/short.wav" synth 3 sine 400-800 gain -3 # a sweep: overlapping rounds never cancel out
sox -n -r 44100 -c 2 -b 16 "$E2E_WORK/long.wav" synth 20 sine 700 gain -3
write_day_file "$app" Monday 13:00 "Long" "$E2E_WORK/short.wav"
printf '[alarm 2]\r\nTIME=13:01\r\nREASON=Once\r\nMUSIC=%s\r\nRINGMINUTES=0\r\n' \
    "$E2E_WORK/short.wav" >>"$app/schedule/Monday.ini"
movable_clock "2026-12-07 12:59:57" # a Monday
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window"
wait_for 10 grep -q "Time for Long" "$E2E_WORK/notices" || fail "the alarm did not ring"
rang=$SECONDS
heard_at() { # SECONDS: records two seconds that long after the alarm rang; fails when silent
    sleep $((rang + $1 - SECONDS))
    local rms
    rms=$(record_for 2)
    log "$1 s after it rang: RMS $rms"
    loud "$rms" || fail "silent $1 s after it rang"
}
sleep 3
record_for 10 >/dev/null
read -r low high < <(record_evenness)
log "10 s of rounds in 50 ms windows: from $low to $high of the median loudness"
awk -v l="$low" 'BEGIN { exit !(l > 0.5) }' || fail "a pause between rounds"
for opening in 1 2; do
    menu=$(tray_menu)
    for item in "S_top alarm" "S_nooze 5 minutes"; do
        grep -F "'$item'" <<<"$menu" | grep -q "'enabled': <true>.*'visible': <true>" ||
            fail "opening $opening of the tray menu: $menu"
    done
done
pass "no pause between rounds; opened twice, the menu holds Stop and Snooze, enabled"

sleep $((rang + 20 - SECONDS))
kill -9 "$E2E_SOUND"
sleep 2
start_sound
heard_at 35
# At 13:01 an alarm that rings once joins the ring, and is stopped: the ring goes on for the
# five minutes of the first, and ends with them.
wait_for 30 grep -q "Time for Once" "$E2E_WORK/notices" || fail "13:01 did not ring"
heard_at 75
press stop "$(notice_id "Time for Once")"
heard_at 240
heard_at 294
sleep $((rang + 303 - SECONDS))
rms=$(record_for 2)
silent "$rms" || fail "still heard after the five minutes (RMS $rms)"
pass "a 3 s sound rang for five minutes, past its sound server's restart and a later alarm"

printf '[alarm]\r\ntime=13:06\r\nreason=Twenty\r\nmusic=%s\r\nringminutes=0\r\n' "$E2E_WORK/long.wav" \
    >"$app/schedule/Monday.ini"
move_clock "2026-12-07 13:05:58"
wait_for 10 grep -q "Time for Twenty" "$E2E_WORK/notices" || fail "the once-ring did not ring"
sleep 3
kill -9 "$E2E_SOUND"
sleep 1
start_sound
sleep 4
rms=$(record_for 3)
log "after the restart: RMS $rms"
loud "$rms" || fail "the rest of the once-ring was lost"
pass "a ring that plays once is heard past its sound server's restart"
