#!/bin/bash
# Every benchmark in one command: the native core against ICU and {fmt} (scripts/bench.sh), then
# the whole product under Wine against the floor dialogs (scripts/bench-wine.sh). The 10-minute
# soak of a ticking pre-action dialog is separate: scripts/soak.sh [minutes].
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
echo "== native core =="
"$root/scripts/bench.sh"
echo
echo "== ZemClientUI.exe under Wine =="
"$root/scripts/bench-wine.sh" "$@"
