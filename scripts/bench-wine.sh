#!/bin/bash
# Process-level benchmarks of the product under Wine (start to visible, peak memory, click and
# stop event to reply, message round trip, idle CPU) against floor_dialog.exe. Builds first when
# the product is missing; the benchmark runs in its own Wine session (build/native/wine-bench).
# Arguments go to bench/process_bench.py, e.g. --runs 20, or --product before=OLD.exe
# --product after=NEW.exe to put two builds side by side.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [[ ! -x $root/build/native/win/bin/ZemClientUI.exe || ! -f $root/build/native/win/bin/zemdriver.exe ]]; then
    "$root/scripts/build.sh"
fi
export ZEM_WINE_STATE=${ZEM_WINE_STATE:-$root/build/native/wine-bench}
exec /usr/bin/python3 "$root/bench/process_bench.py" "$@"
