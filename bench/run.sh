#!/usr/bin/env bash
# bench/run.sh: measures the program and prints a table, every figure beside its reference
# taken in the same run; writes the table as CSV to $MT_BUILD_ROOT/bench/bench.csv (default
# build/bench/bench.csv) and the raw outputs beside it.
#
#   step stream      a 100,000-step line (--no-step-boxes, p=0) into a pseudo-terminal, steps/s,
#                    against raw_serial.exe (one-byte WriteFile calls) to the same line
#   command latency  request sent -> first step byte on the line, p50/p99 of 1,000 one-step moves
#   reply service    "GET /" with wrk at 1 and 16 connections (default backlog 5 and --backlog
#                    128), against min_server.exe (asynchronous select, read the file, send,
#                    close) under Wine, the same on a visible window, and nginx serving the
#                    same bytes
#   start-up         process start to the port accepting, median of 10
#   memory, handles  after 1,000 and after 100,000 requests
#
# Environment: MT_BUILD_ROOT, MT_BENCH_SECONDS (each wrk run, default 8), MT_BENCH_STEPS
# (default 100000), MT_BENCH_MOVES (default 1000), MT_BENCH_REQUESTS (default 100000).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${MT_BUILD_ROOT:-build}
mkdir -p "$build"
build=$(cd "$build" && pwd)
out=$build/bench
mkdir -p "$out"
seconds=${MT_BENCH_SECONDS:-8}
steps=${MT_BENCH_STEPS:-100000}
moves=${MT_BENCH_MOVES:-1000}
total_requests=${MT_BENCH_REQUESTS:-100000}
measure() { python3 "$root/bench/measure.py" "$@"; }

scripts/setup.sh
# shellcheck source=../scripts/cmake-env.sh
source scripts/cmake-env.sh
for tool in wrk nginx; do
    command -v "$tool" >/dev/null && continue
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends wrk nginx-light >/dev/null
done
cmake -S . -B "$build/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/win" --target Project1 app_driver min_server raw_serial -j 2 >"$out/build.log" 2>&1 ||
    { cat "$out/build.log"; exit 1; }
win=$build/win
program=$win/app/Project1.exe driver=$win/tests/app/app_driver.exe
min_server=$win/bench/min_server.exe raw_serial=$win/bench/raw_serial.exe

# shellcheck source=../scripts/lib.sh
source scripts/lib.sh
# A prefix of its own, so that the bench never ends the Wine of a test run in the tree.
mt_wine_env "$out/wineprefix"
MT_WINE_OWNED=1
MT_DRIVER=$driver MT_DRIVE_OUT="$out/driver.out"
trap mt_cleanup EXIT
mt_display_up
mt_wine_up
drive_c=$WINEPREFIX/drive_c

# The reply: 595 bytes, a whole HTTP response as the program sends it. nginx serves the same
# bytes from its own root (as its body), min_server the same file.
python3 - "$drive_c/a" "$out/www/index.html" <<'EOF'
import os, sys
head = b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: %d\r\nConnection: close\r\n\r\n"
body_length = 595 - len(head % 500)
body = (b"<!doctype html><title>bench</title>" + b"x" * 600)[:body_length]
reply = head % len(body) + body
assert len(reply) == 595, len(reply)
for path in sys.argv[1:]:
    os.makedirs(os.path.dirname(path), exist_ok=True)
    open(path, "wb").write(reply)
EOF
cp "$drive_c/a" "$drive_c/c"
cp "$drive_c/a" "$drive_c/s"

csv=$out/bench.csv
echo "figure,program,floor,nginx,vs_floor,vs_nginx,goal" >"$csv"
row() { echo "$1,$2,$3,$4,$5,$6,$7" >>"$csv"; }
ratio() { python3 -c "import sys; a, b = float(sys.argv[1]), float(sys.argv[2]); print(f'{a / b:.2f}x' if b else '-')" "$1" "$2"; }
field() { sed -n "s|.*\\b$1 \\([^ ]*\\).*|\\1|p" <<<"$2"; }

# stream_reader FILE COUNT: reads COUNT step bytes from the line in the background into FILE;
# returns once the reader is ready. Sets reader.
stream_reader() {
    measure stream "$pty/ttyB" "$2" >"$1" &
    reader=$!
    for _ in $(seq 1 600); do grep -q '^ready' "$1" 2>/dev/null && return 0; sleep 0.05; done
    echo "bench: the line's reader did not start" >&2
    return 1
}

