#!/usr/bin/env bash
# Puts Chimewell in the user's applications menu: a launcher for the program in the folder
# this script stands in, and its icon in the sizes of the hicolor theme.
#   install-menu.sh            add the launcher and the icons (again, after moving the folder)
#   install-menu.sh --remove   take both away
set -euo pipefail
app_id=org.chimewell.Chimewell
dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The XDG rules ignore a relative XDG_DATA_HOME.
data=${XDG_DATA_HOME:-}
[[ $data == /* ]] || data=$HOME/.local/share
launcher=$data/applications/$app_id.desktop
sizes=(16 32 48 64 128 256)
icon_dir() { echo "$data/icons/hicolor/${1}x${1}/apps"; }

if [ "${1:-}" = --remove ]; then
    rm -f "$launcher"
    for size in "${sizes[@]}"; do
        rm -f "$(icon_dir "$size")/$app_id.png"
        rmdir "$(icon_dir "$size")" "$(dirname "$(icon_dir "$size")")" 2>/dev/null || true
    done
    rmdir "$data/icons/hicolor" "$data/icons" "$data/applications" 2>/dev/null || true
    echo "Chimewell removed from the applications menu"
    exit 0
fi
[ $# -eq 0 ] || { echo "usage: $0 [--remove]" >&2; exit 2; }
[ -x "$dir/chimewell" ] || { echo "$0: no chimewell program in $dir" >&2; exit 1; }

# The Exec line by the Desktop Entry rules: the path in double quotes, with " ` $ \ escaped by
# a backslash, % written %%, and then every backslash doubled for the string value. GLib's
# launchers look for the program before they undo the %%, so a path holding % starts
# through env.
quoted=$dir/chimewell
quoted=${quoted//\\/\\\\}
quoted=${quoted//\"/\\\"}
quoted=${quoted//\`/\\\`}
quoted=${quoted//\$/\\\$}
quoted=\"${quoted//%/%%}\"
[[ $dir == *%* ]] && quoted="env $quoted"
exec_line=${quoted//\\/\\\\}

mkdir -p "$data/applications"
tmp=$(mktemp "$data/applications/.$app_id.XXXXXX")
cat >"$tmp" <<ENTRY
[Desktop Entry]
Type=Application
Name=Chimewell
GenericName=Alarm clock
Comment=An alarm clock that lives in the system tray
Exec=$exec_line
Icon=$app_id
Terminal=false
Categories=Utility;Clock;
Keywords=alarm;clock;reminder;snooze;
StartupWMClass=chimewell
ENTRY
chmod 644 "$tmp"
mv -f "$tmp" "$launcher"
for size in "${sizes[@]}"; do
    mkdir -p "$(icon_dir "$size")"
    cp -f "$dir/icons/chimewell-$size.png" "$(icon_dir "$size")/$app_id.png"
done
echo "Chimewell added to the applications menu: $launcher"
