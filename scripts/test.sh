#!/usr/bin/env bash
# Installs what is missing, builds the host and the Windows trees and runs every test.
# Exits non-zero when anything fails. Ends with the time each stage took.
#
# Every test program runs whole in one process (under Wine in the Windows tree); its own
# GoogleTest lines, which name every case with its result, are printed after each tree's run.
# The Windows programs run two at a time, except those that need the display's focus or port
# 80 to themselves (their CTest RESOURCE_LOCK, set in tests/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

jobs=$(nproc)
# MT_BUILD_ROOT keeps the build trees of several checkouts or workers apart.
out=${MT_BUILD_ROOT:-build}
mkdir -p "$out"
out=$(cd "$out" && pwd)
status=0

stages=()
stage_start=$SECONDS
# stage_done NAME: notes the time since the previous stage ended.
stage_done() {
    stages+=("$(printf '%-34s %4d s' "$1" $((SECONDS - stage_start)))")
    stage_start=$SECONDS
}
print_stages() {
    echo "== time per stage"
    printf '  %s\n' "${stages[@]}"
    printf '  %-34s %4d s\n' "total" "$SECONDS"
}

# case_lines TREE: the GoogleTest result line of every case that ran in the tree's last run.
case_lines() {
    local log="$1/Testing/Temporary/LastTest.log" pattern='^\[ +(OK|FAILED|SKIPPED) +\] .* \([0-9]+ ms\)$'
    [ -f "$log" ] || return 0
    echo "== cases run in the $(basename "$1") tree:" \
        "$(grep -cE '^\[ +OK +\] .* \([0-9]+ ms\)$' "$log") passed," \
        "$(grep -cE '^\[ +FAILED +\] .* \([0-9]+ ms\)$' "$log") failed"
    grep -E "$pattern" "$log" || true
}

scripts/setup.sh
stage_done "packages (setup.sh)"

# The control page's pure modules (G-code, SVG arithmetic, plans, the job runner) under node's
# own test runner: no packages, a few seconds.
echo "== control page modules (node --test)"
node --test tests/kit/page/ || status=1
stage_done "page modules (node --test)"
# shellcheck source=cmake-env.sh
source scripts/cmake-env.sh

echo "== host build (platform-free logic, ASan + UBSan)"
cmake -S . -B "$out/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$out/host" -j "$jobs" >"$out/host-build.log" 2>&1 || { cat "$out/host-build.log"; exit 1; }
stage_done "host build"
ctest --test-dir "$out/host" --output-on-failure -j "$jobs" || status=1
case_lines "$out/host"
stage_done "host tests"

# The fuzz harnesses, a short run of each (MT_FUZZ_SECONDS for longer runs).
scripts/fuzz.sh || status=1
stage_done "fuzzing (clang, libFuzzer)"

echo "== Windows build (i686 mingw-w64, run under Wine)"
cmake -S . -B "$out/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$out/win" -j "$jobs" >"$out/win-build.log" 2>&1 || { cat "$out/win-build.log"; exit 1; }
stage_done "Windows build"

# shellcheck source=lib.sh
source scripts/lib.sh
mt_wine_env "$out/win/wineprefix"
# The sessions of programs that run in one of their own (see wine-run.sh) end with the run too,
# also when CTest had to end such a program before its own clean-up.
end_wine_sessions() {
    local own
    for own in "$out/win/wineprefix-"*; do
        [ -d "$own" ] && WINEPREFIX="$own" mt_wine_down
    done
    mt_wine_down
}
# The suite's wineserver and display end with it.
trap 'end_wine_sessions; mt_cleanup' EXIT
export MT_SESSION_KEEPER="$out/win/tests/support/mt_session_keeper.exe"
# A wineserver left by an earlier run that was cut off would still serve that run's display.
end_wine_sessions
mt_display_up
mt_wine_up
stage_done "Wine prefix and display"
ctest --test-dir "$out/win" --output-on-failure -j "$jobs" || status=1
case_lines "$out/win"
stage_done "Windows tests"

print_stages
exit $status
