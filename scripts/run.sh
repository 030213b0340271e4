#!/usr/bin/env bash
# Builds the program and starts it under Wine (on a virtual display when there is none), with
# sample reply files in C:\ where none are there yet. It listens on port 80: a browser on this
# machine reaches it at http://127.0.0.1/ (binding port 80 needs root). Ends when the program
# ends (close its window, or Ctrl-C).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

scripts/setup.sh

out=${MT_BUILD_ROOT:-build}
mkdir -p "$out"
out=$(cd "$out" && pwd)
cmake -S . -B "$out/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$out/win" --target Project1 -j "$(nproc)" >"$out/win-build.log" 2>&1 || { cat "$out/win-build.log"; exit 1; }
exe="$out/win/app/Project1.exe"

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
# shellcheck source=reply-files.sh
source scripts/reply-files.sh
mt_wine_env "$out/win/wineprefix"
trap mt_wine_down EXIT
mt_xvfb_up
mt_wine_up
mt_sample_reply_files "$WINEPREFIX/drive_c"
if [ "$(id -u)" -ne 0 ]; then
    echo "Note: not root; binding port 80 may fail, and the program then runs without a listener."
fi
echo "Starting $exe on display $DISPLAY; reply files in $WINEPREFIX/drive_c (a, c, s)."
echo "Open http://127.0.0.1/ in a browser on this machine. Close the window or press Ctrl-C to end."
status=0
wine "$exe" </dev/null || status=$?
echo "Project1.exe ended with exit code $status"
exit $status
