#!/usr/bin/env bash
# Builds DialServer.exe and starts it under Wine, in a 1024x768 Wine virtual
# desktop so the window is seen with its frame. Without a display it runs on a
# private Xvfb (useful for screenshots only).
set -u
cd "$(dirname "$0")/.." || exit 1
scripts/install-deps.sh || exit 1
cmake --preset mingw-x64 >/dev/null && cmake --build --preset mingw-x64 --target DialServer -j "$(nproc)" || exit 1
export WINEPREFIX="$PWD/build/wineprefix-run"
source scripts/wine-env.sh
ensure_display || exit 1
trap stop_own_display EXIT
ensure_wine_prefix
exec_dir="$PWD/build/mingw-x64/bin"
cd "$exec_dir" && "$WINE" explorer "/desktop=DialServer,1024x768" DialServer.exe
