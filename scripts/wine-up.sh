#!/usr/bin/env bash
# wine-up.sh: prepares the Windows build's Wine prefix and starts its wineserver, for running
# `ctest --test-dir build/win` by hand. Needs a DISPLAY (an X server or `Xvfb :9 &`).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=lib.sh
source "$root/scripts/lib.sh"
mt_wine_env "$root/build/win/wineprefix"
mt_wine_up
