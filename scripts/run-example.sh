#!/bin/bash
# The main job: builds if needed, sends an example request from examples/ to ZemClientUI.exe under
# Wine and prints the reply and the exit status.
#   scripts/run-example.sh [examples/<file>.txt]
# Without a display, Xvfb is started; the agent's stop event then closes the dialog after a few
# seconds, as the agent would. With a display, the dialog waits for you.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
example=${1:-$root/examples/progress.txt}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" >/dev/null
exec /usr/bin/python3 "$root/scripts/run_example.py" "$example"
