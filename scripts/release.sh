#!/bin/bash
# Builds the release package in a clean checkout: dist/ZemClientUI-<version>-win64.zip, with the
# version of CMakeLists.txt. It installs what it needs, checks that the gallery of pictures is what
# the build renders, builds ZemClientUI.exe and zemuictl.exe from scratch in build/release
# (Release), checks their hardening and that two more clean builds at other paths give the same
# bytes, signs both when a certificate is given (scripts/sign-exe.sh: ZEM_SIGN_CERT and
# ZEM_SIGN_KEY, or ZEM_SIGN_PFX and ZEM_SIGN_PASSWORD; ZEM_SIGN_TIMESTAMP_URL, and ZEM_SIGN_CA for a
# CA the system does not trust) and zips them with the translations, the licences, an SBOM and
# SHA256SUMS. Unsigned, the same commit gives the same zip bytes (docs/release.md).
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
shipped=(ZemClientUI zemuictl)
cmake --build "$build" -j"$ZEM_JOBS" --target "${shipped[@]}" >/dev/null
for name in "${shipped[@]}"; do "$python" scripts/check-pe.py "$build/bin/$name.exe"; done
# The promise of a release: two clean builds at other paths give these same bytes.
scripts/check-reproducible.sh "$build/reproducible" >/dev/null
for name in "${shipped[@]}"; do
    cmp -s "$build/bin/$name.exe" "$build/reproducible/one/build/bin/$name.exe"
done

exes=()
if [[ -n ${ZEM_SIGN_CERT:-} || -n ${ZEM_SIGN_PFX:-} ]]; then
    mkdir -p "$build/signed"
    for name in "${shipped[@]}"; do
        # Fails unless the signature comes off again to the reproducible bytes.
        scripts/sign-exe.sh "$build/bin/$name.exe" "$build/signed/$name.exe"
        verify=(osslsigncode verify -in "$build/signed/$name.exe")
        if [[ -n ${ZEM_SIGN_CA:-} ]]; then verify+=(-CAfile "$ZEM_SIGN_CA"); fi
        "${verify[@]}" >"$build/signed/$name.verify" ||
            { cat "$build/signed/$name.verify" >&2; exit 1; }
        exes+=("$build/signed/$name.exe")
    done
    echo "signed: ${shipped[*]/%/.exe}" >&2
else
    for name in "${shipped[@]}"; do exes+=("$build/bin/$name.exe"); done
    echo "unsigned: no certificate given (ZEM_SIGN_CERT and ZEM_SIGN_KEY, or ZEM_SIGN_PFX)" >&2
fi

rm -f dist/ZemClientUI-*-win64.zip
zip=$("$python" scripts/package_release.py dist "${exes[@]}")
echo "$zip"
sha256sum "$zip"
