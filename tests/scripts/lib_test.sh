#!/usr/bin/env bash
# lib_test.sh: the shell library's waits, processes and serial line as its callers rely on them,
# without Wine: a wait ends at its bound, a process that ignores TERM is still ended, the
# pseudo-terminal pair carries bytes and goes, COM links are put back and every owned process
# ends at the clean-up.
set -euo pipefail
MT_WAIT_LOCAL=1
# shellcheck source=../../scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
work=$(mktemp -d)
export WINEPREFIX="$work/prefix"
trap 'mt_cleanup; rm -rf "$work"' EXIT
failures=0
check() {  # check WHAT COMMAND...: COMMAND must succeed
    local what=$1
    shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Waits: true as soon as the condition holds; false at the bound, not before and not long after.
check "a wait ends when its condition holds" mt_wait_for 5 test -d "$work"
started=$(now_ms)
check "a wait that never holds fails" eval '! mt_wait_for 1 false'
waited=$(($(now_ms) - started))
check "... after its bound of 1 s (waited $waited ms)" test "$waited" -ge 1000 -a "$waited" -lt 3000

# Processes: mt_stop ends one that ignores TERM, and it no longer counts as owned.
bash -c "trap '' TERM; touch '$work/ignoring'; sleep 30" &
stubborn=$!
mt_own "$stubborn"
mt_wait_for 5 test -e "$work/ignoring"
started=$(now_ms)
mt_stop "$stubborn"
stopped=$(($(now_ms) - started))
check "a process that ignores TERM is ended within its bound ($stopped ms)" \
    eval "mt_ended $stubborn && [ $stopped -lt 5000 ]"
check "... and no longer owned" eval '[[ " ${MT_OWNED_PIDS[*]} " != *" $stubborn "* ]]'

# The line: bytes written at the program's end arrive at the far end, in order.
line="$work/line"
check "the pseudo-terminal pair comes up" mt_line_up "$line"
mt_line_record "$line" "$work/far.bin"
sleep 0.2
printf 'BBDBBD' >"$line/ttyA"
arrived() { [ "$(cat "$work/far.bin")" = BBDBBD ]; }
check "the far end receives BBDBBD" mt_wait_for 5 arrived
socat_pid=$MT_LINE_PID
mt_line_down "$line"
check "mt_line_down ends socat" mt_ended "$socat_pid"
check "... and removes the ends" test ! -e "$line/ttyA" -a ! -e "$line/ttyB"

# COM links: the one replaced is put back, a new one goes; every owned process ends.
mkdir -p "$WINEPREFIX/dosdevices"
ln -s /dev/ttyS0 "$WINEPREFIX/dosdevices/com3"
mt_map_com COM3 "$work/a"
mt_map_com COM4 "$work/b"
check "COM3 opens the new device" test "$(readlink "$WINEPREFIX/dosdevices/com3")" = "$work/a"
sleep 60 &
sleeper=$!
mt_own "$sleeper"
mt_line_up "$line" >/dev/null
socat_pid=$MT_LINE_PID
mt_cleanup
check "the clean-up puts COM3 back" test "$(readlink "$WINEPREFIX/dosdevices/com3")" = /dev/ttyS0
check "... removes COM4" test ! -L "$WINEPREFIX/dosdevices/com4"
check "... and ends every owned process" eval "mt_ended $sleeper && mt_ended $socat_pid"

# A prefix's copy: whole, its links kept; from a prefix that is not there, none after three tries.
mkdir -p "$work/seed/drive_c" "$work/seed/dosdevices"
echo reply >"$work/seed/drive_c/a"
ln -s /dev/ttyS0 "$work/seed/dosdevices/com5"
check "a prefix is copied" mt_copy_prefix "$work/seed" "$work/copy"
check "... with its files and links" eval '[ "$(cat "$work/copy/drive_c/a")" = reply ] && [ "$(readlink "$work/copy/dosdevices/com5")" = /dev/ttyS0 ]'
check "a prefix that is not there is not copied" eval '! mt_copy_prefix "$work/nowhere" "$work/copy2" 2>/dev/null'
check "... and leaves nothing" test ! -e "$work/copy2" -a ! -e "$work/copy2.copy-errors"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo PASS
