# lib.sh: the project's shell library. The run command (run.sh), the test suite (test.sh), the
# tests' program scripts (tests/app/*.sh, the serial-line fixture, the run command's test), the
# soak and the bench bring up the display, Wine, the serial line, the simulator, the program
# (Project1.exe) and its driver through these functions; CTest's test programs run under Wine
# through wine-run.sh, which takes its environment from here too:
#
#   waits and processes  mt_wait_for, mt_alive, mt_ended, mt_own, mt_disown, mt_stop,
#                        mt_cleanup
#   the display          mt_display_up, mt_display_down
#   Wine                 mt_wine_env, mt_wine_up, mt_wine_down, mt_wine_start, mt_windows_path,
#                        mt_copy_prefix
#   the serial line      mt_line_up, mt_line_down, mt_line_record, mt_map_com, mt_unmap_com,
#                        mt_restore_coms
#   the simulator        mt_simulator_up
#   reply files          mt_http_response, mt_make_reply_files, mt_install_reply_files
#   the program          mt_may_bind, mt_port_open, mt_await_port, mt_program_start,
#                        mt_await_program, mt_await_exit, mt_program_stop
#   the driver           mt_drive, mt_control_ids, mt_connect, mt_dismisser_start,
#                        mt_dismisser_stop
#
# Source it (bash); it defines functions and settings and changes nothing by itself.
# shellcheck shell=bash disable=SC2034  # the settings it sets are its callers'
#
# Time-outs. Every wait is bounded. A wait polls every 50 ms (mt_wait_for) and gives up after
# its bound in seconds; a command that could hang runs under `timeout`.
# The bounds are the three below, sized for Wine under qemu's emulation, where a Wine program
# takes seconds to start; each function says which one it uses. A caller may set them before
# it sources this file.
#
#   MT_WAIT_LOCAL  something on this machine: a file, a pseudo-terminal, a port that answers or
#                  refuses, a process that ends when told
MT_WAIT_LOCAL=${MT_WAIT_LOCAL:-10}
#   MT_WAIT_START  a program coming up: its window, its listener, the simulator
MT_WAIT_START=${MT_WAIT_START:-60}
#   MT_WAIT_DRIVE  one run of the driver, including the waits its own arguments bound (which
#                  stay below this)
MT_WAIT_DRIVE=${MT_WAIT_DRIVE:-90}
#
# Settings a caller makes before it uses the driver:
#   MT_DRIVER      the driver, app_driver.exe (tests/app/app_driver.cpp)
#   MT_DRIVE_OUT   the file that holds the driver's last output
#   MT_DRIVE_ECHO  1: every driver output is printed too, indented by three blanks

# The folder of this file.
MT_SCRIPTS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The program's switches when nobody sits at its window (a virtual display, a test): there a
# step's "nDebug" box would wait for ever. The one place to change them.
MT_UNATTENDED_SWITCHES=(--no-step-boxes)

# ---- Waits and processes

# Processes started through this library, oldest first; mt_cleanup ends those still running.
MT_OWNED_PIDS=()

# mt_wait_for SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds; fails when it has
# not after SECONDS.
mt_wait_for() {
    local seconds=$1 _
    shift
    for _ in $(seq 1 $((seconds * 20))); do
        "$@" && return 0
        sleep 0.05
    done
    "$@"
}

# mt_own PID: notes a process started here, for mt_cleanup.
mt_own() { MT_OWNED_PIDS+=("$1"); }

# mt_alive PID: whether the process runs; mt_ended PID: whether it does not.
mt_alive() { [ -n "$1" ] && kill -0 "$1" 2>/dev/null; }
mt_ended() { ! mt_alive "$1"; }

# mt_disown PID: the process no longer counts as owned (it has ended, or another owner ends it).
mt_disown() {
    local kept=() owned
    for owned in "${MT_OWNED_PIDS[@]}"; do [ "$owned" = "$1" ] || kept+=("$owned"); done
    MT_OWNED_PIDS=("${kept[@]}")
}

# mt_stop PID: ends one process started here, by its id: TERM, then KILL after MT_WAIT_LOCAL; it
# is reaped when it is this shell's child and no longer counts as owned. Nothing for an empty id.
mt_stop() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || true
    mt_wait_for "$MT_WAIT_LOCAL" mt_ended "$pid" || kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    mt_disown "$pid"
}

