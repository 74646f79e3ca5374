#!/usr/bin/env bash
# A language pack chosen in Options turns the windows into that language: the titles change,
# the main window's captions change on screen, and its menus answer to the new mnemonics.
. "$(dirname "$0")/lib.sh"
start_desktop trayer
app=$(app_folder "language" firstload=0)

launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window"
sleep 1
window_shot "$main" "$E2E_WORK/before.png"

keys "$main" alt+f o
options=$(wait_window Options 10) || fail "File > Options did not open Options"
# The list holds English, French, German, Portuguese-Brazil and Spanish, in that order.
keys "$options" Home Down Down Tab space
wait_window Optionen 10 >/dev/null || fail "the Options title did not turn German"
pass "Options is now \"Optionen\""
grep -q '^language=German.lpk' "$app/Chimewell.ini" || fail "the choice was not saved"

sleep 0.5
window_shot "$main" "$E2E_WORK/after.png"
changed=$(compare -metric AE "$E2E_WORK/before.png" "$E2E_WORK/after.png" null: 2>&1 || true)
log "pixels changed on the main window: $changed"
[ "${changed%% *}" -gt 1000 ] 2>/dev/null || fail "the main window looks the same ($changed)"
shot language-german

# "&Datei" > "Wecker &planen" opens the schedule dialog under its German title.
keys "$main" alt+d p
wait_window "Wecker planen" 10 >/dev/null || fail "the German menu did not open \"Wecker planen\""
pass "the main window's menus and captions are German"

# A new start comes up in the saved language.
kill "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID"
launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window after a restart"
sleep 1
keys "$main" alt+d p
wait_window "Wecker planen" 10 >/dev/null || fail "the restart is not in German"
pass "the language is kept across starts"
