#!/usr/bin/env bash
# The first start of Chimewell.exe from a 200-character path with letters outside the ANSI code
# page: the welcome, then Options, whose log-on box writes the Run value (the quoted path,
# -minimized) and removes it; German makes Options "Optionen" and the menus German, also at the
# next start, which puts the Run value back from startup=1; an alarm added in "Wecker planen".
# GetPrivateProfileString reads the files as written, the day file with Linux's bytes.
. "$(dirname "$0")/winelib.sh"
start_desktop none
name="$WINE_FOLDER_NAME $(printf 'x%.0s' $(seq 1 183))"
app=$(wine_folder "$name") # as unpacked: firstload=1
expected="\"C:\\$name\\Chimewell.exe\" -minimized"
no_run_value() {
    "$WINE" reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Chimewell /f \
        >/dev/null 2>&1 || true
}
run_value_becomes() { # TEXT: within 10 s
    for _ in $(seq 20); do
        [ "$(run_value)" = "$1" ] && return 0
        sleep 0.5
    done
    fail "the Run value is \"$(run_value)\", not \"$1\""
}
answer_box() { keys "$(windows_by_size Chimewell | tail -1)" Return; }
no_run_value
wine_launch "$name"
wait_for 60 windows_are 2 ||
    fail "no main window and welcome"
main=$(windows_by_size Chimewell | head -1)
answer_box
options=$(wait_window Options 15) || fail "Options did not follow the welcome"
keys "$options" Tab Tab Tab space # the list, two buttons, the box
run_value_becomes "$expected"
keys "$options" space
run_value_becomes ""
keys "$options" space shift+Tab shift+Tab shift+Tab Home Down Down Tab space # German
wait_window Optionen 10 >/dev/null || fail "the Options title did not turn German"
pass "the log-on box writes the Run value $expected and removes it; Options turns German"

wine_keys "$main" 60 50 alt+d p # on the clock; "&Datei" > "Wecker &planen"
schedule=$(wait_window "Wecker planen" 10) || fail "the German menu did not open \"Wecker planen\""
keys "$schedule" ctrl+a && type_text "$schedule" Tuesday
keys "$schedule" Tab Tab && type_text "$schedule" Gym # Go, then the reason
keys "$schedule" Tab ctrl+a && type_text "$schedule" 07:15
keys "$schedule" Return
wait_for 10 windows_are 2 &&
    answer_box || fail "no message after Planen"
day=$app/schedule/Tuesday.ini
wait_for 5 test -f "$day" || fail "no Tuesday.ini"
for row in "options firstload 0" "options startup 1" "options language German.lpk" \
    "alarm reason Gym" "alarm time 07:15" "alarm music "; do
    read -r section key value <<<"$row"
    file=$app/Chimewell.ini
    [ "$section" = alarm ] && file=$day
    got=$(profile_value "$file" "$section" "$key")
    [ "$got" = "${value:-}" ] || fail "Windows reads $key=\"$got\", not \"$value\": $(cat -A "$file")"
done
[ "$(od -An -c "$day")" = "$(printf '[alarm]\r\nREASON=Gym\r\nTIME=07:15\r\nMUSIC=\r\n' | od -An -c)" ] ||
    fail "Tuesday.ini is not what the Linux program writes: $(cat -A "$day")"
pass "\"Wecker planen\" adds the alarm; Windows reads the settings and the day file as written"

$WINESERVER -k
no_run_value
wine_launch "$name"
main=$(wait_window Chimewell 60) || fail "no main window after a restart"
run_value_becomes "$expected"
wine_keys "$main" 60 50 alt+d p
wait_window "Wecker planen" 10 >/dev/null || fail "the restart is not in German"
pass "the next start is German, and startup=1 puts the Run value back without Options shown"
