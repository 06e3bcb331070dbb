#!/usr/bin/env bash
# Takes docs/window.png: the window as it shows under Wine on a private Xvfb.
set -u
cd "$(dirname "$0")/.." || exit 1
command -v import >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q imagemagick </dev/null >/dev/null
unset DISPLAY
export WINEPREFIX="$PWD/build/wineprefix-shot"
source scripts/wine-env.sh
ensure_display || exit 1
trap '"$WINESERVER" -k; stop_own_display' EXIT
ensure_wine_prefix
cmake --build --preset mingw-x64 --target DialServer >/dev/null || exit 1
(cd build/mingw-x64/bin && "$WINE" DialServer.exe &)
sleep 5
mkdir -p docs
import -window root -crop 345x390+339+189 +repage docs/window.png
echo "wrote docs/window.png"