# start_program PORT SWITCH...: Project1.exe under Wine on PORT, until its port accepts.
start_program() {
    local port=$1
    shift
    mt_program_start "$program" "$out/program.log" --port "$port" "$@"
    mt_await_port "$port"
}
# settle: the reply figures are the program at work, not at its start (which has a row of its
# own). The listener opens while the window is made; the window is shown and painted after
# that, and requests sent meanwhile wait for it (up to some 100 ms under emulation).
settle() { sleep 2; }
# drive ARGS...: one driver command; its output on standard output.
drive() { mt_drive "$@" && cat "$MT_DRIVE_OUT"; }
# min_server PORT BACKLOG [window]: the floor under Wine on PORT, until its port accepts. Sets
# MT_WINE_PID.
min_server() {
    mt_wine_start "$min_server" "$out/min_server-$1.log" "$1" 'C:\a' "${@:2}"
    mt_await_port "$1"
}

# ---- step stream and command latency, on a pseudo-terminal pair mapped to COM9
pty=$out/pty
mt_line_up "$pty"
mt_map_com COM9 "$pty/ttyA"

echo "== step stream: $steps steps"
stream_reader "$out/raw_stream.txt" "$steps"
wine "$raw_serial" COM9 "$steps" </dev/null
wait "$reader" || true
raw=$(grep -v ready "$out/raw_stream.txt")
echo "   raw loop:  $raw"

start_program 8181 --no-step-boxes
mt_connect COM9 >/dev/null || true
stream_reader "$out/program_stream.txt" "$steps"
curl -s -o /dev/null --max-time 600 "http://127.0.0.1:8181/s?e=1&p=0&X$steps&Y0" || true
wait "$reader" || true
stream=$(grep -v ready "$out/program_stream.txt")
echo "   Project1:  $stream"
# Back to 0 before the latency moves (not measured).
stream_reader "$out/back_stream.txt" "$steps"
curl -s -o /dev/null --max-time 600 "http://127.0.0.1:8181/s?e=1&p=0&X0&Y0" || true
wait "$reader" || true
row "step stream (steps/s)" "$(field steps/s "$stream")" "$(field steps/s "$raw")" - \
    "$(ratio "$(field steps/s "$stream")" "$(field steps/s "$raw")")" - ">= 0.9x raw loop and >= 25000"

echo "== command latency: $moves one-step moves"
lat=$(measure latency 8181 "$pty/ttyB" "$moves")
echo "   $lat"
row "first step byte p50 (ms)" "$(field p50 "$lat")" - - - - "<= 2 ms"
row "first step byte p99 (ms)" "$(field p99 "$lat")" - - - - "-"
mt_program_stop

# ---- reply service
nginx_conf=$out/nginx.conf
# Started by root, nginx would serve as "nobody", who may not enter the build tree (a folder
# made by mktemp is the owner's alone): every request would be refused with 403.
nginx_user=''
[ "$(id -u)" -ne 0 ] || nginx_user='user root;'
cat >"$nginx_conf" <<EOF
$nginx_user
worker_processes 1;
daemon off;
pid $out/nginx.pid;
error_log $out/nginx-error.log;
events { worker_connections 1024; }
http {
    access_log off;
    server {
        listen 127.0.0.1:8184;
        root $out/www;
        keepalive_timeout 0;
    }
}
EOF
nginx -c "$nginx_conf" </dev/null >/dev/null 2>&1 &
mt_own $!
mt_await_port 8184
# A reference that answers with an error page would measure something else.
nginx_status=$(curl -s -o /dev/null -w '%{http_code}' "http://127.0.0.1:8184/" || true)
[ "$nginx_status" = 200 ] || { echo "nginx answers $nginx_status, not 200 (see $out/nginx-error.log)"; exit 1; }

# wrk_run NAME PORT CONNECTIONS: one wrk run; prints its figures.
wrk_run() {
    local threads=1
    [ "$3" -gt 1 ] && threads=2
    wrk -t"$threads" -c"$3" -d"${seconds}s" --timeout 10s --latency "http://127.0.0.1:$2/" >"$out/wrk-$1-$3.txt" 2>&1 || true
    measure wrk "$out/wrk-$1-$3.txt"
}

min_server 8183 5
min_pid=$MT_WINE_PID
# The same floor with its events going to a visible window, as the program's do.
min_server 8186 5 window
minwin_pid=$MT_WINE_PID
start_program 8181
settle
declare -A rate p50 p99 worst errors
for connections in 1 16; do
    echo "== reply service: $connections connections, ${seconds} s each"
    for subject in program min minwin nginx; do
        case $subject in program) port=8181 ;; min) port=8183 ;; minwin) port=8186 ;; nginx) port=8184 ;; esac
        result=$(wrk_run "$subject" "$port" "$connections")
        echo "   $subject: $result"
        rate[$subject-$connections]=$(field rate "$result")
        p50[$subject-$connections]=$(field p50 "$result")
        p99[$subject-$connections]=$(field p99 "$result")
        worst[$subject-$connections]=$(field max "$result")
        errors[$subject-$connections]=$(field errors "$result")
    done
