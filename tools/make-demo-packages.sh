#!/usr/bin/env bash
# Builds the Corvala Demo packages from a built tree: the uninstall package goes into the install
# package's payload beside the product; the install package's data gets its skin images drawn by
# tools/make_sample_images.py.
#
#   tools/make-demo-packages.sh [BUILD_DIR]   (default build/win32)
#
# The qorin tool is QORIN_TOOL, else build/native/qorin, else build/native-asan/qorin (the test
# command builds only that one); without any it exits 77.
#
# Writes BUILD_DIR/samples/corvala-demo-setup.exe.
#
# Signed end to end: with QORIN_SIGN_CERT (a PEM certificate, with its chain) and QORIN_SIGN_KEY
# (its PEM key; QORIN_SIGN_PASS its password, QORIN_SIGN_TIMESTAMP a time-stamping URL) every
# program is signed with osslsigncode before it goes further: the product, then the uninstall
# package before it joins the payload, then the install package. Appended signatures keep the
# package valid: its footer is still found in the file's last 32 KiB.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${1:-build/win32}
qorin=${QORIN_TOOL:-build/native/qorin}
[ -n "${QORIN_TOOL:-}" ] || [ -x "$qorin" ] || qorin=build/native-asan/qorin
[ -x "$qorin" ] || { echo "make-demo-packages: no qorin tool (build the native preset)" >&2; exit 77; }
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
payload=$build/samples/demo-payload
data=$build/samples/demo-install-data
rm -rf "$payload" "$data"
cp -r samples/demo/install/payload "$payload"
cp "$build/samples/demo.exe" "$payload/"
cp -r samples/demo/install/data "$data"
python3 tools/make_sample_images.py "$data/images"
# Signs a program in place when a certificate is given.
sign() {
  [ -n "${QORIN_SIGN_CERT:-}" ] || return 0
  local options=(-certs "$QORIN_SIGN_CERT" -key "${QORIN_SIGN_KEY:?the key of QORIN_SIGN_CERT}"
    -h sha256 -n "Corvala Demo")
  [ -z "${QORIN_SIGN_PASS:-}" ] || options+=(-pass "$QORIN_SIGN_PASS")
  [ -z "${QORIN_SIGN_TIMESTAMP:-}" ] || options+=(-ts "$QORIN_SIGN_TIMESTAMP")
  osslsigncode sign "${options[@]}" -in "$1" -out "$1.signed" >/dev/null
  mv "$1.signed" "$1"
}
sign "$payload/demo.exe"

# With SOURCE_DATE_EPOCH the payload's files carry that time, which 7zz stores: the same sources
# give the same package wherever and whenever they are packed.
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  find "$payload" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
fi
"$qorin" pack --stub "$build/qorin-stub.exe" --data samples/demo/uninstall/data \
  --config setup.ini -o "$payload/uninstall.exe"
sign "$payload/uninstall.exe"
[ -z "${SOURCE_DATE_EPOCH:-}" ] || touch -d "@$SOURCE_DATE_EPOCH" "$payload/uninstall.exe" "$payload"
"$qorin" pack --stub "$build/qorin-stub.exe" --data "$data" \
  --config setup.ini --payload "$payload" -o "$build/samples/corvala-demo-setup.exe"
sign "$build/samples/corvala-demo-setup.exe"
"$qorin" verify "$build/samples/corvala-demo-setup.exe" >/dev/null
