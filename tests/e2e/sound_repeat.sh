#!/usr/bin/env bash
# Ten rounds of ▶ then ■ through the window: every round is heard. (One reused media player
# fell silent for good after a few rounds.)
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "repeat" firstload=0)
make_tone "$E2E_WORK/tone.wav" 600
launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window"
sleep 1
# Reason, time, then the music field; then on to ▶.
keys "$main" Tab Tab ctrl+a
type_text "$main" "$E2E_WORK/tone.wav"
keys "$main" Tab Tab Tab
heard=0
for round in 1 2 3 4 5 6 7 8 9 10; do
    record_start
    sleep 0.3
    keys "$main" space # ▶; the focus moves on to ■
    sleep 1.5
    keys "$main" space # ■; the focus moves on past it
    sleep 1.5
    rms=$(record_stop)
    log "round $round: RMS $rms"
    loud "$rms" && heard=$((heard + 1))
    keys "$main" shift+Tab # back to ▶ (■ is disabled again)
done
[ $heard = 10 ] || fail "only $heard of 10 rounds were heard"
pass "all 10 rounds of play and stop were heard"
