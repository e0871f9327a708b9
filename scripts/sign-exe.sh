#!/bin/bash
# Signs an exe with Authenticode (osslsigncode) and proves the signature detachable:
#
#     scripts/sign-exe.sh UNSIGNED SIGNED
#
# The certificate comes from the environment: ZEM_SIGN_CERT (PEM chain, the signing certificate
# first) with ZEM_SIGN_KEY (its PEM key), or ZEM_SIGN_PFX with ZEM_SIGN_PASSWORD;
# ZEM_SIGN_TIMESTAMP_URL names an RFC 3161 time-stamping service (optional). Fails unless removing
# the signature from SIGNED gives UNSIGNED back byte for byte, so anyone who rebuilds the source
# can compare with what was signed. Uses only what osslsigncode 2.5 (Debian 12) knows.
set -euo pipefail
if [[ $# -ne 2 ]]; then
    sed -n '2,10s/^# \{0,1\}//p' "$0" >&2
    exit 2
fi
unsigned=$1
signed=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
if [[ -n ${ZEM_SIGN_CERT:-} && -n ${ZEM_SIGN_KEY:-} ]]; then
    credentials=(-certs "$ZEM_SIGN_CERT" -key "$ZEM_SIGN_KEY")
elif [[ -n ${ZEM_SIGN_PFX:-} ]]; then
    # Read from a file only this user can read, so that the password shows in no process list.
    (umask 077 && printf '%s' "${ZEM_SIGN_PASSWORD:-}" >"$scratch/password")
    credentials=(-pkcs12 "$ZEM_SIGN_PFX" -readpass "$scratch/password")
else
    echo "sign-exe.sh: set ZEM_SIGN_CERT and ZEM_SIGN_KEY, or ZEM_SIGN_PFX and ZEM_SIGN_PASSWORD" >&2
    exit 2
fi
timestamp=()
if [[ -n ${ZEM_SIGN_TIMESTAMP_URL:-} ]]; then timestamp=(-ts "$ZEM_SIGN_TIMESTAMP_URL"); fi

rm -f "$signed"
osslsigncode sign -h sha256 -n "$(basename "$unsigned" .exe)" "${credentials[@]}" \
    "${timestamp[@]}" -in "$unsigned" -out "$signed" >"$scratch/log" ||
    { cat "$scratch/log" >&2; exit 1; }
osslsigncode remove-signature -in "$signed" -out "$scratch/stripped.exe" >"$scratch/log" ||
    { cat "$scratch/log" >&2; exit 1; }
if ! cmp -s "$scratch/stripped.exe" "$unsigned"; then
    echo "sign-exe.sh: $signed without its signature is not $unsigned (scripts/check-pe.py?)" >&2
    exit 1
fi
