#!/usr/bin/env bash
# switches.sh PROGRAM DRIVER PREFIX OUT
# The program's command-line switches, on the running program: a refused command line (a box
# naming it, exit code 2, nothing listening), then every switch at once: --port and --bind
# (the listener's address as the system shows it), --baud (the pseudo-terminal's settings as
# the system shows them), --limits (a line outside refused), --no-step-boxes (a long line
# without a box, a request answered while it runs, "!" stopping it midway), then the position
# the operator declares, with limits. The default of each switch is what end_to_end.sh runs.
# See program_session.sh for the machine.
set -euo pipefail
program=$1 driver=$2 prefix=$3 out=$4
# shellcheck source=program_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/program_session.sh"

usage='\r\n\r\nOptiuni acceptate:\r\n  --port N  (1-65535)\r\n  --bind ADRESA  (de ex. 127.0.0.1)\r\n  --no-step-boxes\r\n  --baud N\r\n  --limits XMAX,YMAX\r\n  --backlog N  (1-4096)\r\n  --api\r\n  --hook BIBLIOTECA.dll\r\n  --allow ADRESA[/BITI][,...]\r\n  --ramp START_MS,STEPS  (1-10000, 1-100000)'
for refused in "--verbose|Optiune necunoscuta: --verbose" "--port 0|Valoare gresita pentru --port: 0" \
    "--ramp 20,100001|Valoare gresita pentru --ramp: 20,100001"; do
    switches=${refused%%|*}
    # shellcheck disable=SC2086  # the switches are separate words
    start_program $switches
    drive wait-box 30000 || fail "no box for the command line $switches"
    expect_line "box Nasol :(|${refused#*|}${usage}"
    mt_port_open 80 && fail "something listens on port 80 with the command line $switches"
    drive dismiss || fail "dismissing the box"
    await_exit 2
done

step "every switch on"
# A pseudo-terminal always keeps 8 data bits and no parity: the speed and the stop bits show
# whether the program set the line.
stty -F "$pty/ttyA" 4800 cstopb
start_program --port 8080 --bind 127.0.0.1 --no-step-boxes --baud 19200 --limits 1000,1000
mt_await_program 8080 || fail "the program did not come up"
listening=$(ss -Hltn 'sport = :8080 or sport = :80' | awk '{print $4}')
echo "   listening: $listening"
[ "$listening" = 127.0.0.1:8080 ] || fail "the listener is on \"$listening\" instead of 127.0.0.1:8080 alone"

step "--baud 19200: the line is set to 19200 8N1 on connect"
mt_connect "$com" || fail "connecting to $com"
expect_line "box SUCCES!|SUCCES!"
settings=$(stty -a -F "$pty/ttyA")
echo "   $settings" | head -2
grep -qw 'speed 19200 baud;' <<<"$settings" || fail "the line speed is not 19200"
for flag in cs8 -parenb -cstopb; do grep -qw -- "$flag" <<<"$settings" || fail "the line is not $flag"; done

step "--limits 1000,1000: a line to X1001 is refused, one to X1000 runs without a box"
get '/s?e=1&p=0&X1001' reply_refused.bin 8080 || fail "curl of the refused line"
drive read Edit1
expect_line "field ${MT_ID[Edit1]} 0"
get '/s?e=1&p=0&X1000' reply_x1000.bin 8080 || fail "curl of the line to X1000"
same_as reply_x1000.bin s "the line to X1000"
await_serial "$(printf 'B%.0s' $(seq 1 1000))"
drive no-box || fail "a box without step boxes"
serial_mark

step "--no-step-boxes: a long line is answered around, and ! stops it midway"
get '/s?e=1&p=50&X0' reply_stopped.bin 8080 &
curl_pid=$!
await_serial_count 5 || fail "the line did not start"
started=$(now_ms)
get /c reply_meanwhile.bin 8080 || fail "curl while the line runs"
echo "   answered in $(($(now_ms) - started)) ms"
same_as reply_meanwhile.bin s "the request while the line runs"
drive click btnStopCom || fail "pressing !"
wait "$curl_pid" || fail "curl of the stopped line failed"
curl_pid=''
same_as reply_stopped.bin s "the stopped line"
stopped_at=$(serial_bytes | wc -c)
sleep 0.5
bytes=$(serial_bytes)
echo "   ${#bytes} of 1000 steps made"
[ "${#bytes}" -eq "$stopped_at" ] || fail "bytes arrived after the stop"
[ "${#bytes}" -lt 1000 ] || fail "the line ran to its end"
[ "$bytes" = "$(printf 'A%.0s' $(seq 1 "${#bytes}"))" ] || fail "the line wrote \"$bytes\""
drive read Edit1
expect_line "field ${MT_ID[Edit1]} $((1000 - ${#bytes}))"
drive no-box || fail "a box without step boxes"
close_program

step "--limits 300,300: a position declared twice is where the next line starts, after a refused line too"
start_program --no-step-boxes --limits 300,300
mt_await_program 80 || fail "the program did not come up"
mt_connect "$com" || fail "connecting to $com"
serial_mark
get '/s?e=1&p=0&X5' reply_x5.bin || fail "curl of the line to X5"
await_serial BBBBB
# Declared at X, then a refused line, then a line to the target: the steps from X.
for declaration in "0 3 BBB" "7 9 BB"; do
    read -r declared target bytes <<<"$declaration"
    serial_mark
    for _ in 1 2; do get "/s?e=0&X$declared&Y0" reply_declared.bin || fail "curl of the declaration"; done
    get '/s?e=1&p=0&X-5' reply_refused.bin || fail "curl of the refused line"
    drive read Edit1
    expect_line "field ${MT_ID[Edit1]} $declared"
    get "/s?e=1&p=0&X$target" reply_target.bin || fail "curl of the line to X$target"
    same_as reply_target.bin s "the line to X$target"
    await_serial "$bytes"
done
# Recorded once, a value outside the area is a line still to come: the line from it is refused,
# and the next line starts where the machine stands.
serial_mark
get '/s?e=0&Y400' reply_recorded.bin || fail "curl of the value recorded once"
get '/s?e=1&p=0&Y3' reply_outside.bin || fail "curl of the line from Y400"
drive read Edit2
expect_line "field ${MT_ID[Edit2]} 0"
get '/s?e=1&p=0&Y3' reply_y3.bin || fail "curl of the line to Y3"
await_serial DDD
close_program
echo "PASS"
