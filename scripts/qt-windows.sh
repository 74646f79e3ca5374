#!/usr/bin/env bash
# Prints the folder of Qt 6.4.2 for 64-bit Windows (shared, release, built with the
# posix-thread mingw-w64 compiler) that the Windows build uses, and makes it first where it is
# missing: unpacked from the project's archive in ../shared/qt-windows/ (CHIMEWELL_QT_ARCHIVE
# names another), or, where there is none, built from Debian's own Qt sources, once, into the
# cache folder (about 45 minutes on two cores).
#   qt-windows.sh          prints the folder, making it when needed
#   qt-windows.sh --find   prints it only when it is made already; fails otherwise
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${CHIMEWELL_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/chimewell}
prefix=$cache/qt6.4.2-win64
archive_name=qt6.4.2-win64-mingw-posix.tar.xz
archive_sha256=2effb162b5ac50df3f4a5bd26842cbd57587fa188c7e69e08b96ea7fb86624dc

ready() { [ -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ] && [ -f "$prefix/bin/Qt6Widgets.dll" ]; }

if ready; then
    echo "$prefix"
    exit 0
fi
[ "${1:-}" = --find ] && exit 1

# The archive beside the project, or beside the repository this one was cloned from.
find_archive() {
    local origin candidates=("${CHIMEWELL_QT_ARCHIVE:-}" "$root/../shared/qt-windows/$archive_name")
    origin=$(git -C "$root" config --get remote.origin.url 2>/dev/null || true)
    [ -d "$origin" ] && candidates+=("$origin/../shared/qt-windows/$archive_name")
    # Where the project's shared folder is on its build machines.
    candidates+=("/work/shared/qt-windows/$archive_name")
    local c
    for c in "${candidates[@]}"; do
        [ -n "$c" ] && [ -f "$c" ] && { echo "$c"; return 0; }
    done
    return 1
}

mkdir -p "$cache"
if archive=$(find_archive); then
    echo "Unpacking Qt for Windows from $archive" >&2
    echo "$archive_sha256  $archive" | sha256sum --check --quiet - >&2 ||
        { echo "$archive is not the Qt for Windows this project was built with" >&2; exit 1; }
    rm -rf "$prefix.part"
    mkdir -p "$prefix.part"
    tar -xJf "$archive" -C "$prefix.part" --strip-components=1
    rm -rf "$prefix"
    mv "$prefix.part" "$prefix"
    echo "$prefix"
    exit 0
fi

echo "No Qt for Windows archive found: building Qt 6.4.2 for Windows from Debian's sources" >&2
echo "into $prefix. This is done once and takes about 45 minutes on two cores." >&2
started=$SECONDS
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
# apt-get source needs the source lists of the release the machine runs.
if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
    . /etc/os-release
    echo "Adding Debian's source lists for $VERSION_CODENAME" >&2
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$VERSION_CODENAME" | "${sudo[@]}" tee /etc/apt/sources.list.d/chimewell-sources.sources >/dev/null
    "${sudo[@]}" apt-get update -qq
fi
"${sudo[@]}" apt-get install -y -qq --no-install-recommends g++-mingw-w64-x86-64-posix \
    gcc-mingw-w64-x86-64-posix mingw-w64-tools ninja-build dpkg-dev qt6-base-dev \
    qt6-base-dev-tools qt6-shader-baker qt6-shadertools-dev >/dev/null

work=$cache/qt-build
trap 'echo "Building Qt for Windows failed; its logs are in $work" >&2' ERR
rm -rf "$work" "$prefix.part"
mkdir -p "$work"
cd "$work"
apt-get source -qq qt6-base=6.4.2+dfsg-10 qt6-shadertools=6.4.2-1 qt6-multimedia=6.4.2-5 >/dev/null
cat >mingw.cmake <<'CMAKE'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
CMAKE
jobs=$(nproc)

mkdir base && (cd base && ../qt6-base-6.4.2+dfsg/configure -prefix "$prefix.part" -release -shared \
    -nomake examples -nomake tests -qt-host-path /usr -xplatform win32-g++ \
    -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
    -no-feature-tabletevent -no-feature-sql -no-feature-printsupport \
    -no-opengl -no-dbus -no-icu -no-openssl -schannel -qt-zlib -qt-libpng -qt-libjpeg -qt-pcre \
    -qt-harfbuzz -qt-freetype -no-feature-vulkan \
    -- -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >configure.log &&
    cmake --build . -j"$jobs" >build.log && cmake --install . >install.log)
echo "qtbase built ($(((SECONDS - started) / 60)) min)" >&2

mkdir shadertools && (cd shadertools && "$prefix.part/bin/qt-configure-module" \
    ../qt6-shadertools-6.4.2 >configure.log && cmake --build . -j"$jobs" >build.log &&
    cmake --install . >install.log)

# Qt's search for the Media Foundation libraries asks for "Mf", "Mfplat"...: on a
# case-sensitive file system it is told where they are, else the backend is left out silently.
# mingw-w64's headers are lower-case, and one header is included by a name of its own.
src=qt6-multimedia-6.4.2
grep -rl -E '#include ["<](Mferror|Mfreadwrite|Wmcodecdsp|InitGuid|Functiondiscoverykeys_devpkey|Dbt|Mfidl)\.h' \
    "$src/src" | while read -r f; do
    sed -i -E 's/#include ([<"])(Mferror|Mfreadwrite|Wmcodecdsp|InitGuid|Functiondiscoverykeys_devpkey|Dbt|Mfidl)\.h/#include \1\L\2\E.h/' "$f"
done
sed -i 's|#include "QUrl.h"|#include <QtCore/qurl.h>|' \
    "$src/src/plugins/multimedia/windows/player/mfplayercontrol_p.h"
lib=/usr/x86_64-w64-mingw32/lib
mkdir multimedia && (cd multimedia && "$prefix.part/bin/qt-configure-module" "../$src" -- \
    -DWMF_MF_LIBRARY=$lib/libmf.a -DWMF_MFUUID_LIBRARY=$lib/libmfuuid.a \
    -DWMF_MFPLAT_LIBRARY=$lib/libmfplat.a -DWMF_MFCORE_LIBRARY=$lib/libmfcore.a \
    -DWMF_PROPSYS_LIBRARY=$lib/libpropsys.a -DFEATURE_ffmpeg=OFF >configure.log &&
    cmake --build . -j"$jobs" >build.log && cmake --install . >install.log)

mv "$prefix.part" "$prefix"
cd "$cache"
rm -rf "$work"
echo "Qt for Windows built in $(((SECONDS - started) / 60)) minutes: $prefix" >&2
echo "$prefix"
