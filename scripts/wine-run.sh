#!/usr/bin/env bash
# Runs one Windows test program under Wine and passes its exit code on.
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
set -u
source "$(dirname "$0")/wine-env.sh"
ensure_display || exit 1
trap stop_own_display EXIT
ensure_wine_prefix
# Wine's own background processes (services, the desktop) outlive the test and
# would keep a pipe to our caller open for ever: give the test a file instead.
log=$(mktemp)
timeout --kill-after=10 "${DIALSERVER_WINE_TIMEOUT:-280}" "$WINE" "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
exit $status
