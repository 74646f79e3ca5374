#!/usr/bin/env bash
# The one-shot alarm, set through the main window with the keyboard a few seconds before its
# time: at 13:00 the sound plays, the balloon says so, and the ticked site is opened.
. "$(dirname "$0")/lib.sh"
start_desktop xfce
app=$(app_folder "one shot" firstload=0)
make_tone "$E2E_WORK/meeting.wav" 880
record_openings
fake_clock "2026-12-07 12:59:42"

launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window"
sleep 1
# Reason, time, sound; then the site; then "Alarm on".
keys "$main" ctrl+a
type_text "$main" "Meeting"
keys "$main" Tab ctrl+a
type_text "$main" "13:00"
keys "$main" Tab ctrl+a
type_text "$main" "$E2E_WORK/meeting.wav"
keys "$main" Tab Tab Tab Tab Tab space Tab ctrl+a
type_text "$main" "https://example.org/meeting"
keys "$main" Tab Tab Tab Tab space
sleep 0.5
shot one-shot-armed
record_start
log "armed; waiting for 13:00 on the program's clock"

wait_for 30 notified "It's 13:00. Time for Meeting." || fail "no balloon"
pass "the balloon says \"It's 13:00. Time for Meeting.\""
wait_for 10 grep -q "https://example.org/meeting" "$E2E_WORK/opened" ||
    fail "the site was not opened (opened: $(cat "$E2E_WORK/opened" 2>/dev/null))"
pass "the site was opened"
sleep 4
rms=$(record_stop)
log "RMS on the sink: $rms"
loud "$rms" || fail "no sound on the sink (RMS $rms)"
pass "the alarm was heard"
