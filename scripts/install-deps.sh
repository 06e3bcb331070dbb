#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and
# this machine lacks. Does nothing when everything is there.
set -u
packages=(
    cmake make g++ libgtest-dev googletest          # native build and unit tests
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix   # the Windows programs
    wine64 fonts-wine xvfb fonts-wqy-microhei xauth   # running and seeing them on Linux
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q </dev/null >/dev/null || exit 1
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null >/dev/null || exit 1
echo "Installed."