# mt_cleanup: what a script's EXIT trap calls. Ends everything started through this library,
# each in its own way: the box dismisser through its stop file, the program as its operator
# closes it, every other owned process by its id, newest first; puts back the COM links
# mt_map_com replaced; then, when this shell owns the Wine prefix (MT_WINE_OWNED=1) or started
# the display, the prefix's wineserver, and last the display it started. Bounded as the
# functions it calls.
mt_cleanup() {
    mt_dismisser_stop
    mt_program_stop
    local i
    for ((i = ${#MT_OWNED_PIDS[@]} - 1; i >= 0; i--)); do mt_stop "${MT_OWNED_PIDS[i]}"; done
    mt_restore_coms
    if [ "${MT_WINE_OWNED:-0}" = 1 ] || [ -n "${MT_XVFB_PID:-}" ]; then mt_wine_down; fi
    mt_display_down
}

# ---- The display

# mt_display_up: an X display for Wine: the one DISPLAY names when it works, else a virtual one
# (Xvfb) started here, for which it waits at most MT_WAIT_LOCAL. Sets MT_DISPLAY_KIND (real or
# virtual) and, when it started one, MT_XVFB_PID.
mt_display_up() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        MT_DISPLAY_KIND=real
        return 0
    fi
    unset DISPLAY
    local number
    number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" </dev/null >/dev/null 2>&1 &
    MT_XVFB_PID=$!
    if ! mt_wait_for "$MT_WAIT_LOCAL" test -s "$number"; then
        rm -f "$number"
        echo "Xvfb did not start" >&2
        return 1
    fi
    DISPLAY=":$(tr -d '\n' <"$number")"
    export DISPLAY
    rm -f "$number"
    MT_DISPLAY_KIND=virtual
}

# mt_display_down: ends the display mt_display_up started; nothing for one it found.
mt_display_down() {
    [ -n "${MT_XVFB_PID:-}" ] || return 0
    mt_stop "$MT_XVFB_PID"
    unset MT_XVFB_PID
}

# ---- Wine

# mt_wine_env PREFIX: the environment every Wine run of the project uses, in PREFIX.
mt_wine_env() {
    export WINEPREFIX="$1"
    export WINEARCH=win32
    export WINEDEBUG=-all
    # No Mono or Gecko installer dialog waiting for a click.
    export WINEDLLOVERRIDES="mscoree=;mshtml="
    mt_wine_trap_numbers_preload
}

# Where 32-bit programs run under qemu (see setup.sh), faults reach Wine without the trap
# number that tells their kind, and Wine would report every fault as an illegal instruction.
# A small library preloaded into the Wine processes supplies the number (see
# tools/qemu_traps/trap_numbers.c). It lives in the prefix, one copy for 32-bit programs and an
# empty one for 64-bit programs ("$LIB" picks the right one), so that the scripts' own 64-bit
# programs load it quietly.
mt_wine_trap_numbers_dir() { echo "$WINEPREFIX/.mt-trap-numbers"; }

mt_wine_emulated() { [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; }

# mt_wine_trap_numbers_build: builds the library into the prefix when it is missing.
mt_wine_trap_numbers_build() {
    mt_wine_emulated || return 0
    local dir source
    dir=$(mt_wine_trap_numbers_dir)
    source="$MT_SCRIPTS_DIR/../tools/qemu_traps/trap_numbers.c"
    [ -f "$dir/lib/i386-linux-gnu/libmt_trap_numbers.so" ] && [ "$dir/lib/i386-linux-gnu/libmt_trap_numbers.so" -nt "$source" ] && return 0
    mkdir -p "$dir/lib/i386-linux-gnu" "$dir/lib/x86_64-linux-gnu"
    i686-linux-gnu-gcc -shared -fPIC -O2 -fno-stack-protector -Wall -Wextra -Werror \
        -o "$dir/lib/i386-linux-gnu/libmt_trap_numbers.so" "$source" -ldl
    echo '' | gcc -x c -shared -fPIC -o "$dir/lib/x86_64-linux-gnu/libmt_trap_numbers.so" -
}

# mt_wine_trap_numbers_preload: preloads the library into every Wine process started from here
# on, when it has been built.
mt_wine_trap_numbers_preload() {
    local dir
    dir=$(mt_wine_trap_numbers_dir)
    [ -f "$dir/lib/i386-linux-gnu/libmt_trap_numbers.so" ] || return 0
    # shellcheck disable=SC2016 # "$LIB" is the dynamic linker's, not the shell's.
    export LD_PRELOAD="$dir/"'$LIB'"/libmt_trap_numbers.so"
    # The sanitized host programs that tests start beside Wine accept a preloaded library.
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
}

# Where Debian's fonts-wine puts Wine's own fonts (Marlett, Tahoma, "MS Sans Serif", ...).
MT_WINE_FONTS=${MT_WINE_FONTS:-/usr/share/wine/fonts}

# mt_wine_fonts: copies Wine's own fonts into the prefix's Fonts folder, where Debian's Wine
# loads them (it does not load them from where the package installs them). Without them the
# caption buttons read "r" and texts fall back to a wider font. Fonts already there are kept.
mt_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
    if [ ! -d "$MT_WINE_FONTS" ]; then
        echo "Wine's fonts are missing ($MT_WINE_FONTS): install fonts-wine (scripts/setup.sh)" >&2
        return 1
    fi
    mkdir -p "$fonts"
    for font in "$MT_WINE_FONTS"/*; do
        [ -e "$fonts/${font##*/}" ] || cp "$font" "$fonts/"
    done
}

# mt_wine_up: makes the prefix once (with unmanaged X11 windows, so closing a box costs no
# 2-second wait for a window manager) and gives it Wine's fonts, then starts the wineserver and
# Wine's services detached from every pipe, so that a test runner never waits on their
# inherited output, and the session keeper (MT_SESSION_KEEPER, when set). Needs a display. The
# wineserver it starts stays after this shell unless MT_WINE_OWNED=1 (see mt_cleanup).
mt_wine_up() {
    mkdir -p "$WINEPREFIX"
    # A prefix counts as made only with its registry and the unmanaged-windows setting; one
    # left half-made (Wine could not run 32-bit programs when it was begun) is made again.
    if [ ! -f "$WINEPREFIX/.mt-ready" ] || ! grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
        wineboot --init </dev/null >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        wineserver -w </dev/null >/dev/null 2>&1 || true
        wineserver -k </dev/null >/dev/null 2>&1 || true
        grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg" || { echo "wine: could not make the prefix $WINEPREFIX" >&2; return 1; }
        touch "$WINEPREFIX/.mt-ready"
    fi
    # Every time, so that prefixes made before the fonts were copied get them too.
    mt_wine_fonts
    mt_wine_trap_numbers_build
    mt_wine_trap_numbers_preload
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    mt_wine_keep_desktop
}

# mt_wine_keep_desktop: with MT_SESSION_KEEPER naming the test build's mt_session_keeper.exe,
# starts it in the session (detached from every pipe), so that the desktop stays open
# between programs (see tests/support/session_keeper.cpp). It ends with the wineserver.
mt_wine_keep_desktop() {
    [ -n "${MT_SESSION_KEEPER:-}" ] && [ -f "$MT_SESSION_KEEPER" ] || return 0
    (wine "$MT_SESSION_KEEPER" </dev/null >/dev/null 2>&1 &)
}

# mt_wine_down: ends the wineserver of the prefix, and with it every Wine program in it.
mt_wine_down() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
}

