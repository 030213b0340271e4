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
#
# With MT_OWN_SESSION=NAME the program gets a Wine session of its own: a copy of the prefix
# (PREFIX-NAME, made again when the prefix is newer), its own wineserver and its own virtual
# display, all ended with it. Its windows then never meet those of the programs on the shared
# desktop, so it can run beside them.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"
prefix=${MT_WINEPREFIX:-$1}
shift
output=$(mktemp)
if [ -n "${MT_OWN_SESSION:-}" ]; then
    own="$prefix-$MT_OWN_SESSION"
    if [ ! -f "$own/.mt-ready" ] || [ "$prefix/.mt-ready" -nt "$own/.mt-ready" ]; then
        mt_copy_prefix "$prefix" "$own"
    fi
    prefix=$own
    unset DISPLAY
    mt_wine_env "$prefix"
    MT_WINE_OWNED=1
    trap 'rm -f "$output"; mt_cleanup' EXIT
    mt_display_up
    mt_wine_up
else
    mt_wine_env "$prefix"
    trap 'rm -f "$output"' EXIT
fi
limit=${MT_RUN_LIMIT:-0}
# The limit counts from this script's start: a session of its own takes part of it.
if [ "$limit" -gt 0 ]; then
    limit=$((limit - SECONDS))
    [ "$limit" -gt 0 ] || limit=1
fi
status=0
timeout --kill-after=5 "$limit" wine "$@" >"$output" 2>&1 </dev/null || status=$?
cat "$output"
[ "$status" -ne 124 ] || echo "wine-run: $(basename "$1") ended after its limit of $limit s"
exit $status
