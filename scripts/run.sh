#!/usr/bin/env bash
# run.sh [SWITCH...]: one command to a working machine on Debian 12.
#
# Installs what is missing (scripts/setup.sh), builds the program, the kit's stand-in tool hook
# (mt_tool_hook.dll) and the serial-line simulator, prepares a Wine prefix of its own (Wine's
# fonts, the kit's reply files in C:\a, C:\c, C:\s unless you have your own there), maps COM1 to
# a pseudo-terminal whose other end feeds the simulator, starts the simulator, starts a virtual
# display when there is none, starts Project1.exe on port 80 (or MT_PORT) with the operator API
# (--api) and the stand-in hook (--hook, which tells the simulator the tool's state: the live
# view draws the cut and the travel), connects it to COM1 and prints the two addresses to open.
# Runs until the program ends (close its window) or Ctrl-C; everything it started is ended on
# the way out.
#
# Every SWITCH is passed on to the program after run.sh's own, for instance
#   ./scripts/run.sh --limits 400,400
# A switch given here replaces run.sh's own of that name (--api, --hook, --port,
# --no-step-boxes): the program takes each switch once.
#
# On a virtual display nobody can click the program's boxes: there the program gets
# --no-step-boxes and a helper closes every box it shows. On a real display you click them.
#
# Environment (all optional):
#   MT_BUILD_ROOT  where the build trees go (default: build)
#   MT_VIEW_PORT   the simulator's live view port on 127.0.0.1 (default: 8070)
#   MT_PORT        the program's port (default: 80; another one is passed as --port)
#   MT_SERIAL      a real serial device (e.g. /dev/ttyUSB0) for COM1 instead of the simulator;
#                  the program then runs without the stand-in hook (no simulator to tell)
#   MT_PROGRAM, MT_DRIVER, MT_HOOK, MT_SIMULATOR  use these built Project1.exe,
#                  app_driver.exe, mt_tool_hook.dll and mt-simulator instead of building them
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

# given SWITCH: whether the operator's own switches name SWITCH (then run.sh leaves out its own).
given() {
    local argument
    for argument in "${operator_switches[@]}"; do [ "$argument" != "$1" ] || return 0; done
    return 1
}
operator_switches=("$@")

program=${MT_PROGRAM:-} driver=${MT_DRIVER:-} hook=${MT_HOOK:-} simulator=${MT_SIMULATOR:-}
# The stand-in hook tells the simulator; with a real machine there is none to tell (MT_HOOK, or
# --hook among the switches, names a library of your own).
want_hook=0
if ! given --hook && { [ -n "$hook" ] || [ -z "$serial" ]; }; then want_hook=1; fi
win_targets=()
[ -n "$program" ] || win_targets+=(Project1)
[ -n "$driver" ] || win_targets+=(app_driver)
[ -n "$hook" ] || [ "$want_hook" = 0 ] || win_targets+=(mt_tool_hook)
if [ "${#win_targets[@]}" -gt 0 ]; then
    build "$out/win" "${win_targets[@]}" -- -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Debug
    program=${program:-"$out/win/app/Project1.exe"}
    driver=${driver:-"$out/win/tests/app/app_driver.exe"}
    [ "$want_hook" = 0 ] || hook=${hook:-"$out/win/tools/tool_hook/mt_tool_hook.dll"}
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
if [ "$MT_DISPLAY_KIND" = virtual ]; then
    for switch in "${MT_UNATTENDED_SWITCHES[@]}"; do given "$switch" || switches+=("$switch"); done
fi
[ "$port" = 80 ] || given --port || switches+=(--port "$port")
given --api || switches+=(--api)

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

# The stand-in hook, as the program under Wine names it, reaches the simulator at MT_VIEW_PORT:
# Wine gives the program this environment.
[ "$want_hook" = 0 ] || switches+=(--hook "$(mt_windows_path "$hook")")
export MT_VIEW_PORT=$view_port
mt_program_start "$program" "$run/program.log" "${switches[@]}" "${operator_switches[@]}"
printf 'socat %s\nsimulator %s\nprogram %s\nxvfb %s\n' "${MT_LINE_PID:-}" "${MT_SIMULATOR_PID:-}" "$MT_PROGRAM_PID" \
    "${MT_XVFB_PID:-}" >"$run/pids"
# The main window, or a box instead of it: a switch the program refuses is named in a box
# before any window exists (on a virtual display nobody reads it), and the program ends once
# it is closed. Whichever comes first ends the wait.
shown=''
started=$SECONDS
while [ -z "$shown" ] && [ $((SECONDS - started)) -lt "$MT_WAIT_START" ]; do
    if mt_drive wait-window 3000; then shown=window
    elif mt_drive wait-box 200; then shown=box
    elif mt_ended "$MT_PROGRAM_PID"; then shown=end
    fi
done
if [ "$shown" != window ]; then
    cat "$run/program.log"
    if [ "$shown" = box ]; then
        echo "The program showed a box instead of its window (caption|text):"
        grep "^box" "$MT_DRIVE_OUT" || true
    fi
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
    echo "Nobody can click the program's boxes on a virtual display: it runs with ${MT_UNATTENDED_SWITCHES[*]}, and a helper closes every box it shows."
fi
echo "  The program runs with: ${switches[*]} ${operator_switches[*]}"
if [ "$want_hook" = 1 ] && [ -z "$serial" ]; then
    echo "  The tool: the hook $(basename "$hook") tells the simulator its state; the live view draws the cut solid, the travel dashed."
fi
echo "Reply files in $WINEPREFIX/drive_c (a, c, s); logs in $run. Press Ctrl-C to stop."
status=0
wait "$MT_PROGRAM_PID" || status=$?
mt_disown "$MT_PROGRAM_PID"
MT_PROGRAM_PID=''
echo "Project1.exe ended with exit code $status."
exit "$status"
