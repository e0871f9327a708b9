#!/bin/bash
# Installs what building and testing ZemClientUI needs on Debian. Idempotent: packages already
# present are not fetched again, and the package lists are updated at most once per run.
# osslsigncode signs the release's exes (scripts/release.sh); WenQuanYi Micro Hei draws the Chinese
# picture of the gallery (scripts/screenshots.py).
set -euo pipefail

packages=(
    cmake g++ make clang libclang-rt-14-dev clang-format git
    googletest libgtest-dev libbenchmark-dev libicu-dev libfmt-dev
    mingw-w64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth x11-utils python3 python3-pytest python3-pefile python3-venv
    python3-setuptools osslsigncode fonts-wqy-microhei
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" </dev/null
fi
