#!/usr/bin/env bash
# Installs the Debian 12 packages that Chimewell needs and that are not installed yet.
#   setup-debian.sh build   to build and run the program
#   setup-debian.sh test    also what the tests need (headless desktop, sound server, fuzzers)
#   setup-debian.sh windows the Windows cross-compiler, Wine, the build machine's Qt tools and
#                           the headless desktop that the Windows program's scenarios run on
set -euo pipefail
want=${1:-build}

packages=(g++ make cmake qt6-base-dev qt6-multimedia-dev libpulse-dev pkg-config
          gstreamer1.0-plugins-base gstreamer1.0-plugins-good qt6-translations-l10n doctest-dev)
[ "$want" = windows ] && packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
                                    binutils-mingw-w64-x86-64 wine64 fonts-wine unzip xvfb xauth
                                    x11-utils xdotool imagemagick fonts-dejavu-core dbus
                                    pulseaudio pulseaudio-utils sox)
if [ "$want" = test ]; then
    packages+=(xvfb xauth x11-utils xdotool imagemagick fonts-dejavu-core dbus dbus-x11 trayer
               dunst pulseaudio pulseaudio-utils sox lame faketime desktop-file-utils
               libglib2.0-bin xfce4-panel twm clang-14 libclang-rt-14-dev appstream
               at-spi2-core python3-pyatspi)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
