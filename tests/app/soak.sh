#!/usr/bin/env bash
# soak.sh PROGRAM DRIVER PREFIX OUT
# The running program under load and faults, bounded in time: mixed connections (valid,
# malformed, oversize without CR, half-open, slow readers, trickled, garbage, silent, reset),
# C:\a replaced and deleted while it is read, the serial line's other end closed in the middle
# of a line and the port opened again, then random requests. Every connection is answered or
# closed, every reply is whole, the process stays alive and its handle count flat.
# MT_SOAK_SCALE=N multiplies the number of connections (1 in CI). See program_session.sh for
# the machine.
set -euo pipefail
program=$1 driver=$2 prefix=$3 out=$4
scale=${MT_SOAK_SCALE:-1}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Off port 80, which other tests may use meanwhile.
session_port=8091
# shellcheck source=program_session.sh
source "$here/program_session.sh"
port=$session_port
client() { timeout $((600 * scale)) python3 "$here/soak_client.py" "$@"; }
# The run in the test suite is the same every time (a failure can be run again as it was);
# a longer run explores: a new seed each time unless MT_SOAK_SEED names one.
if [ -n "${MT_SOAK_SEED:-}" ]; then seed=$MT_SOAK_SEED
elif [ "$scale" -gt 1 ]; then seed=$(date +%s)
else seed=20261208
fi

# A reply larger than the socket buffers, so that slow readers make the program send in parts.
python3 -c "import sys; body = b'0123456789abcdef' * 16384; \
sys.stdout.buffer.write(b'HTTP/1.1 200 OK\r\nContent-Length: %d\r\n\r\n' % len(body) + body)" >"$drive/c"

# counts: the program's handle count and memory, as the system reports them to another process.
handles=0
counts() {
    drive handles || fail "no handle count"
    handles=$(awk '/^handles /{print $2}' "$out/driver.out")
    [ -n "$handles" ] || fail "no handle count"
}
alive() { mt_alive "$MT_PROGRAM_PID" || fail "the program has ended"; }

start_program --port "$port" --no-step-boxes --backlog 64 --limits 300,300
mt_await_program "$port" || fail "the program did not come up"
mt_connect "$com" || fail "connecting to $com"
expect_line "box SUCCES!|SUCCES!"

step "warm-up"
client mixed "$port" "$drive" 40 1 || fail "the warm-up"
# The first line that pauses loads the system timer's library (winmm, some 8 handles) once for
# the program's life: the baseline counts it. There and back, so the machine stands at 0.
for target in 1 0; do
    get "/s?e=1&p=1&X$target" "warmup_line_$target.bin" "$port" || fail "the warm-up's line to X$target"
done
counts
baseline=$handles

step "mixed connections"
client mixed "$port" "$drive" $((300 * scale)) "$seed" || fail "mixed connections"
alive

step "C:\\a replaced and deleted while it is read"
client replace "$port" "$drive" $((150 * scale)) "$seed" || fail "replies while C:\\a changed"
alive

step "the serial line's other end closes in the middle of a line"
# Earlier traffic may have recorded any values (a garbage request can read as a movement): a
# line refused for leaving the area puts X and Y back where the machine stands, and the line
# below starts from there.
get "/s?e=1&X-1" reply_refused.bin "$port" || fail "curl of the refused line"
serial_mark
get "/s?e=1&p=20&X300" reply_cut.bin "$port" &
curl_pid=$!
await_serial_count 5 || fail "the line did not start"
mt_line_down "$pty"
cut_at=$(now_ms)
wait "$curl_pid" || fail "curl of the cut line"
curl_pid=''
answered=$(($(now_ms) - cut_at))
mt_stop "$MT_RECORDER_PID"
arrived=$(serial_bytes | wc -c)
drive read Edit1 Edit2
reached=$(awk -v id="${MT_ID[Edit1]}" '$1 == "field" && $2 == id {print $3}' "$out/driver.out")
reached_y=$(awk -v id="${MT_ID[Edit2]}" '$1 == "field" && $2 == id {print $3}' "$out/driver.out")
echo "   $arrived bytes arrived, X stands at $reached, answered $answered ms after the cut"
same_as reply_cut.bin s "the cut line"
[ "$answered" -lt 3000 ] || fail "the line went on for $answered ms after its other end closed"
[ "$reached" -ge "$arrived" ] && [ "$reached" -lt 300 ] || fail "X stands at $reached after $arrived bytes"
alive

step "the port opens again on a new line, and the next line starts where the machine stands"
mt_line_up "$pty" || fail "socat made no new pseudo-terminal pair"
mt_line_record "$pty" "$out/serial2.bin"
drive click btnStopCom || fail "pressing !"
mt_connect || fail "connecting again"
expect_line "box SUCCES!|SUCCES!"
get "/s?e=1&p=0&X$((reached + 5))&Y$reached_y" reply_again.bin "$port" || fail "curl of the line after the reconnect"
same_as reply_again.bin s "the line after the reconnect"
new_line_is() { [ "$(cat "$out/serial2.bin")" = "$1" ]; }
mt_wait_for "$MT_WAIT_LOCAL" new_line_is BBBBB || fail "the new line received \"$(cat "$out/serial2.bin")\""

step "random requests"
client random "$port" "$drive" $((300 * scale)) "$seed" || fail "random requests"
alive
extra=$(tr -d 'ABCD' <"$out/serial2.bin" | wc -c)
[ "$extra" -eq 0 ] || fail "$extra bytes other than step bytes on the line"

step "handles after the soak"
# Connections the program closed a moment ago may still be on their way out.
for _ in $(seq 1 20); do
    counts
    [ "$handles" -le $((baseline + 2)) ] && break
    sleep 0.5
done
echo "   $handles handles after the soak, $baseline after the warm-up"
[ "$handles" -le $((baseline + 2)) ] || fail "the handle count grew from $baseline to $handles"
close_program
