#!/usr/bin/env bash
# operator_api.sh PROGRAM DRIVER PREFIX OUT RECORDER DECORATED
# The operator API, the output hook and the allow list on the running program:
#  - --hook with a library that does not exist, and with DECORATED (its Out32 exported under
#    the linker's decorated name only): a box naming the library and the reason, exit code 2,
#    nothing listening;
#  - --api --no-step-boxes --hook RECORDER (a library whose Out32 records every call in
#    out32_calls.txt): /pos before, during and after a 300-step line at p=10, /halt in the middle
#    of the next one (no byte after it, its own request answered, /pos idle where the far end of
#    the line says the machine is, and the X field too), the "?a" sub-commands, and the tool off
#    at the start, at the halt and at the end; a fault inside the program (the hook's own, on
#    MT_OUT32_FAULT_VALUE) switches the tool off before the crash report shows;
#  - --api with step boxes: /pos and /halt answered inside a box, and the halt ends the line;
#  - --allow 127.0.0.2 without --api: a client from 127.0.0.1 is closed without a byte; one from
#    127.0.0.2 gets the selected reply file for /pos and /halt.
# See program_session.sh for the machine.
set -euo pipefail
program=$1 driver=$2 prefix=$3 out=$4 recorder=$5 decorated=$6
# shellcheck source=program_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/program_session.sh"

# A path of this machine as the program under Wine names it.

# The recording library in a folder with a blank in its name, so that --hook takes a quoted path.
mkdir -p "$out/hook dir"
cp "$recorder" "$decorated" "$out/hook dir/"
hook=$(mt_windows_path "$out/hook dir/$(basename "$recorder")")
calls="$out/out32_calls.txt"

# The API's answer with this body: its status line and headers, exactly.
expect_answer() {  # expect_answer NAME BODY
    local expected
    expected=$(printf 'HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: %d\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n%s' "${#2}" "$2")
    [ "$(cat "$out/$1")" = "$expected" ] || fail "the answer $1 is \"$(cat "$out/$1")\" instead of \"$expected\""
}
body_of() { sed -n '/^\r$/,$p' "$out/$1" | tail -n +2; }  # body_of NAME: the answer's body
member() { body_of "$2" | sed -n 's/.*"'"$1"'":"\{0,1\}\([a-z]*\|[0-9]*\)"\{0,1\}[,}].*/\1/p'; }  # member KEY NAME
serial_count() { serial_bytes | wc -c; }
# expect_calls "PORT VALUE"...: out32_calls.txt holds exactly these lines (bounded wait).
expect_calls() {
    local want
    want=$(printf '%s\n' "$@")
    for _ in $(seq 1 50); do [ "$(cat "$calls" 2>/dev/null)" = "$want" ] && return 0; sleep 0.1; done
    fail "the hook's calls are \"$(tr '\n' ';' <"$calls" 2>/dev/null)\" instead of \"$(tr '\n' ';' <<<"$want")\""
}
connect_port() { mt_connect "$com" || fail "connecting to $com"; }

