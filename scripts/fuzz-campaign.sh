#!/bin/bash
# Long fuzzing campaigns: builds the fuzzers (build/fuzz, clang), runs each target for the given
# duration over a growing corpus kept in build/fuzz-campaign/<target>, and reports its executions,
# their rate and the peak RSS.
# Usage: fuzz-campaign.sh SECONDS_PER_TARGET [TARGET...]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/jobs.sh"
build=$root/build/fuzz
work=$root/build/fuzz-campaign
seconds=${1:?usage: fuzz-campaign.sh SECONDS_PER_TARGET [TARGET...]}
shift
targets=("$@")
if ((${#targets[@]} == 0)); then
    mapfile -t targets < <(grep '^[^#]' "$root/fuzz/targets.txt")
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DZEM_WITH_FUZZERS=ON -DZEM_WITH_WINDOWS=OFF \
    -DZEM_SANITIZE=OFF >/dev/null
cmake --build "$build" -j"$ZEM_JOBS" --target fuzzers

# A figure from libFuzzer's final statistics in the run's log, or "?".
final_stat() {
    grep -o "stat::$1: *[0-9]*" "$log" | grep -o '[0-9]*$' || echo '?'
}

status=0
for target in "${targets[@]}"; do
    corpus=$work/$target/corpus
    artifacts=$work/$target/artifacts
    mkdir -p "$corpus" "$artifacts"
    cp -n "$root/fuzz/corpus/$target"/* "$corpus/"
    log=$work/$target/last-run.log
    if TMPDIR=$work/$target "$build/bin/$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=4096 -malloc_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1; then
        result=ok
    else
        result="FAILED (see $log and $artifacts)"
        status=1
    fi
    printf '%-20s %11s executions %7s/s  peak RSS %5s MB  corpus %5d files  %s\n' "$target" \
        "$(final_stat number_of_executed_units)" "$(final_stat average_exec_per_sec)" \
        "$(final_stat peak_rss_mb)" "$(ls "$corpus" | wc -l)" "$result"
done
exit $status
