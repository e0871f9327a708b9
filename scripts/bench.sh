#!/bin/bash
# Builds the benchmarks in an optimised configuration of their own (build/bench) and runs them,
# then prints how the core compares with ICU and {fmt}. Extra arguments go to the benchmark binary.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/jobs.sh"
build=$root/build/bench
results=$build/results.json

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZEM_WITH_WINDOWS=OFF -DZEM_SANITIZE=OFF >/dev/null
cmake --build "$build" -j"$ZEM_JOBS" --target zem_bench
"$build/bench/zem_bench" --benchmark_out="$results" --benchmark_out_format=json "$@"

/usr/bin/python3 - "$results" <<'PY'
import json, sys

times = {b["name"]: b["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
         for b in json.load(open(sys.argv[1]))["benchmarks"]}
pairs = [("Utf8ToUtf16Ascii", "IcuFromUtf8Ascii"), ("Utf8ToUtf16Mixed", "IcuFromUtf8Mixed"),
         ("LocalizeAction", "FmtAction"), ("FormatDurationDays", "FmtDurationDays")]
print("\nratio of CPU times (ZemClientUI / reference):")
for ours, theirs in pairs:
    if ours in times and theirs in times:
        print(f"  {ours:20} / {theirs:18} = {times[ours] / times[theirs]:6.2f}")
PY
