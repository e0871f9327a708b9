#!/bin/bash
# Runs every test: native unit tests under ASan+UBSan, the same unit tests under Wine, and the
# end-to-end cases that drive ZemClientUI.exe under Wine (Xvfb is started when there is no
# display). CTest is the one runner.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$root/build/native"
ctest -j"$(nproc)" --output-on-failure --timeout 300
