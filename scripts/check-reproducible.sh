#!/bin/bash
# Builds the exes a release ships, ZemClientUI.exe and zemuictl.exe (those targets only, Release),
# twice from scratch, from two copies of the tree at different paths into different build
# directories, and fails unless each is byte-identical in both.
#
#     scripts/check-reproducible.sh [SCRATCH]    # default SCRATCH: build/reproducible
#
# Both builds take the same SOURCE_DATE_EPOCH (the caller's, else the last commit's time, else
# the time of CMakeLists.txt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/jobs.sh"
scratch=$(mkdir -p "${1:-$root/build/reproducible}" && cd "${1:-$root/build/reproducible}" && pwd)
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null ||
        stat -c %Y "$root/CMakeLists.txt")
fi
export SOURCE_DATE_EPOCH

shipped=(ZemClientUI zemuictl)
for tree in "$scratch/one" "$scratch/two/at/another/depth"; do
    rm -rf "$tree"
    mkdir -p "$tree/source"
    # The working tree as it is (changes not yet committed included), without build output.
    tar -C "$root" --exclude=./build --exclude=./dist --exclude=./.git -cf - . |
        tar -C "$tree/source" -xf -
    cmake -S "$tree/source" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$tree/source/cmake/mingw-w64-x86_64.cmake" >"$tree/build.log"
    cmake --build "$tree/build" -j"$ZEM_JOBS" --target "${shipped[@]}" >>"$tree/build.log"
done

for name in "${shipped[@]}"; do
    exes=("$scratch/one/build/bin/$name.exe" "$scratch/two/at/another/depth/build/bin/$name.exe")
    sha256sum "${exes[@]}"
    if ! cmp -s "${exes[@]}"; then
        echo "$name.exe differs between the two builds" >&2
        exit 1
    fi
done
echo "reproducible: both builds give the same ${shipped[*]/%/.exe}"
