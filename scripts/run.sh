#!/usr/bin/env bash
# run.sh: one command to a working machine on Debian 12.
#
# Installs what is missing (scripts/setup.sh), builds the program and the serial-line
# simulator, prepares a Wine prefix of its own (Wine's fonts, the kit's reply files in C:\a,
# C:\c, C:\s unless you have your own there), maps COM1 to a pseudo-terminal whose other end
# feeds the simulator, starts a virtual display when there is none, starts Project1.exe on
# port 80 (or MT_PORT), connects it to COM1 and prints the two addresses to open. Runs until the program
# ends (close its window) or Ctrl-C; everything it started is ended on the way out.
#
# On a virtual display nobody can click the program's boxes: there the program gets
# --no-step-boxes and a helper closes every box it shows. On a real display you click them.
#
# Environment (all optional):
#   MT_BUILD_ROOT  where the build trees go (default: build)
#   MT_VIEW_PORT   the simulator's live view port on 127.0.0.1 (default: 8070)
#   MT_PORT        the program's port (default: 80; another one is passed as --port)
#   MT_SERIAL      a real serial device (e.g. /dev/ttyUSB0) for COM1 instead of the simulator
#   MT_PROGRAM, MT_DRIVER, MT_SIMULATOR  use these built Project1.exe, app_driver.exe and
#                  mt-simulator instead of building them
set -Eeuo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

scripts/setup.sh

out=${MT_BUILD_ROOT:-build}
mkdir -p "$out"
out=$(cd "$out" && pwd)
run="$out/run"  # this command's own prefix, line, logs and reply files
mkdir -p "$run"
view_port=${MT_VIEW_PORT:-8070}
port=${MT_PORT:-80}
serial=${MT_SERIAL:-}
com=COM1

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
# shellcheck source=kit.sh
source scripts/kit.sh
# shellcheck source=cmake-env.sh
source scripts/cmake-env.sh
# shellcheck source=reply-files.sh
source scripts/reply-files.sh

# build DIR TARGETS... -- CMAKE ARGS...: configures DIR and builds TARGETS, quietly unless it fails.
build() {
    local dir=$1 targets=()
    shift
    while [ "$1" != -- ]; do targets+=(--target "$1"); shift; done
    shift
    echo "Building ${targets[*]//--target /} in $dir"
    { cmake -S . -B "$dir" "$@" && cmake --build "$dir" "${targets[@]}" -j "$(nproc)"; } >"$dir.log" 2>&1 \
        || { cat "$dir.log"; echo "The build failed (log: $dir.log)."; exit 1; }
}

program=${MT_PROGRAM:-} driver=${MT_DRIVER:-} simulator=${MT_SIMULATOR:-}
if [ -z "$program" ] || [ -z "$driver" ]; then
    build "$out/win" Project1 app_driver -- -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Debug
    program="$out/win/app/Project1.exe"
    driver="$out/win/tests/app/app_driver.exe"
fi
if [ -z "$simulator" ] && [ -z "$serial" ]; then
    # A build of its own, without the sanitizers of the host test tree: the simulator keeps
    # pace with a fast line.
    build "$out/tools" mt-simulator -- -DCMAKE_BUILD_TYPE=Release -DMT_SANITIZE=OFF -DMT_BUILD_TESTS=OFF
    simulator="$out/tools/tools/simulator/mt-simulator"
fi
mt_make_reply_files "$run/reply" "$view_port"

socat_pid='' simulator_pid='' program_pid='' dismisser_pid='' own_display=0
cleanup() {
    trap - EXIT INT TERM
    echo "Stopping."
    if [ -n "$dismisser_pid" ]; then
        # Told to stop through its stop file; ended when it does not.
        touch "$run/dismiss.stop"
        mt_wait_for 5 bash -c "! kill -0 $dismisser_pid 2>/dev/null" || true
        mt_stop_pid "$dismisser_pid"
    fi
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        # Closed as the operator would; ended when a box holds it.
        timeout 10 wine "$driver" close </dev/null >/dev/null 2>&1 || true
        mt_wait_for 5 bash -c "! kill -0 $program_pid 2>/dev/null" || true
        mt_stop_pid "$program_pid"
    fi
    mt_stop_pid "$simulator_pid"
    mt_stop_pid "$socat_pid"
    wineserver -k </dev/null >/dev/null 2>&1 || true
    [ "$own_display" = 0 ] || mt_wine_down
    rm -f "$run/pids"
}
trap cleanup EXIT
trap 'echo "run.sh: \"$BASH_COMMAND\" failed (line $LINENO)."' ERR
trap 'exit 130' INT
trap 'exit 143' TERM