# mt_wine_start EXE LOG [ARG...]: starts the Windows program EXE under Wine in the background,
# with LOG's folder as its working folder and its output in LOG. Sets MT_WINE_PID
# (owned). Returns at once.
mt_wine_start() {
    local exe=$1 log=$2
    shift 2
    (cd "$(dirname "$log")" && exec wine "$exe" "$@" </dev/null >"$log" 2>&1) &
    MT_WINE_PID=$!
    mt_own "$MT_WINE_PID"
}

# mt_copy_prefix FROM TO: TO becomes a copy of the prefix FROM, which other programs may be using
# meanwhile: the programs on the shared desktop write and remove C:\a, C:\c, C:\s and their COM
# links as they run, and a file that goes while cp reads the folder fails the copy. The copy is
# made again then, three times at most; false when none succeeded.
mt_copy_prefix() {
    local from=$1 to=$2 attempt
    for attempt in 1 2 3; do
        rm -rf "$to"
        cp -a "$from" "$to" 2>"$to.copy-errors" && { rm -f "$to.copy-errors"; return 0; }
        echo "copying the prefix $from (attempt $attempt): $(tr '\n' ' ' <"$to.copy-errors")" >&2
        sleep 0.2
    done
    rm -f "$to.copy-errors"
    return 1
}

