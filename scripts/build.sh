#!/bin/bash
# Configures and builds both configurations (native core with ASan+UBSan, and the Windows product
# cross-compiled with mingw-w64) into build/native; the .exe lands in build/native/win/bin.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [[ ! -f build/native/CMakeCache.txt ]]; then
    cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEM_SANITIZE=ON >/dev/null
fi
cmake --build build/native -j"$(nproc)"