missing=$(mt_windows_path "$out/nowhere/none.dll")
without_out32=$(mt_windows_path "$out/hook dir/$(basename "$decorated")")
# The box's text as the driver prints it: CR LF as \r\n.
for refused in "$missing|Nu exista biblioteca pentru --hook: $missing\\r\\n(eroare 126)" \
               "$without_out32|Biblioteca pentru --hook nu are functia Out32: $without_out32"; do
    library=${refused%%|*}
    text=${refused#*|}
    start_program --api --hook "$library"
    drive wait-box 30000 || fail "no box for --hook $library"
    expect_line "box Nasol :(|$text"
    mt_port_open 80 && fail "something listens on port 80 with --hook $library"
    drive dismiss || fail "dismissing the box"
    await_exit 2
done
[ ! -e "$calls" ] || fail "a refused library was called"

step "--api --no-step-boxes --hook: the tool starts off; /pos before any line"
start_program --api --no-step-boxes --hook "$hook"
mt_await_program 80 || fail "the program did not come up"
expect_calls "888 0"
get /pos pos_closed.json || fail "curl of /pos"
expect_answer pos_closed.json '{"x":0,"y":0,"line":"idle","done":0,"total":0,"delay":0,"port":"closed","tool":0}'
connect_port
get '/?a=1A' reply_tool_on.bin || fail "curl of /?a=1A"
same_as reply_tool_on.bin s "/?a=1A"
expect_calls "888 0" "888 1"
get /pos pos_before.json || fail "curl of /pos"
expect_answer pos_before.json '{"x":0,"y":0,"line":"idle","done":0,"total":0,"delay":0,"port":"open","tool":1}'

step "/pos during a 300-step line at p=10: the steps made rise, and each has reached the line"
get '/s?e=1&p=10&X300' reply_line.bin &
curl_pid=$!
# The line's request goes out in the background: the readings start once the program has taken
# it (a /pos before that still finds the machine idle with no line).
line_taken() { get /pos pos_taken.json && [ "$(member total pos_taken.json)" = 300 ]; }
mt_wait_for "$MT_WAIT_LOCAL" line_taken || fail "the line was not taken: $(body_of pos_taken.json)"
readings=() previous=-1 rising=0
for i in $(seq 1 40); do
    get /pos "pos_during_$i.json" || fail "curl of /pos during the line"
    [ "$(member line "pos_during_$i.json")" = running ] || break
    done_now=$(member done "pos_during_$i.json")
    [ "$(member x "pos_during_$i.json")" = "$done_now" ] || fail "X is not the steps made: $(body_of "pos_during_$i.json")"
    [ "$(member total "pos_during_$i.json")" = 300 ] || fail "the line's total: $(body_of "pos_during_$i.json")"
    [ "$done_now" -ge "$previous" ] || fail "the steps made fell from $previous to $done_now"
    [ "$done_now" -gt "$previous" ] && rising=$((rising + 1))
    for _ in $(seq 1 20); do [ "$(serial_count)" -ge "$done_now" ] && break; sleep 0.1; done
    [ "$(serial_count)" -ge "$done_now" ] || fail "$done_now steps made, $(serial_count) on the line"
    readings+=("$done_now")
    previous=$done_now
    sleep 0.2
done
echo "   steps made as /pos saw them: ${readings[*]}"
[ "$rising" -ge 3 ] || fail "only $rising rising readings during the line"
wait "$curl_pid" || fail "curl of the line"
curl_pid=''
same_as reply_line.bin s "the line to X300"
await_serial "$(printf 'B%.0s' $(seq 1 300))"
get /pos pos_after.json || fail "curl of /pos"
expect_answer pos_after.json '{"x":300,"y":0,"line":"idle","done":300,"total":300,"delay":10,"port":"open","tool":1}'
serial_mark

step "/halt in the middle of the line back: no byte after it, the tool off, /pos idle where the line stopped"
get '/s?e=1&p=10&X0' reply_halted.bin &
curl_pid=$!
for _ in $(seq 1 100); do [ "$(serial_count)" -ge 100 ] && break; sleep 0.1; done
[ "$(serial_count)" -ge 100 ] || fail "the line back did not get far"
get /halt halt.json || fail "curl of /halt"
wait "$curl_pid" || fail "curl of the halted line"
curl_pid=''
same_as reply_halted.bin s "the halted line"
made=$(member done halt.json)
stopped_at=$((300 - made))
expect_answer halt.json "{\"x\":$stopped_at,\"y\":0,\"line\":\"idle\",\"done\":$made,\"total\":300,\"delay\":10,\"port\":\"open\",\"tool\":0}"
sleep 0.5
bytes=$(serial_bytes)
echo "   $made of 300 steps made, ${#bytes} on the line"
[ "${#bytes}" -eq "$made" ] || fail "${#bytes} bytes on the line, $made steps made"
[ "$bytes" = "$(printf 'A%.0s' $(seq 1 "$made"))" ] || fail "the line wrote \"$bytes\""
[ "$made" -lt 300 ] || fail "the line ran to its end"
get /pos pos_halted.json || fail "curl of /pos"
[ "$(body_of pos_halted.json)" = "$(body_of halt.json)" ] || fail "/pos after the halt: $(body_of pos_halted.json)"
drive read Edit1
expect_line "field ${MT_ID[Edit1]} $stopped_at"
expect_calls "888 0" "888 1" "888 0"

step "the sub-commands drive the hook; the tool goes off at the end"
for command in c S A; do get "/?a=1$command" "reply_hook_$command.bin" || fail "curl of /?a=1$command"; done
expect_calls "888 0" "888 1" "888 0" "888 2" "888 0" "888 1"
close_program
expect_calls "888 0" "888 1" "888 0" "888 2" "888 0" "888 1" "888 0"

step "a fault inside the program with the tool on: the tool is off before the crash report shows"
rm -f "$calls"
MT_OUT32_FAULT_VALUE=2 start_program --api --no-step-boxes --hook "$hook"
mt_await_program 80 || fail "the program did not come up"
get '/?a=1A' reply_before_fault.bin || fail "curl of /?a=1A"
# Never answered: the program fails inside the hook's call for it.
get '/?a=1c' reply_fault.bin &
curl_pid=$!
drive wait-box 30000 || fail "no crash report"
grep -q '^box .*Application error|' "$MT_DRIVE_OUT" || fail "the box is not the crash report"
expect_calls "888 0" "888 1" "888 2" "888 0"
drive dismiss || fail "dismissing the crash report"
mt_await_exit 5 || fail "the program did not end by its fault (exit status ${MT_PROGRAM_STATUS:-none})"
mt_stop "$curl_pid"
curl_pid=''
expect_calls "888 0" "888 1" "888 2" "888 0"

step "--api with step boxes: /pos and /halt inside a box; the halt ends the line"
rm -f "$calls"
serial_mark
start_program --api
mt_await_program 80 || fail "the program did not come up"
connect_port
get '/s?e=1&X5' reply_boxed.bin &
curl_pid=$!
drive show-box 20000 || fail "no box for the first step"
expect_line "box nDebug|0"
get /pos pos_in_box.json || fail "curl of /pos inside the box"
expect_answer pos_in_box.json '{"x":0,"y":0,"line":"running","done":0,"total":5,"delay":0,"port":"open","tool":null}'
get /halt halt_in_box.json || fail "curl of /halt inside the box"
expect_answer halt_in_box.json '{"x":0,"y":0,"line":"idle","done":0,"total":5,"delay":0,"port":"open","tool":null}'
drive boxes 1 15000 || fail "dismissing the box of the halt"
wait "$curl_pid" || fail "curl of the halted line"
curl_pid=''
same_as reply_boxed.bin s "the line halted inside its box"
sleep 1
drive no-box || fail "a box came after the halt"
[ -z "$(serial_bytes)" ] || fail "bytes after the halt: \"$(serial_bytes)\""
drive read Edit1
expect_line "field ${MT_ID[Edit1]} 0"
close_program

step "--allow 127.0.0.2 without --api: 127.0.0.1 is closed without a byte; 127.0.0.2 gets the reply file for /pos and /halt"
start_program --allow 127.0.0.2
mt_await_program 80 || fail "the program did not come up"
status=0
curl -s --include --max-time 20 -o "$out/refused.bin" http://127.0.0.1/c </dev/null || status=$?
echo "   from 127.0.0.1: curl exit $status, $(stat -c %s "$out/refused.bin" 2>/dev/null || echo 0) bytes"
[ "$status" -ne 0 ] && [ "$status" -ne 28 ] || fail "the client from 127.0.0.1 was not closed (curl exit $status)"
[ ! -s "$out/refused.bin" ] || fail "the client from 127.0.0.1 got bytes: $(head -c 100 "$out/refused.bin")"
for path in /pos /halt /c /pos; do
    name=allowed_${path//\//}.bin
    curl -s --include --max-time 60 --interface 127.0.0.2 -o "$out/$name" "http://127.0.0.1$path" </dev/null ||
        fail "curl of $path from 127.0.0.2"
    case $path in /c) selected=c ;; *) selected=${selected:-s} ;; esac
    same_as "$name" "$selected" "$path from 127.0.0.2 without --api"
done
close_program
echo "PASS"
