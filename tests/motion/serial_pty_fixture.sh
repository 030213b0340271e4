#!/usr/bin/env bash
# serial_pty_fixture.sh up|down DIR PREFIX DEVICE PEER
# Makes (up) or removes (down) a connected pair of pseudo-terminals with socat, the first end
# reachable as DEVICE (for instance COM7) and the second as PEER (COM8) inside the Wine
# prefix PREFIX. DIR holds the links and socat's process id.
set -euo pipefail
action=$1 dir=$2 prefix=$3 device=$4 peer=$5
device_link="$prefix/dosdevices/${device,,}"
peer_link="$prefix/dosdevices/${peer,,}"

stop_socat() {
    if [ -f "$dir/socat.pid" ]; then
        local pid
        pid=$(cat "$dir/socat.pid")
        # Only our own socat: the id must still belong to a socat process.
        if [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = socat ]; then
            kill "$pid" 2>/dev/null || true
        fi
        rm -f "$dir/socat.pid"
    fi
}

case $action in
up)
    command -v socat >/dev/null || { echo "socat is not installed (scripts/setup.sh)"; exit 1; }
    mkdir -p "$dir" "$prefix/dosdevices"
    stop_socat
    rm -f "$dir/ttyA" "$dir/ttyB"
    # Detached from every pipe, so CTest does not wait on socat's output.
    setsid socat pty,raw,echo=0,link="$dir/ttyA" pty,raw,echo=0,link="$dir/ttyB" \
        </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/socat.pid"
    for _ in $(seq 1 50); do
        [ -e "$dir/ttyA" ] && [ -e "$dir/ttyB" ] && break
        sleep 0.1
    done
    if ! [ -e "$dir/ttyA" ] || ! [ -e "$dir/ttyB" ]; then
        echo "socat made no pseudo-terminals in $dir"
        stop_socat
        exit 1
    fi
    ln -sfn "$dir/ttyA" "$device_link"
    ln -sfn "$dir/ttyB" "$peer_link"
    echo "$device -> $(readlink "$dir/ttyA"), $peer -> $(readlink "$dir/ttyB")"
    ;;
down)
    stop_socat
    rm -f "$device_link" "$peer_link" "$dir/ttyA" "$dir/ttyB"
    ;;
*)
    echo "usage: $0 up|down DIR PREFIX DEVICE PEER"
    exit 2
    ;;
esac
