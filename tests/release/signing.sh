#!/bin/bash
# Signs each built exe given with a throw-away CA and certificate made here, once from PEM files
# and once from a PFX, verifies each signature against that CA and lets scripts/sign-exe.sh prove
# that removing it gives the unsigned bytes back. The full signed release is scripts/release.sh.
#     tests/release/signing.sh EXE...
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exes=()
for exe in "$@"; do exes+=("$(realpath "$exe")"); done
pki=$(mktemp -d)
trap 'rm -rf "$pki"' EXIT
cd "$pki"
quiet() { "$@" >log 2>&1 || { cat log >&2; return 1; }; }
quiet openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 \
    -subj "/CN=Throw-away test CA" -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign"
quiet openssl req -newkey rsa:2048 -nodes -keyout sign.key -out sign.csr \
    -subj "/CN=Throw-away test publisher"
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >ext
quiet openssl x509 -req -in sign.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
    -extfile ext -out sign.pem
cat sign.pem ca.pem >chain.pem
quiet openssl pkcs12 -export -inkey sign.key -in chain.pem -passout pass:test -out sign.pfx

for exe in "${exes[@]}"; do
    name=$(basename "$exe")
    ZEM_SIGN_CERT=chain.pem ZEM_SIGN_KEY=sign.key "$root/scripts/sign-exe.sh" "$exe" "pem-$name"
    ZEM_SIGN_PFX=sign.pfx ZEM_SIGN_PASSWORD=test "$root/scripts/sign-exe.sh" "$exe" "pfx-$name"
    for signed in "pem-$name" "pfx-$name"; do
        quiet osslsigncode verify -in "$signed" -CAfile ca.pem
        ! cmp -s "$signed" "$exe" || { echo "$signed: not signed" >&2; exit 1; }
    done
    echo "$name: signed, verified against the test CA, and its signature removed to the same bytes"
done
