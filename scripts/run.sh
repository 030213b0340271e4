#!/usr/bin/env bash
# Builds the program and starts it under Wine (on a virtual display when there is none).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

scripts/setup.sh

out=${MT_BUILD_ROOT:-build}
mkdir -p "$out"
out=$(cd "$out" && pwd)
cmake -S . -B "$out/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$out/win" -j "$(nproc)" >"$out/win-build.log" 2>&1 || { cat "$out/win-build.log"; exit 1; }

exe="$out/win/app/Project1.exe"
if [ ! -f "$exe" ]; then
    echo "Built the Windows tree in $out/win. The program itself (Project1.exe) is not built yet;"
    echo "what exists so far:"
    find "$out/win" -maxdepth 3 \( -name '*.a' -o -name '*.exe' \) -not -path '*/googletest/*' \
        -printf '  %P\n' | sort
    exit 0
fi

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
mt_wine_env "$out/win/wineprefix"
mt_xvfb_up
mt_wine_up
echo "Starting $exe on display $DISPLAY (port 80; Ctrl-C ends it)"
exec wine "$exe"
