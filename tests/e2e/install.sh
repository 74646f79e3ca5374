#!/usr/bin/env bash
# Installing as a user would: cmake --install into a folder whose name holds a blank, "$" and
# "%", a first start from there, an install over it that keeps the user's settings and
# alarms, the applications-menu launcher started the way desktops start it, its removal, and
# the cpack archive unpacking to one folder that starts.
. "$(dirname "$0")/lib.sh"
build=$(dirname "$CHIMEWELL_APP")
start_desktop trayer
dir="$E2E_WORK/my apps/\$Chime 100%"
mkdir -p "$(dirname "$dir")"
cmake --install "$build" --prefix "$dir" >"$E2E_WORK/install.log" || fail "cmake --install failed"
for f in chimewell chimewell-lpk Chimewell.ini alarm.mp3 ra2.ico changelog.txt timer.jpg \
    packs/English.lpk packs/German.lpk install-menu.sh schedule LICENSE; do
    [ -e "$dir/$f" ] || fail "the installed folder lacks $f"
done
grep -qi '^firstload=1' "$dir/Chimewell.ini" || fail "the first settings file is not a first load"
size=$(stat -c %s "$dir/chimewell")
[ "$size" -lt 2000000 ] || fail "the installed program is $size bytes, not stripped"
pass "cmake --install laid out the application folder, with a stripped program of $size bytes"

launch "$dir"
wait_for 20 bash -c '[ $(xdotool search --onlyvisible --name "^Chimewell$" | wc -l) -ge 2 ]' ||
    fail "no main window and welcome box"
box=$(xdotool search --onlyvisible --name '^Chimewell$' | tail -1)
keys "$box" Return
wait_window Options 10 >/dev/null || fail "Options did not open after the welcome"
wait_for 10 grep -qi $'^firstload=0\r$' "$dir/Chimewell.ini" || fail "firstload=0 was not written"
kill "$APP_PID"
wait_for 10 bash -c "! kill -0 $APP_PID" || kill -9 "$APP_PID"
pass "the installed program started with its welcome and saved firstload=0"

# The user's own settings, alarms and packs survive an install over them.
set_setting "$dir" language German.lpk
write_day_file "$dir" Tuesday 07:15 "Swim" ""
printf 'own pack' >"$dir/packs/Mine.lpk"
cp "$dir/Chimewell.ini" "$E2E_WORK/settings.before"
cmake --install "$build" --prefix "$dir" >>"$E2E_WORK/install.log" || fail "the second install failed"
cmp -s "$dir/Chimewell.ini" "$E2E_WORK/settings.before" || fail "the settings file was replaced"
grep -q "reason=Swim" "$dir/schedule/Tuesday.ini" || fail "the day file was lost"
[ "$(cat "$dir/packs/Mine.lpk")" = "own pack" ] || fail "the user's own pack was touched"
pass "an install over it kept the settings, the day file and the user's pack"

# The applications menu, in a private data folder.
export XDG_DATA_HOME=$E2E_WORK/data
"$dir/install-menu.sh" >/dev/null || fail "install-menu.sh failed"
entry=$XDG_DATA_HOME/applications/org.chimewell.Chimewell.desktop
desktop-file-validate "$entry" || fail "the launcher does not validate"
for size in 16 32 48 64 128 256; do
    [ -s "$XDG_DATA_HOME/icons/hicolor/${size}x$size/apps/org.chimewell.Chimewell.png" ] ||
        fail "no $size px icon"
done
log "$(grep ^Exec= "$entry")"
installed_pid() { # the PID of a program running from the installed folder
    local p
    for p in $(pgrep -x chimewell); do
        [ "$(readlink "/proc/$p/exe")" = "$dir/chimewell" ] && echo "$p" && return 0
    done
    return 1
}
gio launch "$entry" >>"$E2E_WORK/app.log" 2>&1 &
wait_for 20 installed_pid || fail "the launcher did not start the installed program"
pid=$(installed_pid)
E2E_PIDS+=("$pid")
wait_window Chimewell 20 >/dev/null || fail "the launched program shows no window"
pass "the launcher validates and starts the installed program"
kill "$pid"
"$dir/install-menu.sh" --remove >/dev/null
[ -z "$(find "$XDG_DATA_HOME" -mindepth 1)" ] ||
    fail "--remove left $(find "$XDG_DATA_HOME" -mindepth 1 | head -3)"
pass "--remove left nothing behind"

appstreamcli validate --no-net "$dir/org.chimewell.Chimewell.metainfo.xml" >/dev/null ||
    fail "the AppStream metadata do not validate"
pass "the AppStream metadata validate"

# The archive: one folder, from which the program starts.
(cd "$build" && cpack -B "$E2E_WORK/package" >"$E2E_WORK/cpack.log" 2>&1) || fail "cpack failed"
archive=$(ls "$E2E_WORK"/package/Chimewell-*-Linux-*.tar.gz) || fail "no archive"
mkdir "$E2E_WORK/unpacked"
tar xzf "$archive" -C "$E2E_WORK/unpacked"
[ "$(ls "$E2E_WORK/unpacked")" = "$(basename "$archive" .tar.gz)" ] ||
    fail "the archive does not unpack to one folder: $(ls "$E2E_WORK/unpacked")"
launch "$E2E_WORK/unpacked/$(basename "$archive" .tar.gz)"
wait_window Chimewell 20 >/dev/null || fail "the unpacked program did not start"
pass "$(basename "$archive") unpacks to one folder and starts"
