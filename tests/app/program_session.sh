# program_session.sh: what the scripts that run the whole program share. Sourced after they
# have set program (Project1.exe), driver (app_driver.exe), prefix (the Wine prefix) and out (a
# folder for logs and screenshots). Brings up the machine through scripts/lib.sh: the X display,
# Wine, a socat pseudo-terminal pair whose first end is COM5 in the prefix and whose other end is
# recorded into $out/serial.bin, and the reply files in C:\. Defines the steps the scripts share:
# drive (the driver, its output printed), get (curl on 127.0.0.1), the serial checks,
# start_program, await_exit and close_program. Every wait is bounded (see scripts/lib.sh);
# every process started is ended on the way out, by its id.
# shellcheck shell=bash
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/lib.sh
source "$root/scripts/lib.sh"
mt_wine_env "$prefix"

com=COM5
drive="$prefix/drive_c"
mkdir -p "$out"
rm -rf "${out:?}"/*
pty="$out/pty"
MT_DRIVER=$driver MT_DRIVE_OUT="$out/driver.out" MT_DRIVE_ECHO=1

# A script's curl in the background (curl_pid) and its holder of a port (holder_pid) go too.
cleanup() {
    mt_stop "${curl_pid:-}"
    mt_stop "${holder_pid:-}"
    mt_cleanup
    rm -f "$drive/a" "$drive/c" "$drive/s"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "--- program log:"; cat "$out/program.log" 2>/dev/null || true
    exit 1
}
step() { echo "== $*"; }

drive() { mt_drive "$@"; }
# expect_line LINE: the last driver output holds exactly this line.
expect_line() { grep -qxF -- "$1" "$MT_DRIVE_OUT" || fail "expected the line \"$1\""; }

# --- The machine: display, Wine, port 80, the serial line, the reply files.
mt_display_up
mt_wine_up
mt_control_ids || fail "the driver gave no control identifiers"
for tool in curl socat stty ss import identify xdotool; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh)"
done
mt_may_bind 80 || fail "binding port 80 needs root: run the tests as root"
# The port the program will listen on: 80 unless the script set session_port first.
if mt_port_open "${session_port:-80}"; then
    fail "port ${session_port:-80} on 127.0.0.1 is taken by another program; the run needs it free"
fi

mt_line_up "$pty" || fail "socat made no pseudo-terminal pair"
mt_map_com "$com" "$pty/ttyA"
mt_line_record "$pty" "$out/serial.bin"

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
serial_is() { [ "$(serial_bytes)" = "$1" ]; }
serial_count_reaches() { [ "$(serial_bytes | wc -c)" -ge "$1" ]; }
# await_serial_count COUNT: at least COUNT bytes have arrived since the last serial_mark (bounded).
await_serial_count() { mt_wait_for "$MT_WAIT_LOCAL" serial_count_reaches "$1"; }
# await_serial BYTES: the serial line has received exactly BYTES (bounded)
await_serial() {
    mt_wait_for "$MT_WAIT_LOCAL" serial_is "$1" || fail "the serial line received \"$(serial_bytes)\" instead of $1"
}
# dismiss_steps COUNT "NUMBERS ": dismisses COUNT step boxes, which must carry these numbers.
dismiss_steps() {
    drive boxes "$1" 30000 || fail "the $1 step boxes"
    local numbers
    numbers=$(grep '^box nDebug|' "$MT_DRIVE_OUT" | cut -d'|' -f2 | tr '\n' ' ')
    [ "$numbers" = "$2" ] || fail "step boxes \"$numbers\" instead of \"$2\""
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# start_program [SWITCH...]: the program under Wine, with these switches on its command line.
start_program() {
    step "start $(basename "$program") $* on display $DISPLAY"
    mt_program_start "$program" "$out/program.log" "$@"
}
# await_exit CODE: the program ends by itself (bounded), with exit code CODE.
await_exit() {
    mt_await_exit "$1" && return 0
    [ -n "$MT_PROGRAM_STATUS" ] || fail "the program did not end within $MT_WAIT_START s"
    fail "the program ended with exit code $MT_PROGRAM_STATUS instead of $1"
}
# close_program: the system menu's Close ends the program with exit code 0.
close_program() {
    drive close || fail "closing the window"
    await_exit 0
}
