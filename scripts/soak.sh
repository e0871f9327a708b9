#!/bin/bash
# Soak run of one ticking pre-action dialog under Wine: scripts/soak.sh [MINUTES] (default 10).
# Samples GDI/USER objects and memory every 30 s. Builds first when the product is missing; runs
# in its own Wine session (build/native/wine-soak), so it can run beside scripts/bench-wine.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:-10}
if [[ ! -x $root/build/native/win/bin/ZemClientUI.exe || ! -f $root/build/native/win/bin/zemdriver.exe ]]; then
    "$root/scripts/build.sh"
fi
export ZEM_WINE_STATE=${ZEM_WINE_STATE:-$root/build/native/wine-soak}
exec /usr/bin/python3 "$root/bench/soak_preaction.py" --minutes "$minutes"
