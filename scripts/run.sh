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

# shellcheck source=lib.sh
source scripts/lib.sh
# shellcheck source=cmake-env.sh
source scripts/cmake-env.sh

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

cleanup() {
    trap - EXIT INT TERM
    echo "Stopping."
    mt_cleanup
    rm -f "$run/pids"
}
trap cleanup EXIT
trap 'echo "run.sh: \"$BASH_COMMAND\" failed (line $LINENO)."' ERR
trap 'exit 130' INT
trap 'exit 143' TERM

# The display: the one there is, or a virtual one.
mt_display_up
switches=()
[ "$MT_DISPLAY_KIND" = real ] || switches=("${MT_UNATTENDED_SWITCHES[@]}")
[ "$port" = 80 ] || switches+=(--port "$port")

# This command's own prefix: its wineserver ends with it.
MT_WINE_OWNED=1
mt_wine_env "$run/wineprefix"
[ -f "$WINEPREFIX/.mt-ready" ] || echo "Preparing the Wine prefix $WINEPREFIX (the first time takes a while)."
mt_wine_up
mt_install_reply_files "$run/reply" "$WINEPREFIX/drive_c"

if ! mt_may_bind "$port"; then
    echo "Note: not root; binding port $port may fail, and the program then runs without a listener."
fi
if mt_port_open "$port"; then
    echo "Port $port on 127.0.0.1 is taken by another program: stop it first, or choose another with MT_PORT."
    exit 1
fi

# The serial line: COM1 to the simulator, or to the device named.
MT_DRIVER=$driver MT_DRIVE_OUT="$run/driver.out"
if [ -n "$serial" ]; then
    mt_map_com "$com" "$serial"
else
    mt_line_up "$run/line"
    mt_map_com "$com" "$run/line/ttyA"
    mt_simulator_up "$simulator" "$run/line/ttyB" "$view_port" "$run"
fi

mt_program_start "$program" "$run/program.log" "${switches[@]}"
printf 'socat %s\nsimulator %s\nprogram %s\nxvfb %s\n' "${MT_LINE_PID:-}" "${MT_SIMULATOR_PID:-}" "$MT_PROGRAM_PID" \
    "${MT_XVFB_PID:-}" >"$run/pids"
if ! mt_drive wait-window $((MT_WAIT_START * 1000)); then
    cat "$run/program.log"
    echo "The program's window did not appear."
    exit 1
fi
mt_await_port "$port" 2>/dev/null || echo "Warning: the program does not listen on port $port."

# Connected as the operator would: ">" beside the port name, which reads COM1.
if mt_connect >/dev/null; then
    connected="connected to $com"
else
    connected="NOT connected to $com: $(grep '^box' "$MT_DRIVE_OUT" || echo 'no answer')"
fi
if [ "$MT_DISPLAY_KIND" = virtual ]; then
    mt_dismisser_start "$run"
    echo "dismisser $MT_DISMISSER_PID" >>"$run/pids"
fi

echo
echo "Mini-Tarvo Server is running: $(basename "$program") under Wine on the $MT_DISPLAY_KIND display $DISPLAY, $connected."
if [ "$port" = 80 ]; then address=http://127.0.0.1/; else address="http://127.0.0.1:$port/"; fi
echo "  Control page: $address"
if [ -z "$serial" ]; then
    echo "  Live view:    http://127.0.0.1:$view_port/  (the simulator at the other end of $com)"
else
    echo "  $com is $serial."
fi
if [ "$MT_DISPLAY_KIND" = virtual ]; then
    echo "Nobody can click the program's boxes on a virtual display: it runs with ${switches[*]}, and a helper closes every box it shows."
fi
echo "Reply files in $WINEPREFIX/drive_c (a, c, s); logs in $run. Press Ctrl-C to stop."
status=0
wait "$MT_PROGRAM_PID" || status=$?
mt_disown "$MT_PROGRAM_PID"
MT_PROGRAM_PID=''
echo "Project1.exe ended with exit code $status."
exit "$status"