# mt_windows_path PATH: a host path as the Windows programs in the prefix see it (drive Z:).
mt_windows_path() {
    local path=$1
    printf 'Z:%s' "${path//\//\\}"
}

# ---- The serial line

# mt_line_up DIR: a connected pair of pseudo-terminals made by socat: DIR/ttyA, the program's
# end (mt_map_com gives it a COM name), and DIR/ttyB, the far end (the simulator, a reader, a
# test). Sets MT_LINE_PID (owned) and writes it to DIR/line.pid for mt_line_down. Waits at most
# MT_WAIT_LOCAL for both ends.
mt_line_up() {
    local dir=$1
    mkdir -p "$dir"
    rm -f "$dir/ttyA" "$dir/ttyB"
    # Detached from every pipe, so that no caller (CTest) waits on socat's output.
    setsid socat pty,raw,echo=0,link="$dir/ttyA" pty,raw,echo=0,link="$dir/ttyB" </dev/null >/dev/null 2>&1 &
    MT_LINE_PID=$!
    mt_own "$MT_LINE_PID"
    echo "$MT_LINE_PID" >"$dir/line.pid"
    mt_wait_for "$MT_WAIT_LOCAL" test -e "$dir/ttyA" -a -e "$dir/ttyB" && return 0
    echo "socat made no pseudo-terminal pair in $dir"
    mt_line_down "$dir"
    return 1
}

# mt_line_down DIR: ends the socat of DIR/line.pid (also one that another shell started) and
# removes the ends: the program's side sees its line gone. Only a process that is still a socat
# is ended; bounded as mt_stop.
mt_line_down() {
    local dir=$1 pid
    pid=$(cat "$dir/line.pid" 2>/dev/null || true)
    if [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = socat ]; then mt_stop "$pid"; fi
    rm -f "$dir/line.pid" "$dir/ttyA" "$dir/ttyB"
}

# mt_line_record DIR FILE: writes every byte that arrives at the far end DIR/ttyB into FILE, in
# the background, until mt_stop "$MT_RECORDER_PID" or the line goes. Sets MT_RECORDER_PID (owned).
mt_line_record() {
    cat "$1/ttyB" >"$2" 2>/dev/null </dev/null &
    MT_RECORDER_PID=$!
    mt_own "$MT_RECORDER_PID"
}

# The COM links mt_map_com replaced: name, then the link's former target ("" for none).
declare -A MT_SAVED_COMS=()

# mt_map_com NAME DEVICE: makes the COM port NAME (e.g. COM1) of the prefix open DEVICE. The link
# it replaces is put back by mt_cleanup.
mt_map_com() {
    local link="$WINEPREFIX/dosdevices/${1,,}"
    mkdir -p "$WINEPREFIX/dosdevices"
    if [ -z "${MT_SAVED_COMS[$1]+set}" ]; then MT_SAVED_COMS[$1]=$(readlink "$link" 2>/dev/null || true); fi
    ln -sfn "$2" "$link"
}

# mt_unmap_com NAME: the COM port NAME of the prefix names nothing any more.
mt_unmap_com() { rm -f "$WINEPREFIX/dosdevices/${1,,}"; }

# mt_restore_coms: the COM links mt_map_com replaced are as they were.
mt_restore_coms() {
    local name
    for name in "${!MT_SAVED_COMS[@]}"; do
        mt_unmap_com "$name"
        [ -z "${MT_SAVED_COMS[$name]}" ] || ln -sfn "${MT_SAVED_COMS[$name]}" "$WINEPREFIX/dosdevices/${name,,}"
    done
    MT_SAVED_COMS=()
}

# ---- The simulator

# mt_simulator_up SIMULATOR LINE PORT DIR: starts the simulator (mt-simulator) reading LINE, its
# live view on 127.0.0.1:PORT, its log and pictures in DIR. Sets MT_SIMULATOR_PID (owned). Waits
# at most MT_WAIT_START for it to serve.
mt_simulator_up() {
    local simulator=$1 line=$2 port=$3 dir=$4
    rm -f "$dir/view.port"
    "$simulator" --line "$line" --http "$port" --port-file "$dir/view.port" --log "$dir/steps.log" \
        --svg "$dir/path.svg" --png "$dir/path.png" </dev/null >"$dir/simulator.log" 2>&1 &
    MT_SIMULATOR_PID=$!
    mt_own "$MT_SIMULATOR_PID"
    mt_wait_for "$MT_WAIT_START" test -s "$dir/view.port" && return 0
    echo "The simulator did not start (is port $port free?):"
    cat "$dir/simulator.log"
    return 1
}

