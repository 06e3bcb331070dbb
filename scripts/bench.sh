#!/usr/bin/env bash
# Builds the x64 tree and runs every benchmark under Wine; each prints ratios.
set -u
cd "$(dirname "$0")/.." || exit 1
cmake --preset mingw-x64 >/dev/null && cmake --build --preset mingw-x64 -j "$(nproc)" >/dev/null || exit 1
export WINEPREFIX="$PWD/build/wineprefix"
bin=build/mingw-x64/bin
for bench in "$bin"/*_bench.exe; do
    echo "== $(basename "$bench")"
    scripts/wine-run.sh "$bench"
done
