#!/bin/bash
# Builds the release package in a clean checkout: dist/ZemClientUI-<version>-win64.zip, with the
# version of CMakeLists.txt. It installs what it needs, checks that the gallery of pictures is
# what the build renders, builds ZemClientUI.exe from scratch in
# build/release (Release), checks its hardening and that two more clean builds at other paths give
# the same bytes, and zips it with the translations, the licences, an SBOM and SHA256SUMS. The
# same commit gives the same zip bytes (docs/release.md).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/jobs.sh"
cd "$root"
scripts/install-deps.sh
# Debian's python3, which has pefile (a version manager's python3 may come first on the path).
python=/usr/bin/python3
if [[ -n $(git status --porcelain 2>/dev/null) ]]; then
    echo "warning: uncommitted changes: the zip is not that of the last commit" >&2
fi
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || stat -c %Y CMakeLists.txt)
fi
export SOURCE_DATE_EPOCH

# The gallery in the README shows what this build renders.
scripts/screenshots.sh --check

build=build/release
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZEM_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j"$ZEM_JOBS" --target ZemClientUI >/dev/null
"$python" scripts/check-pe.py "$build/bin/ZemClientUI.exe"
# The promise of a release: two clean builds at other paths give these same bytes.
scripts/check-reproducible.sh "$build/reproducible" >/dev/null
cmp -s "$build/bin/ZemClientUI.exe" "$build/reproducible/one/build/bin/ZemClientUI.exe"

rm -f dist/ZemClientUI-*-win64.zip
zip=$("$python" scripts/package_release.py "$build/bin/ZemClientUI.exe" dist)
echo "$zip"
sha256sum "$zip"