# ---- Reply files: each is the whole HTTP response the program sends (status line, headers,
# body). The kit's own set is made by tools/reply_pages/make_reply_files.py from one template.

# mt_http_response FILE CONTENT_TYPE BODY: writes a complete response with BODY to FILE.
mt_http_response() {
    local file=$1 type=$2 body=$3 length
    length=$(printf '%s' "$body" | wc -c)
    printf 'HTTP/1.1 200 OK\r\nContent-Type: %s\r\nContent-Length: %d\r\nConnection: close\r\n\r\n%s' \
        "$type" "$length" "$body" >"$file"
}

# mt_make_reply_files OUT_DIR VIEW_PORT: makes the kit's reply files a, c, s in OUT_DIR, their
# pages linking to the simulator's live view on VIEW_PORT.
mt_make_reply_files() {
    local pages="$MT_SCRIPTS_DIR/../tools/reply_pages"
    python3 "$pages/make_reply_files.py" "$pages/control_page.html" "$1" --view-port "$2"
}

# mt_install_reply_files FROM_DIR DRIVE_C: puts the kit's reply files from FROM_DIR into the
# folder that is C:\. A file the operator made is kept (told on standard output); one the kit
# put there before (it names the kit as its generator) is brought up to date.
mt_install_reply_files() {
    local from=$1 drive=$2 name
    mkdir -p "$drive"
    for name in a c s; do
        if [ -e "$drive/$name" ] && ! grep -q 'name="generator" content="mini-tarvo-kit"' "$drive/$name"; then
            echo "Keeping your own reply file C:\\$name ($drive/$name)."
            continue
        fi
        cp "$from/$name" "$drive/$name.new"
        mv "$drive/$name.new" "$drive/$name"
    done
}

# ---- The program

# mt_may_bind PORT: whether this user may listen on PORT (root, or a port the system leaves to
# everyone).
mt_may_bind() {
    [ "$(id -u)" -eq 0 ] || [ "$(sysctl -n net.ipv4.ip_unprivileged_port_start 2>/dev/null || echo 1024)" -le "$1" ]
}

# mt_port_open PORT: whether something accepts connections on 127.0.0.1:PORT now; bounded by
# MT_WAIT_LOCAL.
mt_port_open() {
    timeout "$MT_WAIT_LOCAL" bash -c "exec 3<>/dev/tcp/127.0.0.1/$1" 2>/dev/null
}

# mt_await_port PORT [SECONDS]: waits until 127.0.0.1:PORT accepts, at most SECONDS (default
# MT_WAIT_START); says so on standard error when it does not.
mt_await_port() {
    mt_wait_for "${2:-$MT_WAIT_START}" mt_port_open "$1" && return 0
    echo "nothing listens on port $1" >&2
    return 1
}

# mt_program_start EXE LOG [SWITCH...]: starts the program (Project1.exe) under Wine with
# SWITCH... as mt_wine_start does. Sets MT_PROGRAM_PID (owned; mt_cleanup closes it as its
# operator would). Returns at once: mt_await_program waits for it.
mt_program_start() {
    mt_wine_start "$@"
    MT_PROGRAM_PID=$MT_WINE_PID
}

# mt_await_program PORT: waits until the program's main window shows (the driver's wait-window:
# the window and its controls are then in MT_DRIVE_OUT), then until PORT accepts; at most
# MT_WAIT_START for each. False, saying which did not come, when one does not.
mt_await_program() {
    mt_drive wait-window $((MT_WAIT_START * 1000)) || { echo "the program's main window did not appear"; return 1; }
    mt_await_port "$1"
}

# mt_await_exit CODE: waits at most MT_WAIT_START for the program to end by itself; true when it
# ended with exit code CODE. Sets MT_PROGRAM_STATUS (empty when it did not end) and, once it
# ended, clears MT_PROGRAM_PID.
mt_await_exit() {
    MT_PROGRAM_STATUS=''
    mt_wait_for "$MT_WAIT_START" mt_ended "$MT_PROGRAM_PID" || return 1
    MT_PROGRAM_STATUS=0
    wait "$MT_PROGRAM_PID" || MT_PROGRAM_STATUS=$?
    mt_disown "$MT_PROGRAM_PID"
    MT_PROGRAM_PID=''
    [ "$MT_PROGRAM_STATUS" -eq "$1" ]
}