done
mt_program_stop
mt_stop "$min_pid"
mt_stop "$minwin_pid"
min_server 8183 128
min_pid=$MT_WINE_PID
start_program 8181 --backlog 128
settle
echo "== reply service: 16 connections, --backlog 128"
for subject in program min; do
    case $subject in program) port=8181 ;; min) port=8183 ;; esac
    result=$(wrk_run "$subject-backlog128" "$port" 16)
    echo "   $subject: $result"
    rate[$subject-b]=$(field rate "$result")
    p99[$subject-b]=$(field p99 "$result")
    worst[$subject-b]=$(field max "$result")
    errors[$subject-b]=$(field errors "$result")
done
mt_stop "$min_pid"
for c in 1 16; do
    row "GET / at $c connection(s) (requests/s)" "${rate[program-$c]}" "${rate[min-$c]}" "${rate[nginx-$c]}" \
        "$(ratio "${rate[program-$c]}" "${rate[min-$c]}")" "$(ratio "${rate[program-$c]}" "${rate[nginx-$c]}")" \
        ">= 1.0x floor, 0 errors"
    row "GET / at $c: p50 / p99 / max (ms)" "${p50[program-$c]} / ${p99[program-$c]} / ${worst[program-$c]}" \
        "${p50[min-$c]} / ${p99[min-$c]} / ${worst[min-$c]}" "${p50[nginx-$c]} / ${p99[nginx-$c]} / ${worst[nginx-$c]}" - - -
    row "GET / at $c: errors" "${errors[program-$c]}" "${errors[min-$c]}" "${errors[nginx-$c]}" - - "0"
    row "GET / at $c: floor on a visible window (requests/s)" "${rate[program-$c]}" "${rate[minwin-$c]}" - \
        "$(ratio "${rate[program-$c]}" "${rate[minwin-$c]}")" - -
done
row "GET / at 16 with --backlog 128 (requests/s)" "${rate[program-b]}" "${rate[min-b]}" - \
    "$(ratio "${rate[program-b]}" "${rate[min-b]}")" - ">= 1.0x floor"
row "GET / at 16 with --backlog 128: p99 / max (ms)" "${p99[program-b]} / ${worst[program-b]}" \
    "${p99[min-b]} / ${worst[min-b]}" - - - "max <= 100 ms"
row "GET / at 16 with --backlog 128: errors" "${errors[program-b]}" "${errors[min-b]}" - - - "0"

# ---- memory and handles after 1,000 and after $total_requests requests
echo "== memory and handles"
measure requests 8181 1000
after_1k=$(drive handles)
echo "   after 1000: $after_1k"
served=1000
while [ "$served" -lt "$total_requests" ]; do
    wrk -t2 -c16 -d10s --timeout 10s "http://127.0.0.1:8181/" >"$out/wrk-fill.txt" 2>&1 || true
    done_now=$(measure wrk "$out/wrk-fill.txt")
    served=$((served + $(field requests "$done_now")))
done
after_all=$(drive handles)
echo "   after $served: $after_all"
row "handles after 1000 / after $served requests" "$(field handles "$after_1k") / $(field handles "$after_all")" - - - - "flat"
row "working set KB after 1000 / after $served" "$(field working-set-kb "$after_1k") / $(field working-set-kb "$after_all")" - - - - "flat"
row "private KB after 1000 / after $served" "$(field private-kb "$after_1k") / $(field private-kb "$after_all")" - - - - "flat"
mt_program_stop

# ---- start-up: process start to the port accepting, median of 10
echo "== start-up"
times=()
for _ in $(seq 1 10); do
    started=$(date +%s%N)
    start_program 8181
    times+=($((($(date +%s%N) - started) / 1000000)))
    mt_program_stop
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 5,6p | awk '{s += $1} END {print s / 2}')
echo "   ${times[*]} ms: median $median ms"
row "start-up to accepting (median of 10; ms)" "$median" - - - - "-"

echo
echo "Figures taken under $(if mt_wine_emulated; then echo "qemu-i386 emulation of the 32-bit Wine processes"; else echo "native 32-bit Wine"; fi), $(nproc) cores."
measure table "$csv"
echo "CSV: $csv"
