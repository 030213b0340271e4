#!/usr/bin/env bash
# timing.sh PROGRAM DRIVER PREFIX OUT
# The pace of the step bytes as the machine sees it: the simulator (MT_SIMULATOR, the host
# tree's mt-simulator) reads the far end of the line and logs the time of every byte. Without
# step boxes a 200-step line at p=5 spans 199 x 5 ms; with --ramp 20,50 a 300-step line at p=2
# starts and ends at 20 ms a step and runs at 2 ms in its middle. See program_session.sh for
# the machine.
set -euo pipefail
program=$1 driver=$2 prefix=$3 out=$4
simulator=${MT_SIMULATOR:?MT_SIMULATOR names the host tree\'s mt-simulator}
# shellcheck source=program_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/program_session.sh"
[ -x "$simulator" ] || fail "no simulator at $simulator (build the host tree first)"

# The simulator takes the place of the session's reader of the line (and is ended with it).
mt_stop "$MT_RECORDER_PID"
mt_simulator_up "$simulator" "$pty/ttyB" 0 "$out" || fail "the simulator did not start"

# intervals COUNT: the times between the last COUNT step bytes of the log, in ms, one a line.
intervals() {
    for _ in $(seq 1 50); do [ "$(grep -c '^[0-9]' "$out/steps.log")" -ge "$1" ] && break; sleep 0.1; done
    grep '^[0-9]' "$out/steps.log" | tail -n "$1" | awk 'NR > 1 {printf "%.3f\n", ($5 - last) / 1000} {last = $5}'
}
# within VALUE GOAL PERCENT: VALUE lies within PERCENT of GOAL.
within() { awk -v v="$1" -v g="$2" -v p="$3" 'BEGIN {d = v - g; if (d < 0) d = -d; exit !(d <= g * p / 100)}'; }

# start_connected SWITCH...: the program with these switches, connected to the line.
start_connected() {
    start_program "$@"
    mt_await_program 80 || fail "the program did not come up"
    mt_connect "$com" || fail "connecting to $com"
}

# A step that the system wakes a whole pause late re-anchors the line (it does not rush to catch
# up), and on a machine shared with other work, under emulation, one 5 ms wait in fifty or so
# ends 5 ms or more late: such a line spans more. So each figure is asked of up to three lines,
# there and back; pausing after each byte, as the program once did, misses it on every one.
attempts=3

step "--no-step-boxes, p=5: 200 steps span 199 x 5 ms"
start_connected --no-step-boxes
met=0
for attempt in $(seq 1 "$attempts"); do
    get "/s?e=1&p=5&X$((attempt % 2 * 200))" "reply_p5_$attempt.bin" || fail "curl of the line at p=5"
    intervals 200 >"$out/p5.txt"
    [ "$(wc -l <"$out/p5.txt")" -eq 199 ] || fail "$(wc -l <"$out/p5.txt") intervals instead of 199"
    span=$(awk '{s += $1} END {printf "%.1f", s}' "$out/p5.txt")
    echo "   line $attempt: span $span ms (995 asked for); longest interval $(sort -n "$out/p5.txt" | tail -1) ms"
    if within "$span" 995 5; then met=1; break; fi
done
[ "$met" = 1 ] || fail "200 steps at p=5 spanned $span ms on the last of $attempts lines, not 995 within 5 %"
close_program

step "--ramp 20,50, p=2: 300 steps rise from 20 ms to 2 ms and fall back"
start_connected --no-step-boxes --ramp 20,50
met=0
for attempt in $(seq 1 "$attempts"); do
    get "/s?e=1&p=2&X$((attempt % 2 * 300))" "reply_ramp_$attempt.bin" || fail "curl of the ramped line"
    intervals 300 >"$out/ramp.txt"
    [ "$(wc -l <"$out/ramp.txt")" -eq 299 ] || fail "$(wc -l <"$out/ramp.txt") intervals instead of 299"
    first=$(sed -n 1p "$out/ramp.txt")
    last=$(sed -n 299p "$out/ramp.txt")
    # The middle: from the interval after step 51 (the first at full speed) to the one after
    # step 249 (the last before the fall).
    middle=$(sed -n 51,249p "$out/ramp.txt" | awk '{s += $1} END {printf "%.3f", s / NR}')
    median=$(sed -n 51,249p "$out/ramp.txt" | sort -n | sed -n 100p)
    echo "   line $attempt: first $first ms, last $last ms, middle mean $middle ms (median $median ms)"
    if within "$first" 20 10 && within "$last" 20 10 && within "$middle" 2 5; then met=1; break; fi
done
[ "$met" = 1 ] || fail "on the last of $attempts lines the first interval was $first ms and the last $last ms" \
    "(20 within 10 % asked for), the middle's average $middle ms (2 within 5 %)"
close_program
echo "PASS"
