#!/usr/bin/env bash
# serial_pty_fixture.sh up|down DIR PREFIX DEVICE PEER
# Makes (up) or removes (down) a connected pair of pseudo-terminals (scripts/lib.sh's line), the
# first end reachable as DEVICE (for instance COM7) and the second as PEER (COM8) inside the
# Wine prefix PREFIX. DIR holds the ends and socat's process id, which the line leaves running
# between the two calls.
set -euo pipefail
action=$1 dir=$2 prefix=$3 device=$4 peer=$5
# shellcheck source=../../scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
export WINEPREFIX=$prefix

case $action in
up)
    command -v socat >/dev/null || { echo "socat is not installed (scripts/setup.sh)"; exit 1; }
    mt_line_down "$dir"
    mt_line_up "$dir"
    mt_map_com "$device" "$dir/ttyA"
    mt_map_com "$peer" "$dir/ttyB"
    echo "$device -> $(readlink "$dir/ttyA"), $peer -> $(readlink "$dir/ttyB")"
    ;;
down)
    mt_line_down "$dir"
    mt_unmap_com "$device"
    mt_unmap_com "$peer"
    ;;
*)
    echo "usage: $0 up|down DIR PREFIX DEVICE PEER"
    exit 2
    ;;
esac
