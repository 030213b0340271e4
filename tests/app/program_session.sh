# program_session.sh: what the scripts that run the whole program share. Sourced after they
# have set program (Project1.exe), driver (app_driver.exe), prefix (the Wine prefix) and out (a
# folder for logs and screenshots). Brings up the machine: the X display, Wine, a socat
# pseudo-terminal pair whose first end is COM5 in the prefix and whose other end is read into
# $out/serial.bin, and the reply files in C:\. Defines the steps: drive (the driver, bounded),
# get (curl on 127.0.0.1), the serial helpers, start_program, await_exit and close_program.
# Every wait is bounded; every process started here is ended on the way out, by its id.
# shellcheck shell=bash
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

app_pid='' socat_pid='' reader_pid='' curl_pid='' holder_pid='' own_display=0 saved_com=''

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
    stop "$holder_pid"
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

# port_open PORT: something accepts connections on 127.0.0.1:PORT now.
port_open() { timeout 5 bash -c "exec 3<>/dev/tcp/127.0.0.1/$1" 2>/dev/null; }

# --- The machine: display, Wine, port 80, the serial line, the reply files.
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    mt_xvfb_up
    own_display=1
fi
mt_wine_up
for tool in curl socat stty ss import identify; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh)"
done
if [ "$(id -u)" -ne 0 ] && [ "$(sysctl -n net.ipv4.ip_unprivileged_port_start 2>/dev/null || echo 1024)" -gt 80 ]; then
    fail "binding port 80 needs root: run the tests as root"
fi
# The port the program will listen on: 80 unless the script set session_port first.
if port_open "${session_port:-80}"; then
    fail "port ${session_port:-80} on 127.0.0.1 is taken by another program; the run needs it free"
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

# get PATH NAME [PORT]: one request from curl on loopback (port 80 unless given), the whole
# reply (status line and headers too) saved as $out/NAME (bounded).
get() { curl -s --include --max-time 60 -o "$out/$2" "http://127.0.0.1:${3:-80}$1" </dev/null; }
same_as() { cmp -s "$out/$1" "$drive/$2" || fail "the reply to $3 is not C:\\$2: $(head -c 200 "$out/$1" 2>/dev/null)"; }
# The bytes the serial line received since the last serial_mark.
serial_base=0
serial_bytes() { tail -c +$((serial_base + 1)) "$out/serial.bin"; }
serial_mark() { serial_base=$(stat -c %s "$out/serial.bin"); }
await_serial() {  # await_serial BYTES: the serial line has received exactly BYTES (bounded)
    for _ in $(seq 1 50); do [ "$(serial_bytes)" = "$1" ] && break; sleep 0.1; done
    [ "$(serial_bytes)" = "$1" ] || fail "the serial line received \"$(serial_bytes)\" instead of $1"
}
# dismiss_steps COUNT "NUMBERS ": dismisses COUNT step boxes, which must carry these numbers.
dismiss_steps() {
    drive boxes "$1" 30000 || fail "the $1 step boxes"
    local numbers
    numbers=$(grep '^box nDebug|' "$out/driver.out" | cut -d'|' -f2 | tr '\n' ' ')
    [ "$numbers" = "$2" ] || fail "step boxes \"$numbers\" instead of \"$2\""
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# start_program [SWITCH...]: the program under Wine, with these switches on its command line.
start_program() {
    step "start $(basename "$program") $* on display $DISPLAY"
    (cd "$out" && exec wine "$program" "$@" </dev/null >"$out/program.log" 2>&1) &
    app_pid=$!
}
# await_exit CODE: the program ends by itself within 20 s, with exit code CODE.
await_exit() {
    local status=''
    for _ in $(seq 1 200); do
        if ! kill -0 "$app_pid" 2>/dev/null; then
            status=0
            wait "$app_pid" || status=$?
            break
        fi
        sleep 0.1
    done
    [ -n "$status" ] || fail "the program did not end within 20 s"
    app_pid=''
    [ "$status" -eq "$1" ] || fail "the program ended with exit code $status instead of $1"
}
# close_program: the system menu's Close ends the program with exit code 0.
close_program() {
    drive close || fail "closing the window"
    await_exit 0
}
