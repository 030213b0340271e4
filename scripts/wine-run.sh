#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGS...]: runs a Windows program of the project under Wine.
# CTest uses it as the emulator of the Windows build. The prefix, the display and the
# wineserver are brought up by scripts/test.sh (or by hand with scripts/wine-up.sh).
#
# The program writes into a file, which is handed on when it has ended: a Wine service that the
# program starts (seen: the desktop process, when the one before has gone) inherits the file,
# not CTest's pipe, on which CTest would otherwise wait for as long as the service lives. With
# MT_RUN_LIMIT (seconds) set, the program is ended after that long, so that what it wrote still
# comes out before CTest's own time-out would end this script.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"
mt_wine_env "${MT_WINEPREFIX:-$1}"
shift
output=$(mktemp)
trap 'rm -f "$output"' EXIT
limit=${MT_RUN_LIMIT:-0}
status=0
timeout --kill-after=5 "$limit" wine "$@" >"$output" 2>&1 </dev/null || status=$?
cat "$output"
[ "$status" -ne 124 ] || echo "wine-run: $(basename "$1") ended after its limit of $limit s"
exit $status
