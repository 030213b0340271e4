#!/usr/bin/env bash
# Installs what is missing, builds the host and the Windows trees and runs every test.
# Exits non-zero when anything fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

scripts/setup.sh

jobs=$(nproc)
# MT_BUILD_ROOT keeps the build trees of several checkouts or workers apart.
out=${MT_BUILD_ROOT:-build}
mkdir -p "$out"
out=$(cd "$out" && pwd)
status=0

echo "== host build (platform-free logic, ASan + UBSan)"
cmake -S . -B "$out/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$out/host" -j "$jobs" >"$out/host-build.log" 2>&1 || { cat "$out/host-build.log"; exit 1; }
ctest --test-dir "$out/host" --output-on-failure -j "$jobs" || status=1

echo "== Windows build (i686 mingw-w64, run under Wine)"
cmake -S . -B "$out/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$out/win" -j "$jobs" >"$out/win-build.log" 2>&1 || { cat "$out/win-build.log"; exit 1; }

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
mt_wine_env "$out/win/wineprefix"
trap mt_wine_down EXIT
mt_xvfb_up
mt_wine_up
ctest --test-dir "$out/win" --output-on-failure --timeout 300 || status=1

exit $status
