#!/bin/bash
# Renders the gallery of dialogs into docs/images/ (see scripts/screenshots.py): builds if needed,
# starts two Wine sessions of its own (96 and 144 DPI) and stops them again, whatever happens.
# With --check it writes nothing and fails when a committed picture is not what the build renders.
#   scripts/screenshots.sh [--check]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
state=$root/build/native/wine-shots
dpi_state=$root/build/native/wine-shots-dpi144
"$root/scripts/install-deps.sh"
# The Japanese and Arabic pictures need fonts with their characters: VL PGothic for Japanese,
# DejaVu Sans (Arabic and Hebrew, with their shaping tables) for Arabic.
install_font() {
    local sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "$1" </dev/null
}
if ! fc-list :lang=ja | grep -q .; then install_font fonts-vlgothic; fi
if ! fc-list 'DejaVu Sans:lang=ar' | grep -q .; then install_font fonts-dejavu-core; fi
"$root/scripts/build.sh" >/dev/null
harness() { /usr/bin/python3 "$root/scripts/wine_harness.py" "$@"; }
trap 'harness --state "$state" stop; harness --state "$dpi_state" stop' EXIT
harness --state "$state" start
harness --state "$dpi_state" start --dpi 144
/usr/bin/python3 "$root/scripts/screenshots.py" --state "$state" --dpi-state "$dpi_state" "$@"
