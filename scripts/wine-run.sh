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
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"
prefix=${MT_WINEPREFIX:-$1}
shift
if [ -n "${MT_OWN_SESSION:-}" ]; then
    own="$prefix-$MT_OWN_SESSION"
    if [ ! -f "$own/.mt-ready" ] || [ "$prefix/.mt-ready" -nt "$own/.mt-ready" ]; then
        rm -rf "$own"
        cp -a "$prefix" "$own"
    fi
    prefix=$own
    unset DISPLAY
    mt_wine_env "$prefix"
    trap 'mt_wine_down' EXIT
    mt_xvfb_up
    mt_wine_up
else
    mt_wine_env "$prefix"
    # Programs share the session under a shared lock; a program that fails renews the session
    # under the exclusive one (see below).
    exec 9>>"$prefix/.mt-session.lock"
    flock -s 9
fi
output=$(mktemp)
if [ -n "${MT_OWN_SESSION:-}" ]; then
    trap 'rm -f "$output"; mt_wine_down' EXIT
else
    trap 'rm -f "$output"' EXIT
fi
limit=${MT_RUN_LIMIT:-0}
# The limit counts from this script's start: a session of its own takes part of it.
if [ "$limit" -gt 0 ]; then
    limit=$((limit - SECONDS))
    [ "$limit" -gt 0 ] || limit=1
fi
status=0
# The lock stays with this script: a service the program starts must not hold it.
timeout --kill-after=5 "$limit" wine "$@" >"$output" 2>&1 </dev/null 9>&- || status=$?
cat "$output"
[ "$status" -ne 124 ] || echo "wine-run: $(basename "$1") ended after its limit of $limit s"
# A program that fails may leave the shared session unable to make windows (seen after a Wine
# process was ended in the middle of its start): once the programs running beside it are done,
# the session is renewed, so that one failure does not become the failure of all that follow.
if [ "$status" -ne 0 ] && [ -z "${MT_OWN_SESSION:-}" ]; then
    flock -u 9
    flock -x -w 600 9 || true
    wineserver -k </dev/null >/dev/null 2>&1 9>&- || true
    mt_wine_up </dev/null >/dev/null 2>&1 9>&- || true
    echo "wine-run: the Wine session was renewed after $(basename "$1") failed"
    flock -u 9
fi
exit $status
