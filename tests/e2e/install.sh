#!/usr/bin/env bash
# Installing as a user would: cmake --install into a folder whose name holds a blank, "$" and
# "%", a stripped program; an install over it that keeps the user's settings and alarms; the
# applications-menu launcher started the way desktops start it, its removal; and the cpack
# archive unpacking to one folder that starts.
. "$(dirname "$0")/lib.sh"
build=$(dirname "$CHIMEWELL_APP")
start_desktop trayer
dir="$E2E_WORK/my apps/\$Chime 100%"
mkdir -p "$(dirname "$dir")"
cmake --install "$build" --prefix "$dir" >"$E2E_WORK/install.log" || fail "cmake --install failed"
for f in chimewell chimewell-lpk Chimewell.ini alarm.mp3 ra2.ico chimewell.png changelog.txt timer.jpg \
    packs/English.lpk packs/German.lpk install-menu.sh schedule LICENSE; do
    [ -e "$dir/$f" ] || fail "the installed folder lacks $f"
done
grep -qi '^firstload=1' "$dir/Chimewell.ini" || fail "the first settings file is not a first load"
size=$(stat -c %s "$dir/chimewell")
[ "$size" -lt 2000000 ] || fail "the installed program is $size bytes, not stripped"
pass "cmake --install laid out the application folder, with a stripped program of $size bytes"

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
gio launch "$entry" >>"$E2E_WORK/app.log" 2>&1 &
wait_for 20 pid_from "$dir" || fail "the launcher did not start the installed program"
pid=$(pid_from "$dir")
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
