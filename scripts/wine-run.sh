#!/usr/bin/env bash
# Runs one Windows test program under Wine and passes its exit code on.
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
set -u
source "$(dirname "$0")/wine-env.sh"
ensure_display || exit 1
trap stop_own_display EXIT
ensure_wine_prefix
timeout --kill-after=10 "${DIALSERVER_WINE_TIMEOUT:-280}" "$WINE" "$@"