# The display: the one there is, or a virtual one.
display_kind=real
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    unset DISPLAY
    mt_xvfb_up
    own_display=1
    display_kind=virtual
fi
switches=()
[ "$display_kind" = real ] || switches=("${MT_UNATTENDED_SWITCHES[@]}")
[ "$port" = 80 ] || switches+=(--port "$port")

mt_wine_env "$run/wineprefix"
[ -f "$WINEPREFIX/.mt-ready" ] || echo "Preparing the Wine prefix $WINEPREFIX (the first time takes a while)."
mt_wine_up
mt_install_reply_files "$run/reply" "$WINEPREFIX/drive_c"

if [ "$(id -u)" -ne 0 ] && [ "$(sysctl -n net.ipv4.ip_unprivileged_port_start 2>/dev/null || echo 1024)" -gt "$port" ]; then
    echo "Note: not root; binding port $port may fail, and the program then runs without a listener."
fi
if mt_port_open "$port"; then
    echo "Port $port on 127.0.0.1 is taken by another program: stop it first, or choose another with MT_PORT."
    exit 1
fi

# The serial line: COM1 to the simulator, or to the device named.
if [ -n "$serial" ]; then
    mt_map_com "$com" "$serial"
else
    mt_line_up "$run/line"
    socat_pid=$MT_SOCAT_PID
    mt_map_com "$com" "$run/line/ttyA"
    mt_simulator_up "$simulator" "$run/line/ttyB" "$view_port" "$run"
    simulator_pid=$MT_SIMULATOR_PID
fi

mt_start_program "$program" "$run/program.log" "${switches[@]}"
program_pid=$MT_PROGRAM_PID
printf 'socat %s\nsimulator %s\nprogram %s\nxvfb %s\n' "$socat_pid" "$simulator_pid" "$program_pid" \
    "${MT_XVFB_PID:-}" >"$run/pids"

# drive ARGS...: one app_driver command, bounded; its output in $run/driver.out.
drive() {
    timeout 60 wine "$driver" "$@" </dev/null 2>/dev/null | tr -d '\r' >"$run/driver.out"
}
drive wait-window 60000 || { cat "$run/program.log"; echo "The program's window did not appear."; exit 1; }
mt_wait_for 20 mt_port_open "$port" || echo "Warning: the program does not listen on port $port."

# Connected as the operator would: ">" beside the port name, which reads COM1.
drive click 1002 && drive boxes 1 15000 || true
if grep -qxF 'box SUCCES!|SUCCES!' "$run/driver.out"; then
    connected="connected to $com"
else
    connected="NOT connected to $com: $(grep '^box' "$run/driver.out" || echo 'no answer')"
fi
if [ "$display_kind" = virtual ]; then
    rm -f "$run/dismiss.stop"
    wine "$driver" dismiss-all "$(mt_windows_path "$run/dismiss.stop")" </dev/null >"$run/dismissed.log" 2>&1 &
    dismisser_pid=$!
    echo "dismisser $dismisser_pid" >>"$run/pids"
fi

echo
echo "Mini-Tarvo Server is running: $(basename "$program") under Wine on the $display_kind display $DISPLAY, $connected."
if [ "$port" = 80 ]; then address=http://127.0.0.1/; else address="http://127.0.0.1:$port/"; fi
echo "  Control page: $address"
if [ -z "$serial" ]; then
    echo "  Live view:    http://127.0.0.1:$view_port/  (the simulator at the other end of $com)"
else
    echo "  $com is $serial."
fi
if [ "$display_kind" = virtual ]; then
    echo "Nobody can click the program's boxes on a virtual display: it runs with ${switches[*]}, and a helper closes every box it shows."
fi
echo "Reply files in $WINEPREFIX/drive_c (a, c, s); logs in $run. Press Ctrl-C to stop."
status=0
wait "$program_pid" || status=$?
program_pid=''
echo "Project1.exe ended with exit code $status."
exit "$status"
