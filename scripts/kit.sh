# Shell functions of the operator's kit: the serial line to the simulator, the simulator, and
# the program's start. Source this file (after wine-env.sh); it changes nothing by itself.

# The program's switches when nobody sits at its window (a virtual display, a test): there a
# step's "nDebug" box would wait for ever. The one place to change them.
MT_UNATTENDED_SWITCHES=(--no-step-boxes)

# mt_stop_pid PID: ends one process started here, by its id (TERM, then KILL after 5 s), and
# reaps it when it is our child.
mt_stop_pid() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || true
    local _
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# mt_wait_for SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds;
# fails after SECONDS.
mt_wait_for() {
    local seconds=$1
    shift
    local _
    for _ in $(seq 1 $((seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}

# mt_port_open PORT: whether something listens on 127.0.0.1:PORT.
mt_port_open() {
    timeout 5 bash -c "exec 3<>/dev/tcp/127.0.0.1/$1" 2>/dev/null
}

# mt_line_up DIR: a connected pair of pseudo-terminals, DIR/ttyA (the program's end) and
# DIR/ttyB (the simulator's). Sets MT_SOCAT_PID.
mt_line_up() {
    local dir=$1
    mkdir -p "$dir"
    rm -f "$dir/ttyA" "$dir/ttyB"
    # Detached from every pipe, so that no caller waits on socat's output.
    setsid socat pty,raw,echo=0,link="$dir/ttyA" pty,raw,echo=0,link="$dir/ttyB" </dev/null >/dev/null 2>&1 &
    MT_SOCAT_PID=$!
    mt_wait_for 5 test -e "$dir/ttyA" -a -e "$dir/ttyB" || { echo "socat made no pseudo-terminal pair in $dir"; return 1; }
}

# mt_map_com NAME DEVICE: makes the COM port NAME (e.g. COM1) of the Wine prefix open DEVICE.
mt_map_com() {
    mkdir -p "$WINEPREFIX/dosdevices"
    ln -sfn "$2" "$WINEPREFIX/dosdevices/${1,,}"
}

# mt_simulator_up SIMULATOR LINE PORT DIR: starts the simulator reading LINE, its live view on
# 127.0.0.1:PORT, its log and pictures in DIR. Sets MT_SIMULATOR_PID.
mt_simulator_up() {
    local simulator=$1 line=$2 port=$3 dir=$4
    rm -f "$dir/view.port"
    "$simulator" --line "$line" --http "$port" --port-file "$dir/view.port" --log "$dir/steps.log" \
        --svg "$dir/path.svg" --png "$dir/path.png" </dev/null >"$dir/simulator.log" 2>&1 &
    MT_SIMULATOR_PID=$!
    if ! mt_wait_for 10 test -s "$dir/view.port"; then
        echo "The simulator did not start (is port $port free?):"
        cat "$dir/simulator.log"
        return 1
    fi
}

# mt_start_program EXE LOG SWITCHES...: starts the program under Wine in the background with
# SWITCHES, its output in LOG. Sets MT_PROGRAM_PID. The tests and the run command start it
# here, and only here.
mt_start_program() {
    local exe=$1 log=$2
    shift 2
    wine "$exe" "$@" </dev/null >"$log" 2>&1 &
    MT_PROGRAM_PID=$!
}

# mt_windows_path PATH: a host path as the Windows programs in the prefix see it (drive Z:).
mt_windows_path() {
    local path=$1
    printf 'Z:%s' "${path//\//\\}"
}
