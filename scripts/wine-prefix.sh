#!/usr/bin/env bash
# Makes a private Wine prefix (a Windows of its own) at PREFIX, once: a new user's Windows,
# with the fonts a Windows has. Wine's own fonts (Tahoma for the dialogs' "MS Shell Dlg")
# are put where programs look for them, and Verdana, which Wine lacks, is drawn with
# DejaVu Sans; without them Qt draws its text boxes in a mathematical font that shows nothing.
#   wine-prefix.sh PREFIX
set -euo pipefail
prefix=$1
[ -f "$prefix/system.reg" ] && [ -f "$prefix/drive_c/windows/Fonts/tahoma.ttf" ] && exit 0
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all
echo "Creating the Wine prefix $prefix"
mkdir -p "$prefix"
"$root/scripts/wine-run.sh" wineboot --init >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -w || true
cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/"
"$root/scripts/wine-run.sh" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Verdana \
    /t REG_SZ /d 'DejaVu Sans' /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w || true
