#!/usr/bin/env bash
# Builds the libFuzzer harnesses (fuzz/) in a clang host tree under the sanitizers and runs each
# for a while over its seed corpus (fuzz/corpus/<harness>). A finding stops the run: its input
# is left as $MT_BUILD_ROOT/fuzz/findings/<harness>/crash-* and the script exits non-zero.
#
#   MT_FUZZ_SECONDS   seconds per harness (default 3, the short run of the test script)
#   MT_FUZZ_JOBS      harnesses run at once (default 2)
# Longer: MT_FUZZ_SECONDS=600 ./scripts/fuzz.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${MT_BUILD_ROOT:-$root/build}
mkdir -p "$out"
out=$(cd "$out" && pwd)/fuzz
seconds=${MT_FUZZ_SECONDS:-3}
jobs=${MT_FUZZ_JOBS:-2}
# shellcheck source=cmake-env.sh
source "$root/scripts/cmake-env.sh"

CC=clang CXX=clang++ cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMT_FUZZ=ON \
    -DMT_BUILD_TESTS=OFF >/dev/null
cmake --build "$out" --target mt_fuzzers -j "$jobs" >"$out/build.log" 2>&1 || { cat "$out/build.log"; exit 1; }

# run_harness NAME: fuzzes one harness; its work corpus starts from the seeds in the tree
# (which it never writes) and is kept for longer runs; prints one summary line.
run_harness() {
    local name=$1 corpus="$out/corpus/$1" findings="$out/findings/$1" log="$out/$1.log"
    mkdir -p "$corpus" "$findings"
    local status=0
    "$out/fuzz/${name}_fuzz" -max_total_time="$seconds" -max_len=1024 -timeout=10 -rss_limit_mb=1024 \
        -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" "$root/fuzz/corpus/$name" \
        >"$log" 2>&1 || status=$?
    local runs edges
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    edges=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
    if [ "$status" -ne 0 ]; then
        echo "FAIL $name: a finding after ${runs:-?} runs, kept in $findings"
        grep -E 'does not hold|ERROR|SUMMARY' "$log" | head -5
        return 1
    fi
    printf '%-18s %10s runs in %3s s, %5s coverage points, no finding\n' "$name" "${runs:-?}" "$seconds" "${edges:-?}"
}

names=(request_scan parse_decimal classify_request template_tree program_options operator_reply allow_list)
echo "== fuzzing ${#names[@]} harnesses for $seconds s each"
pids=() status=0
for name in "${names[@]}"; do
    run_harness "$name" >"$out/$name.summary" 2>&1 &
    pids+=($!)
    if [ ${#pids[@]} -ge "$jobs" ]; then
        wait "${pids[0]}" || status=1
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
for name in "${names[@]}"; do cat "$out/$name.summary"; done
exit $status
