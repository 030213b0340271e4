#!/usr/bin/env bash
# bench/run.sh: measures the program and prints a table, every figure beside its reference
# taken in the same run; writes the table as CSV to $MT_BUILD_ROOT/bench/bench.csv (default
# build/bench/bench.csv) and the raw outputs beside it.
#
#   step stream      30,000-step lines (--no-step-boxes, p=0) into a pseudo-terminal, steps/s,
#                    against raw_serial.exe (one-byte WriteFile calls) to a line of its own
#   command latency  request sent -> first step byte on the line, p50/p99 of 1,000 one-step moves
#   step timing      the intervals between step bytes at p = 1, 2, 5 and 10 (mean / p, and the
#                    99th percentile of their deviation from p), and with --ramp 20,50 at p=2
#                    the first interval, the one after step 51 and the median of the middle
#   reply service    "GET /" with wrk at 1 and 16 connections (default backlog 5 and --backlog
#                    128), against min_server.exe (asynchronous select, read the file, send,
#                    close) under Wine, the same on a visible window, and nginx serving the
#                    same bytes
#   start-up         process start to the port accepting, median of 10
#   memory, handles  after 1,000 and after 20,000 requests
#
# A program and its reference are measured in alternating rounds (program, reference, program,
# ...), so that a machine shared with other work weighs on both alike; a ratio is the median of
# the rounds' ratios, with the lowest and the highest round beside it.
#
# Environment: MT_BUILD_ROOT, MT_BENCH_ROUNDS (rounds of each pair, default 3),
# MT_BENCH_SECONDS (each wrk round, default 3), MT_BENCH_STEPS (each step stream round, default
# 30000), MT_BENCH_MOVES (default 1000), MT_BENCH_REQUESTS (default 20000).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${MT_BUILD_ROOT:-build}
mkdir -p "$build"
build=$(cd "$build" && pwd)
out=$build/bench
mkdir -p "$out"
rounds=${MT_BENCH_ROUNDS:-3}
seconds=${MT_BENCH_SECONDS:-3}
steps=${MT_BENCH_STEPS:-30000}
moves=${MT_BENCH_MOVES:-1000}
total_requests=${MT_BENCH_REQUESTS:-20000}
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
# The program and its references as the program is shipped (scripts/package.sh): optimised. The
# driver and the desktop's keeper are the test tree's tools.
{ mt_configure_release "$build/release" &&
  cmake --build "$build/release" --target Project1 min_server raw_serial -j 2 &&
  cmake -S . -B "$build/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Debug &&
  cmake --build "$build/win" --target app_driver mt_session_keeper -j 2; } >"$out/build.log" 2>&1 ||
    { cat "$out/build.log"; exit 1; }
win=$build/win release=$build/release
program=$release/app/Project1.exe driver=$win/tests/app/app_driver.exe
min_server=$release/bench/min_server.exe raw_serial=$release/bench/raw_serial.exe

# shellcheck source=../scripts/lib.sh
source scripts/lib.sh
# A prefix of its own, so that the bench never ends the Wine of a test run in the tree.
mt_wine_env "$out/wineprefix"
MT_WINE_OWNED=1
MT_DRIVER=$driver MT_DRIVE_OUT="$out/driver.out"
trap mt_cleanup EXIT
# The desktop stays open between the program's starts: one that came while it was closing
# behind the program before would get no window (tests/support/session_keeper.cpp).
export MT_SESSION_KEEPER=$win/tests/support/mt_session_keeper.exe
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
# row FIGURE PROGRAM FLOOR NGINX VS-FLOOR VS-NGINX GOAL: one row of the table, quoted (figures
# and goals may hold commas).
row() { printf '"%s","%s","%s","%s","%s","%s","%s"\n' "$@" >>"$csv"; }
load() { cut -d' ' -f1 /proc/loadavg; }
load_at_start=$(load)
# Under emulation a call into the system costs several times what it does natively, and so
# the ratios differ too: the table says which it was.
wine_kind="native 32-bit Wine" wine_row=natively
if mt_wine_emulated; then wine_kind="qemu-i386 emulation of the 32-bit Wine processes" wine_row=emulated; fi
row "32-bit Wine ran (emulated: qemu-i386)" "$wine_row" - - - - -
ratio() { python3 -c "import sys; a, b = float(sys.argv[1]), float(sys.argv[2]); print(f'{a / b:.2f}x' if b else '-')" "$1" "$2"; }
field() { sed -n "s|.*\\b$1 \\([^ ]*\\).*|\\1|p" <<<"$2"; }
# spread RESULT: "median (lowest-highest)" of a `measure rounds` result.
spread() { echo "$(field median "$1") ($(field low "$1")-$(field high "$1"))"; }
# collect KEY VALUE: one round's figure, kept under KEY (comma-separated).
declare -A collected
collect() { collected[$1]=${collected[$1]:+${collected[$1]},}$2; }
# pair_rounds KEY REFERENCE-KEY: the rounds of a pair, from the figures collected under the keys.
pair_rounds() { measure rounds "${collected[$1]}" "${collected[$2]}"; }

