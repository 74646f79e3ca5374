#!/usr/bin/env bash
# Every window read as a screen reader reads it: each focusable control has a name of its own,
# in English and, after a change of language, in German; and in German the status line, the
# tray icon's tooltip and the alarm's notification are German too.
. "$(dirname "$0")/lib.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
E2E_NOTIFY=fake start_desktop xfce
app=$(app_folder "accessible" firstload=0)
movable_clock "2026-12-07 12:58:00" # a Monday
launch "$app"
main=$(wait_window Chimewell 20) || fail "no main window"
sleep 1
[[ $(atspi clock) == *12:58:0* ]] || fail "the program's clock reads $(atspi clock)"
check_windows() { # MAIN MENU-KEYS TITLE...: the main window, then each dialog its keys open
    local title keys=($2)
    atspi names "$1" >"$E2E_WORK/names.log" || fail "$(tail -1 "$E2E_WORK/names.log")"
    shift 2
    for title in "$@"; do
        keys "$main" "${keys[0]}"
        keys=("${keys[@]:1}")
        wait_window "$title" 10 >/dev/null || fail "\"$title\" did not open"
        sleep 0.5
        atspi names "$title" >>"$E2E_WORK/names.log" || fail "$title: $(tail -1 "$E2E_WORK/names.log")"
        keys "$(wait_window "$title")" Escape
        wait_for 5 window_gone "$title"
    done
    log "$(wc -l <"$E2E_WORK/names.log") focusable controls named"
}
check_list() { # KEYS TITLE ADD-KEY EDITOR-TITLE: the alarm list and its editor
    keys "$main" $1
    local list
    list=$(wait_window "$2" 10) || fail "\"$2\" did not open"
    sleep 0.5
    atspi names "$2" >>"$E2E_WORK/names.log" || fail "$2: $(tail -1 "$E2E_WORK/names.log")"
    keys "$list" "$3"
    wait_window "$4" 10 >/dev/null || fail "\"$4\" did not open"
    sleep 0.5
    atspi names "$4" >>"$E2E_WORK/names.log" || fail "$4: $(tail -1 "$E2E_WORK/names.log")"
    keys "$(wait_window "$4")" Escape
    wait_for 5 window_gone "$4"
    keys "$list" Escape
    wait_for 5 window_gone "$2"
}
check_windows Chimewell "alt+f+s alt+f+d alt+f+o alt+h+a" \
    "Schedule alarm" "Delete alarm" "Options" "About..."
check_list alt+f+a Alarms alt+a Alarm
grep -qx "combo box: Select day" "$E2E_WORK/names.log" || fail "the day box is not named by its frame"
pass "every focusable control has a name of its own, in English"

write_day_file "$app" Monday 13:00 "Sport" "" # the change of language words the status anew
keys "$main" alt+f o
options=$(wait_window Options 10) || fail "Options did not open"
keys "$options" Home Down Down Tab space Escape # German
wait_for 5 window_gone Optionen
check_windows Chimewell "alt+d+p alt+d+l alt+d+o alt+h+b" \
    "Wecker planen" "Wecker löschen" "Optionen" "Über..."
check_list alt+d+a "Alle Wecker" alt+h "Wecker einstellen"
grep -q "Abspielen" "$E2E_WORK/names.log" || fail "the names are not German"
grep -qx "combo box: Tag wählen" "$E2E_WORK/names.log" || fail "the day box is not named in German"
pass "every focusable control has a name of its own, in German"

status=$(atspi status)
tip=$(tray_tip)
log "status: $status; tooltip: $tip"
[[ $status == *"Geplanter Wecker aktiv (13:00)"* ]] || fail "the status line is not German"
[[ $tip == *"Nächster Wecker: Montag 13:00"* ]] || fail "the tooltip is not German"
move_clock "2026-12-07 12:59:57"
wait_for 15 grep -q "body=Es ist 13:00. Zeit für Sport." "$E2E_WORK/notices" ||
    fail "the alarm's notification is not German: $(tail -1 "$E2E_WORK/notices")"
grep -q "actions=stop,Stopp,snooze,Schlummern" "$E2E_WORK/notices" || fail "its buttons are not German"
pass "in German, the status line, the tooltip and the alarm's notification are German"
