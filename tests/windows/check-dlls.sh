#!/usr/bin/env bash
# Unpacks the Windows ZIP (the newest Chimewell-*-Windows-*.zip in BUILD-FOLDER) and fails
# unless every DLL that a shipped .exe or .dll imports is in the folder (beside the program or
# the importing file) or is part of Windows 10 (those Qt and the runtime use, the API sets).
#   check-dlls.sh BUILD-FOLDER
set -euo pipefail
zip=$(ls -t "$1"/Chimewell-*-Windows-*.zip 2>/dev/null | head -1)
[ -n "$zip" ] || { echo "no ZIP in $1: run cpack first"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
tops=("$work"/*)
[ ${#tops[@]} = 1 ] && [ -d "${tops[0]}" ] || { echo "the ZIP does not hold one top folder"; exit 1; }
folder=${tops[0]}
system=" advapi32 authz bcrypt comctl32 comdlg32 crypt32 d2d1 d3d11 d3d12 d3d9 dnsapi dwmapi
dwrite dxgi gdi32 imm32 iphlpapi kernel32 mpr msvcrt ncrypt netapi32 ntdll ole32 oleaut32
rpcrt4 secur32 setupapi shcore shell32 shlwapi user32 userenv usp10 uxtheme version winmm
winhttp winspool ws2_32 wtsapi32 "
found() { [ -n "$(find "$1" -maxdepth 1 -iname "$2" -print -quit)" ]; }
files=0 imports=0 missing=0
while read -r file; do
    files=$((files + 1))
    while read -r dll; do
        imports=$((imports + 1))
        name=${dll,,}
        found "$folder" "$dll" || found "$(dirname "$file")" "$dll" ||
            [[ $name == api-ms-win-* || $name == ext-ms-win-* ]] ||
            [[ ${system//$'\n'/ } == *" ${name%.dll} "* ]] || {
            echo "${file#"$folder/"} imports $dll, which is neither in the folder nor part of Windows"
            missing=$((missing + 1))
        }
    done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
done < <(find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \))
echo "$files files, $imports imports checked, $missing missing"
[ $files -gt 0 ] && [ $missing = 0 ]
