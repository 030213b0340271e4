#!/usr/bin/env bash
# end_to_end.sh PROGRAM DRIVER PREFIX OUT
# The whole program as a user runs it: PROGRAM (Project1.exe) under Wine in PREFIX on the X
# display, its reply files in C:\, COM5 mapped to one end of a socat pseudo-terminal pair whose
# other end is read here, requests from curl to port 80 on 127.0.0.1, and DRIVER (app_driver.exe)
# typing, pressing, reading fields and dismissing the boxes. Screenshots and logs go to OUT.
# Every wait is bounded; every process started here is ended on the way out.
set -euo pipefail
program=$1 driver=$2 prefix=$3 out=$4
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
# shellcheck source=../../scripts/reply-files.sh
source "$root/scripts/reply-files.sh"
mt_wine_env "$prefix"

com=COM5
drive="$prefix/drive_c"
com_link="$prefix/dosdevices/${com,,}"
mkdir -p "$out"
rm -rf "${out:?}"/*
pty="$out/pty"
mkdir -p "$pty"

app_pid='' socat_pid='' reader_pid='' curl_pid='' own_display=0 saved_com=''

stop() {  # stop PID: ends one process started here, by its id, and reaps it
    local pid=$1
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

cleanup() {
    stop "$curl_pid"
    stop "$app_pid"
    stop "$reader_pid"
    stop "$socat_pid"
    rm -f "$com_link" "$drive/a" "$drive/c" "$drive/s"
    [ -z "$saved_com" ] || ln -sfn "$saved_com" "$com_link"
    if [ "$own_display" = 1 ]; then mt_wine_down; fi
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "--- program log:"; cat "$out/program.log" 2>/dev/null || true
    exit 1
}
step() { echo "== $*"; }

# drive ARGS...: runs the driver once (bounded); its output is in $out/driver.txt and printed.
drive() {
    local status=0
    timeout 90 wine "$driver" "$@" </dev/null >"$out/driver.txt" 2>>"$out/driver-errors.log" || status=$?
    tr -d '\r' <"$out/driver.txt" >"$out/driver.out"
    sed 's/^/   /' "$out/driver.out"
    return $status
}
# expect_line LINE: the last driver output holds exactly this line.
expect_line() { grep -qxF -- "$1" "$out/driver.out" || fail "expected the line \"$1\""; }

# --- The machine: display, Wine, port 80, the serial line, the reply files.
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    mt_xvfb_up
    own_display=1
fi
mt_wine_up
for tool in curl socat import identify; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh)"
done
if [ "$(id -u)" -ne 0 ] && [ "$(sysctl -n net.ipv4.ip_unprivileged_port_start 2>/dev/null || echo 1024)" -gt 80 ]; then
    fail "binding port 80 needs root: run the tests as root"
fi
if timeout 5 bash -c 'exec 3<>/dev/tcp/127.0.0.1/80' 2>/dev/null; then
    fail "port 80 on 127.0.0.1 is taken by another program; the end-to-end run needs it free"
fi

setsid socat pty,raw,echo=0,link="$pty/ttyA" pty,raw,echo=0,link="$pty/ttyB" </dev/null >/dev/null 2>&1 &
socat_pid=$!
for _ in $(seq 1 50); do [ -e "$pty/ttyA" ] && [ -e "$pty/ttyB" ] && break; sleep 0.1; done
[ -e "$pty/ttyA" ] && [ -e "$pty/ttyB" ] || fail "socat made no pseudo-terminal pair"
if [ -L "$com_link" ]; then saved_com=$(readlink "$com_link"); fi
ln -sfn "$pty/ttyA" "$com_link"
cat "$pty/ttyB" >"$out/serial.bin" 2>/dev/null </dev/null &
reader_pid=$!

mt_http_response "$drive/a" text/plain "reply file a: the control page"
mt_http_response "$drive/c" text/plain "reply file c"
mt_http_response "$drive/s" text/plain "reply file s: line done"

# get PATH NAME: one request from curl on loopback, the whole reply (status line and headers
# too) saved as $out/NAME (bounded).
get() { curl -s --include --max-time 60 -o "$out/$2" "http://127.0.0.1:80$1" </dev/null; }
same_as() { cmp -s "$out/$1" "$drive/$2" || fail "the reply to $3 is not C:\\$2: $(head -c 200 "$out/$1" 2>/dev/null)"; }
serial_bytes() { cat "$out/serial.bin"; }

# --- The program.
step "start $(basename "$program") on display $DISPLAY"
(cd "$out" && exec wine "$program" </dev/null >"$out/program.log" 2>&1) &
app_pid=$!

step "the window appears with its controls"
drive wait-window 30000 || fail "the main window did not appear"
expect_line "window Mini-Tarvo Server V0.3"
for control in "1000 Edit enabled=1 visible=1 text=" "1005 Edit enabled=1 visible=1 text=COM1" \
               "1002 Button enabled=1 visible=1 text=>" "1001 Button enabled=0 visible=1 text=!" \
               "1003 Button enabled=0 visible=1 text=Testeaza port" \
               "1012 BKGROUP enabled=1 visible=1 text=Coordonate spatiu" \
               "1013 Static enabled=1 visible=1 text=X" "1011 BKGROUP enabled=1 visible=1 text=Setari"; do
    expect_line "control $control"
done
[ "$(grep -c '^control ' "$out/driver.out")" -eq 17 ] || fail "the window does not hold 17 controls"
for _ in $(seq 1 50); do timeout 5 bash -c 'exec 3<>/dev/tcp/127.0.0.1/80' 2>/dev/null && break; sleep 0.1; done

step "type $com into inputCom and press >"
drive type 1005 "$com" || fail "typing into inputCom"
drive click 1002 || fail "pressing >"
drive boxes 1 15000 || fail "no box after >"
expect_line "box SUCCES!|SUCCES!"
drive controls || fail "listing the controls"
expect_line "control 1002 Button enabled=0 visible=1 text=>"
expect_line "control 1001 Button enabled=1 visible=1 text=!"
expect_line "control 1003 Button enabled=1 visible=1 text=Testeaza port"

step "GET /s?e=1&p=0&X4&Y2 steps the line BBDBBD, box by box"
get '/s?e=1&p=0&X4&Y2' reply_move.bin &
curl_pid=$!
drive show-box 20000 || fail "no nDebug box for the first step"
expect_line "box nDebug|0"
sleep 0.5  # the moved box and the window repaint
import -window root "$out/running_program.png" || fail "no screenshot"
drive boxes 6 30000 || fail "the six step boxes"
grep '^box ' "$out/driver.out" | cut -d'|' -f2 | tr '\n' ' ' >"$out/step_boxes.txt"
[ "$(cat "$out/step_boxes.txt")" = "0 0 2 0 0 2 " ] || fail "step boxes $(cat "$out/step_boxes.txt")"
grep -q '^box nDebug|' "$out/driver.out" || fail "the step boxes are not captioned nDebug"
wait "$curl_pid" || fail "curl of the movement request failed"
same_as reply_move.bin s "the movement request"
for _ in $(seq 1 50); do [ "$(serial_bytes)" = BBDBBD ] && break; sleep 0.1; done
[ "$(serial_bytes)" = BBDBBD ] || fail "the serial line received \"$(serial_bytes)\" instead of BBDBBD"
drive read 1000 1008 1007 1004
expect_line "field 1000 1"
expect_line "field 1008 4"
expect_line "field 1007 2"
expect_line "field 1004 0"

step "GET / answers with C:\\a"
get / reply_root.bin || fail "curl of /"
same_as reply_root.bin a "GET /"

step "! disconnects; the following line writes nothing"
drive click 1001 || fail "pressing !"
drive controls || fail "listing the controls"
expect_line "control 1002 Button enabled=1 visible=1 text=>"
expect_line "control 1001 Button enabled=0 visible=1 text=!"
expect_line "control 1003 Button enabled=0 visible=1 text=Testeaza port"
get '/s?e=1&p=0&X6&Y3' reply_after.bin &
curl_pid=$!
drive boxes 3 30000 || fail "the three step boxes of the line after the disconnect"
wait "$curl_pid" || fail "curl of the request after the disconnect failed"
same_as reply_after.bin s "the request after the disconnect"
sleep 0.5
[ "$(serial_bytes)" = BBDBBD ] || fail "bytes arrived after the disconnect: \"$(serial_bytes)\""

step "F1 shows the About box"
drive key F1 || fail "pressing F1"
drive boxes 1 15000 || fail "no About box after F1"
grep -q '^box Mini-Tarvo Server pt CNC v0.3|http://[^|]*\\r\\n\\r\\n3:51 AM 5/20/2012\\r\\n\\r\\nIdee: .*\\r\\nImplementare: ' \
    "$out/driver.out" || fail "the About box"

step "closing the window ends the program with exit code 0"
drive close || fail "closing the window"
status=''
for _ in $(seq 1 200); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
        status=0
        wait "$app_pid" || status=$?
        break
    fi
    sleep 0.1
done
[ -n "$status" ] || fail "the program did not end within 20 s of the close"
app_pid=''
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"

[ "$(identify -format '%w' "$out/running_program.png")" -gt 0 ] || fail "the screenshot is no picture"
echo "screenshot: $out/running_program.png"
echo "PASS"
