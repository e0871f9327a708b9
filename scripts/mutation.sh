#!/bin/bash
# Mutation testing of the portable core (src/, without *_win.* and *_native.*): plants one small
# fault at a time in a scratch copy of the tree, rebuilds the native unit tests with ASan+UBSan
# and runs them. Prints killed, survived and stillborn mutants, each survivor's place, and the
# score. Slow (a mutant costs a compile, a link and a test run): not part of CTest.
#
#   scripts/mutation.sh                         every mutant, one worker
#   scripts/mutation.sh --workers 2             two copies side by side (one core each)
#   scripts/mutation.sh --file icon_decoder --limit 20
#   scripts/mutation.sh --list                  the mutants, numbered, without running them
#   scripts/mutation.sh --ids 12,40-45          only these mutants
set -euo pipefail
exec python3 "$(dirname "$0")/mutation.py" "$@"