# stream_reader FILE COUNT [MODE ARGS...]: reads COUNT step bytes from the program's line (measure
# MODE, default stream, on $line) in the background into FILE; returns once the reader is
# ready. Sets reader.
line=''
stream_reader() {
    local file=$1 count=$2 mode=${3:-stream}
    shift $(($# < 3 ? $# : 3))
    measure "$mode" "$line" "$count" "$@" >"$file" &
    reader=$!
    for _ in $(seq 1 600); do grep -q '^ready' "$file" 2>/dev/null && return 0; sleep 0.05; done
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
# The raw loop's line of the same kind, COM8: the program holds COM9 for itself meanwhile.
mt_line_up "$pty/raw"
mt_map_com COM8 "$pty/raw/ttyA"

start_program 8181 --no-step-boxes
mt_connect COM9 >/dev/null || true

# stream_rounds: the program's lines (there and back) and the raw loop in turns; leaves the
# program at X 0.
stream_rounds() {
    local round target=0 result
    echo "== step stream: $rounds rounds of $steps steps each (at ${SECONDS} s)"
    for round in $(seq 1 "$rounds"); do
        line=$pty/raw/ttyB stream_reader "$out/raw_stream_$round.txt" "$steps"
        wine "$raw_serial" COM8 "$steps" </dev/null
        wait "$reader" || true
        result=$(grep -v ready "$out/raw_stream_$round.txt")
        echo "   raw loop:  $result"
        collect stream-reference "$(field steps/s "$result")"
        target=$((target == 0 ? steps : 0))
        line=$pty/ttyB stream_reader "$out/program_stream_$round.txt" "$steps"
        curl -s -o /dev/null --max-time 600 "http://127.0.0.1:8181/s?e=1&p=0&X$target&Y0" || true
        wait "$reader" || true
        result=$(grep -v ready "$out/program_stream_$round.txt")
        echo "   Project1:  $result"
        collect stream-program "$(field steps/s "$result")"
    done
    if [ "$target" != 0 ]; then
        # Back to 0 before the latency moves (not measured).
        line=$pty/ttyB stream_reader "$out/back_stream.txt" "$steps"
        curl -s -o /dev/null --max-time 600 "http://127.0.0.1:8181/s?e=1&p=0&X0&Y0" || true
        wait "$reader" || true
    fi
    result=$(pair_rounds stream-program stream-reference)
    echo "   $result"
    row "step stream (steps/s; median of $rounds rounds)" "$(field program "$result")" \
        "$(field reference "$result")" - "$(spread "$result")" - ">= 0.9x raw loop (median)"
}
stream_rounds

echo "== command latency: $moves one-step moves (at ${SECONDS} s)"
lat=$(measure latency 8181 "$pty/ttyB" "$moves")
echo "   $lat"
row "first step byte p50 (ms)" "$(field p50 "$lat")" - - - - "<= 2 ms"
row "first step byte p99 (ms)" "$(field p99 "$lat")" - - - - "-"

# paced_line FILE COUNT PAUSE TARGET: one line of COUNT steps at p=PAUSE to X TARGET, its
# intervals measured at the line's far end; prints the figures.
paced_line() {
    line=$pty/ttyB stream_reader "$1" "$2" pace "$3"
    curl -s -o /dev/null --max-time 600 "http://127.0.0.1:8181/s?e=1&p=$3&X$4&Y0" || true
    wait "$reader" || true
    grep -v ready "$1"
}
# timing_rows: lines at p = 1, 2, 5 and 10 (from X 0, each back over part of the one before),
# then a ramped line in a program started with --ramp 20,50.
timing_rows() {
    local pause count target result goal
    echo "== step timing, --no-step-boxes (at ${SECONDS} s)"
    for pause in 1 2 5 10; do
        case $pause in 1) count=1000 target=1000 ;; 2) count=500 target=500 ;; 5) count=300 target=800 ;; 10) count=200 target=600 ;; esac
        result=$(paced_line "$out/pace_p$pause.txt" "$count" "$pause" "$target")
        echo "   p=$pause, $count steps: $result"
        goal="within 2 % (0.98-1.02)"
        [ "$pause" != 1 ] || goal="within 5 % (0.95-1.05)"
        row "p=$pause: mean interval / p ($count steps)" "$(field ratio "$result")" - - - - "$goal"
        row "p=$pause: p99 deviation from p (ms)" "$(field p99dev "$result")" - - - - "-"
    done
    mt_program_stop
    start_program 8181 --no-step-boxes --ramp 20,50
    mt_connect COM9 >/dev/null || true
    result=$(paced_line "$out/pace_ramp.txt" 300 2 300)
    echo "   --ramp 20,50, p=2, 300 steps: $result"
    row "--ramp 20,50 p=2: first interval (ms)" "$(field first "$result")" - - - - "20 within 10 % (18-22)"
    row "--ramp 20,50 p=2: interval after step 51 (ms)" "$(field after51 "$result")" - - - - "2"
    row "--ramp 20,50 p=2: median of the middle (ms)" "$(field median_middle "$result")" - - - - "2"
}
timing_rows
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
# reply_rounds KEY CONNECTIONS SUBJECT:PORT...: rounds of wrk runs over the subjects in turn.
# Collects each subject's rate of every round under KEY-SUBJECT, and keeps its p50 and p99 of
# the last round, its worst maximum and its errors over all rounds.
declare -A p50 p99 worst errors
reply_rounds() {
    local key=$1 connections=$2 round entry subject result
    shift 2
    echo "== reply service: $key, $connections connection(s), $rounds rounds of ${seconds} s each (at ${SECONDS} s)"
    for round in $(seq 1 "$rounds"); do
        for entry in "$@"; do
            subject=$key-${entry%%:*}
            result=$(wrk_run "$subject-$round" "${entry#*:}" "$connections")
            echo "   round $round, ${entry%%:*}: $result"
            collect "$subject" "$(field rate "$result")"
            p50[$subject]=$(field p50 "$result")
            p99[$subject]=$(field p99 "$result")
            worst[$subject]=$(awk -v a="${worst[$subject]:-0}" -v b="$(field max "$result")" 'BEGIN {print (b > a ? b : a)}')
            errors[$subject]=$((${errors[$subject]:-0} + $(field errors "$result")))
        done
    done
}
# reply_rows KEY CONNECTIONS: the rows of one reply_rounds, the program against the floors.
reply_rows() {
    local key=$1 c=$2 vs_min vs_nginx vs_minwin
    vs_min=$(pair_rounds "$key-program" "$key-min")
    latencies() { echo "${p50[$key-$1]} / ${p99[$key-$1]} / ${worst[$key-$1]}"; }
    if [ -n "${collected[$key-nginx]:-}" ]; then
        vs_nginx=$(pair_rounds "$key-program" "$key-nginx")
        row "GET / at $c connection(s) (requests/s)" "$(field program "$vs_min")" "$(field reference "$vs_min")" \
            "$(field reference "$vs_nginx")" "$(spread "$vs_min")" "$(spread "$vs_nginx")" ">= 1.0x floor (median), 0 errors"
        row "GET / at $c: p50 / p99 (last round) / max (ms)" "$(latencies program)" "$(latencies min)" "$(latencies nginx)" - - -
        row "GET / at $c: errors (all rounds)" "${errors[$key-program]}" "${errors[$key-min]}" "${errors[$key-nginx]}" - - "0"
        vs_minwin=$(pair_rounds "$key-program" "$key-minwin")
        row "GET / at $c: floor on a visible window (requests/s)" "$(field program "$vs_minwin")" \
            "$(field reference "$vs_minwin")" - "$(spread "$vs_minwin")" - -
    else
        row "GET / at $c with --backlog 128 (requests/s)" "$(field program "$vs_min")" "$(field reference "$vs_min")" - \
            "$(spread "$vs_min")" - ">= 1.0x floor (median)"
        row "GET / at $c with --backlog 128: p50 / p99 (last round) / max (ms)" "$(latencies program)" "$(latencies min)" - - - \
            "max <= 100 ms"
        row "GET / at $c with --backlog 128: errors (all rounds)" "${errors[$key-program]}" "${errors[$key-min]}" - - - "0"
    fi
}

start_program 8181
settle
for connections in 1 16; do
    reply_rounds "c$connections" "$connections" program:8181 min:8183 minwin:8186 nginx:8184
done
mt_program_stop
mt_stop "$min_pid"
mt_stop "$minwin_pid"
min_server 8183 128
min_pid=$MT_WINE_PID
start_program 8181 --backlog 128
settle
reply_rounds backlog128 16 program:8181 min:8183
mt_stop "$min_pid"
reply_rows c1 1
reply_rows c16 16
reply_rows backlog128 16

# ---- memory and handles after 1,000 and after $total_requests requests
echo "== memory and handles (at ${SECONDS} s)"
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
echo "== start-up (at ${SECONDS} s)"
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

row "load average (1 min) at start / end; cores" "$load_at_start / $(load); $(nproc)" - - - - -
row "bench time, build included (s)" "$SECONDS" - - - - "about 360"
echo
echo "Figures taken under $wine_kind, $(nproc) cores."
measure table "$csv"
echo "CSV: $csv"
