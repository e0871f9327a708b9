#!/bin/bash
# Configures and builds both configurations (native core with ASan+UBSan, and the Windows product
# cross-compiled with mingw-w64) into build/native; the .exe lands in build/native/win/bin.
# Warnings are errors here, as in CI. Arguments are more CMake options, after these.
#   scripts/build.sh [-DOPTION=VALUE...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/jobs.sh
# Configured every time with every option, so that CMake sees a change to any of them.
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEM_SANITIZE=ON -DZEM_WERROR=ON \
    "$@" >/dev/null
cmake --build build/native -j"$ZEM_JOBS"
# One compilation database for both configurations where clangd looks (build/): each file with
# the native tree's command, the Windows-only files with the cross build's.
python3 - build/compile_commands.json build/native/compile_commands.json \
    build/native/win/compile_commands.json <<'PYTHON'
import json
import os
import sys

out, *trees = sys.argv[1:]
entries, seen = [], set()
for tree in filter(os.path.exists, trees):
    for entry in json.load(open(tree)):
        if entry["file"] not in seen:
            seen.add(entry["file"])
            entries.append(entry)
with open(out, "w") as merged:
    json.dump(entries, merged, indent=1)
PYTHON
