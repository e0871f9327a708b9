#!/bin/bash
# Runs every test: native unit tests under ASan+UBSan, the same unit tests under Wine, and the
# end-to-end cases that drive ZemClientUI.exe under Wine (Xvfb is started when there is no
# display). CTest is the one runner.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
source "$root/scripts/jobs.sh"
"$root/scripts/build.sh"
cd "$root/build/native"
# Three cases per build job: most end-to-end cases wait on the product rather than compute; the
# cases that compute hold a core each (see zem_keeps_a_core_busy in cmake/ZemCommon.cmake).
ctest -j"$((3 * ZEM_JOBS))" --output-on-failure --timeout 300
