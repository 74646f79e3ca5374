#!/usr/bin/env bash
# The sound output as the program plays on it, on the desktop's PulseAudio null sink:
# - muted before a weekly alarm: a notice, the tooltip and the ringing alarm's notice say so;
# - with "unmute while an alarm rings", the sink is unmuted (and raised from 30 % to 50 %) for
#   the ring, heard, and muted at 30 % again after Stop;
# - an alarm of VOLUME=50 is heard quieter than one of VOLUME=100; FADESECONDS=20 is quieter
#   in its first two seconds than after twenty;
# - a media player that plays is paused at the ring and played after Stop, while another one
#   that never answers holds nothing up; one the user stops during the ring stays stopped;
# - the program ending while it rings puts the output back.
. "$(dirname "$0")/lib.sh"
E2E_NOTIFY=fake start_desktop xfce
app=$(app_folder "sound" firstload=0 ringminutes=1)
tone=$E2E_WORK/tone.wav
sox -n -r 44100 -c 2 -b 16 "$tone" synth 40 sine 600 gain -6
alarm_at() { # TIME REASON [MORE]: the Monday file holds that one alarm
    printf '[alarm]\r\nTIME=%s\r\nREASON=%s\r\nMUSIC=%s\r\n%b' "$1" "$2" "$tone" "${3:-}" \
        >"$app/schedule/Monday.ini"
}
ring() { # TIME REASON: the clock moved to just before TIME, until its notice shows
    move_clock "2026-12-07 $(date -d "$1 3 seconds ago" +%H:%M:%S)"
    wait_for 15 grep -q "Time for $2" "$E2E_WORK/notices" || fail "$2 did not ring"
}
stop_ring() { # REASON
    press stop "$(notice_id "Time for $1")"
    sleep 1
}
mute_state() { pactl get-sink-mute e2e | awk '{print $2}'; }
volume_state() { pactl get-sink-volume e2e | grep -o '[0-9]*%' | head -1; }

pactl set-sink-volume e2e 30%
pactl set-sink-mute e2e 1
alarm_at 13:00 Muted
movable_clock "2026-12-07 12:58:00"
launch "$app"
wait_window Chimewell 20 >/dev/null || fail "no main window"
wait_for 15 grep -q "Muted: the 13:00 alarm will not be heard" "$E2E_WORK/notices" ||
    fail "no notice of the muted output: $(cat "$E2E_WORK/notices")"
tray_tip | grep -q "Muted: the 13:00 alarm will not be heard" || fail "tooltip: $(tray_tip)"
ring 13:00 Muted
grep -q "Time for Muted. The sound output is muted." "$E2E_WORK/notices" ||
    fail "the ringing notice does not say muted: $(grep Muted "$E2E_WORK/notices")"
rms=$(record_for 2)
log "ringing into the muted sink: RMS $rms"
silent "$rms" || fail "heard although muted"
stop_ring Muted
[ "$(grep -c "Muted: the 13:00" "$E2E_WORK/notices")" = 1 ] || fail "warned more than once"
pass "muted: told in a notice, the tooltip and the ringing notice"

set_setting "$app" whenmuted unmute
alarm_at 13:02 Unmuted
ring 13:02 Unmuted
wait_for 5 test "$(mute_state)" = no || fail "not unmuted for the ring"
[ "$(volume_state)" = 50% ] || fail "not raised to 50 %: $(volume_state)"
rms=$(record_for 2)
log "unmuted for the ring: RMS $rms"
loud "$rms" || fail "not heard though unmuted"
stop_ring Unmuted
wait_for 5 test "$(mute_state)" = yes || fail "not muted again after Stop"
[ "$(volume_state)" = 30% ] || fail "not put back to 30 %: $(volume_state)"
pass "unmuted and raised for the ring (RMS $rms), put back after Stop"

pactl set-sink-mute e2e 0
pactl set-sink-volume e2e 100%
alarm_at 13:04 Full 'VOLUME=100\r\n'
ring 13:04 Full
sleep 2
full=$(record_for 2)
stop_ring Full
alarm_at 13:05 Half 'VOLUME=50\r\n'
ring 13:05 Half
sleep 2
half=$(record_for 2)
stop_ring Half
log "VOLUME=100: RMS $full; VOLUME=50: RMS $half"
loud "$half" && awk -v h="$half" -v f="$full" 'BEGIN { exit !(h < 0.7 * f && h > 0.3 * f) }' ||
    fail "VOLUME=50 is not about half as loud"
pass "VOLUME=50 plays at about half the loudness (RMS $half against $full)"

alarm_at 13:07 Fading 'FADESECONDS=20\r\n'
ring 13:07 Fading
rang=$SECONDS
first=$(record_for 2)
sleep $((rang + 20 - SECONDS))
later=$(record_for 2)
stop_ring Fading
log "FADESECONDS=20: RMS $first in the first two seconds, $later after twenty"
awk -v a="$first" -v b="$later" 'BEGIN { exit !(a < 0.5 * b) }' || fail "no fade-in"
pass "faded in: RMS $first at first, $later after twenty seconds"

spawn "$E2E_MPRIS_PLAYER" one "$E2E_WORK/one.log"
MPRIS_HANG=1 spawn "$E2E_MPRIS_PLAYER" hung "$E2E_WORK/hung.log"
wait_for 5 gdbus call --session --dest org.mpris.MediaPlayer2.e2eone \
    --object-path /org/mpris/MediaPlayer2 --method org.freedesktop.DBus.Peer.Ping ||
    fail "the test player did not start"
alarm_at 13:09 Music
ring 13:09 Music
wait_for 5 grep -qx Pause "$E2E_WORK/one.log" || fail "the player was not paused"
rms=$(record_for 2)
loud "$rms" || fail "the ring waited for the hung player"
stop_ring Music
wait_for 5 grep -qx Play "$E2E_WORK/one.log" || fail "the player was not played again"
pass "the playing player paused at the ring and played after Stop; the hung one held nothing up"

alarm_at 13:11 Again
ring 13:11 Again
wait_for 5 test "$(grep -cx Pause "$E2E_WORK/one.log")" = 2 || fail "not paused the second time"
gdbus call --session --dest org.mpris.MediaPlayer2.e2eone --object-path /org/mpris/MediaPlayer2 \
    --method org.mpris.MediaPlayer2.Player.Stop >/dev/null
sleep 1
stop_ring Again
sleep 3
[ "$(grep -cx Play "$E2E_WORK/one.log")" = 1 ] || fail "a player the user stopped was played"
pass "a player the user stopped during the ring stays stopped"

# The program ends while it rings with the output raised: the output is put back first.
pactl set-sink-volume e2e 30%
pactl set-sink-mute e2e 1
alarm_at 13:13 Ending
ring 13:13 Ending
wait_for 5 test "$(mute_state)" = no || fail "not unmuted for the last ring"
kill -TERM "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end"
[ "$(mute_state)" = yes ] && [ "$(volume_state)" = 30% ] ||
    fail "not put back as the program ended: $(mute_state) $(volume_state)"
pass "the output put back as the program ended while it rang"
