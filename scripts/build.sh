#!/bin/bash
# Configures and builds both configurations (native core with ASan+UBSan, and the Windows product
# cross-compiled with mingw-w64) into build/native; the .exe lands in build/native/win/bin.
# Warnings are errors here, as in CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if ! grep -qx 'ZEM_WERROR:BOOL=ON' build/native/CMakeCache.txt 2>/dev/null; then
    cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEM_SANITIZE=ON -DZEM_WERROR=ON \
        >/dev/null
fi
cmake --build build/native -j"$(nproc)"
