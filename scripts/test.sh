#!/usr/bin/env bash
# The whole check on a Linux machine: installs what is missing, builds the
# native, x64 and x86 trees, and runs the native unit tests and the tests of the
# real program under Wine. Exits non-zero on any failure.
set -u
cd "$(dirname "$0")/.." || exit 1
scripts/install-deps.sh || { echo "installing the tools failed"; exit 1; }

jobs=$(nproc 2>/dev/null || echo 2)
for preset in native mingw-x64 mingw-x86; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null || { echo "configuring $preset failed"; exit 1; }
    cmake --build --preset "$preset" -j "$jobs" >"build/$preset.log" 2>&1 || {
        tail -n 60 "build/$preset.log"; echo "building $preset failed"; exit 1; }
done

status=0
echo "== native unit tests"
ctest --preset native || status=1

echo "== the program under Wine"
export WINEPREFIX="$PWD/build/wineprefix"
source scripts/wine-env.sh
# A wineserver left from an earlier run may serve another display: start clean.
"$WINESERVER" -k 2>/dev/null
ensure_display || exit 1
trap 'timeout 30 "$WINESERVER" -k 2>/dev/null; stop_own_display' EXIT
ensure_wine_prefix
"$WINESERVER" -p 30   # keep one server for the whole run: each test starts faster
ctest --preset mingw-x64 || status=1

[ $status -eq 0 ] && echo "All tests passed." || echo "Some tests FAILED."
exit $status