# mt_program_stop: closes the program's main window as its operator would (the driver's close,
# when MT_DRIVER is set), waits at most MT_WAIT_LOCAL for the program to end, then ends it by
# its id (a box may hold it). Nothing when it does not run.
mt_program_stop() {
    mt_alive "${MT_PROGRAM_PID:-}" || return 0
    if [ -n "${MT_DRIVER:-}" ]; then
        timeout "$MT_WAIT_LOCAL" wine "$MT_DRIVER" close </dev/null >/dev/null 2>&1 || true
        mt_wait_for "$MT_WAIT_LOCAL" mt_ended "$MT_PROGRAM_PID" || true
    fi
    mt_stop "$MT_PROGRAM_PID"
    MT_PROGRAM_PID=''
}

# ---- The driver (app_driver.exe: the program's operator, from outside)

# mt_drive COMMAND [ARG...]: one command of the driver MT_DRIVER under Wine, bounded by
# MT_WAIT_DRIVE (exit code 124 when it was cut off). Its output, CR removed, is in MT_DRIVE_OUT
# (printed too with MT_DRIVE_ECHO=1), its errors appended to MT_DRIVE_OUT.errors. Returns the
# driver's exit code.
mt_drive() {
    local status=0
    timeout --kill-after=5 "$MT_WAIT_DRIVE" wine "$MT_DRIVER" "$@" </dev/null >"$MT_DRIVE_OUT.raw" \
        2>>"$MT_DRIVE_OUT.errors" || status=$?
    tr -d '\r' <"$MT_DRIVE_OUT.raw" >"$MT_DRIVE_OUT"
    [ "${MT_DRIVE_ECHO:-0}" != 1 ] || sed 's/^/   /' "$MT_DRIVE_OUT"
    return "$status"
}

# The identifier of each control of the main form by its name (MT_ID[btnSetCom] is 1002), once
# mt_control_ids has read them. The driver takes the names themselves; its output gives ids.
declare -A MT_ID=()

# mt_control_ids: fills MT_ID from the form's table, as the driver states it (one run of the
# driver, bounded as mt_drive, not echoed).
mt_control_ids() {
    local name id
    MT_DRIVE_ECHO=0 mt_drive ids || return 1
    while read -r name id; do MT_ID[$name]=$id; done <"$MT_DRIVE_OUT"
    [ "${#MT_ID[@]}" -gt 0 ]
}

# mt_connect [DEVICE]: connects the program to its serial port as the operator does: DEVICE
# typed into the port field (when given; else the field keeps its text, "COM1" at start), ">"
# pressed, its box dismissed (bounded as mt_drive). True when the box says "SUCCES!"; the box
# is in MT_DRIVE_OUT. Says which step failed.
mt_connect() {
    if [ $# -gt 0 ] && ! mt_drive type inputCom "$1"; then echo "typing $1 into the port field failed"; return 1; fi
    mt_drive click btnSetCom || { echo "pressing > failed"; return 1; }
    mt_drive boxes 1 15000 || { echo "no box after >"; return 1; }
    grep -qxF 'box SUCCES!|SUCCES!' "$MT_DRIVE_OUT"
}

# mt_dismisser_start DIR: the driver closes every box the program shows as it comes (on a
# display where nobody can), in the background, until mt_dismisser_stop or the program's end;
# what it closed is in DIR/dismissed.log. Sets MT_DISMISSER_PID and MT_DISMISSER_DIR.
mt_dismisser_start() {
    MT_DISMISSER_DIR=$1
    rm -f "$1/dismiss.stop"
    wine "$MT_DRIVER" dismiss-all "$(mt_windows_path "$1/dismiss.stop")" </dev/null >"$1/dismissed.log" 2>&1 &
    MT_DISMISSER_PID=$!
}

# mt_dismisser_stop: tells the dismisser to stop (its stop file) and waits at most
# MT_WAIT_LOCAL; then ends it by its id. Nothing when none runs.
mt_dismisser_stop() {
    [ -n "${MT_DISMISSER_PID:-}" ] || return 0
    touch "$MT_DISMISSER_DIR/dismiss.stop"
    mt_wait_for "$MT_WAIT_LOCAL" mt_ended "$MT_DISMISSER_PID" || true
    mt_stop "$MT_DISMISSER_PID"
    MT_DISMISSER_PID=''
}
