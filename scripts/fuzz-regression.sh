#!/bin/bash
# One bounded fuzzing run for CTest: the seed corpus is copied to a scratch directory first, so
# that the inputs the run adds never land in the repository.
# Usage: fuzz-regression.sh FUZZER CORPUS_DIR SCRATCH_DIR SECONDS
set -euo pipefail

fuzzer=$1 corpus=$2 scratch=$3 seconds=$4

rm -rf "$scratch"
mkdir -p "$scratch/corpus" "$scratch/artifacts"
cp "$corpus"/* "$scratch/corpus/"
export TMPDIR=$scratch
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -malloc_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$scratch/artifacts/" "$scratch/corpus"
