#!/usr/bin/env bash
# The Corvala Demo's contract with deployment tools, as they see it under Wine: "/S" installs
# with no window and no message box and exits 0, leaving a complete Add/Remove Programs entry;
# the entry's QuietUninstallString, run as it stands, exits 0 and leaves the prefix as it was
# before the install; Cancel on the first page exits 1602; an install that cannot write one of its
# files (a folder in the way) exits 1603.
#
#   silent-contract.sh BUILD_DIR      (in a Wine session: QORIN_WINE_HOME, QORIN_WINE_ARCH)
#
# Packs the demo with BUILD_DIR's stub through tools/make-demo-packages.sh; exits 77 (skipped)
# when that finds no host qorin tool.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:?usage: silent-contract.sh BUILD_DIR}" && pwd)
home=${QORIN_WINE_HOME:?}
arch=${QORIN_WINE_ARCH:?}
wine_run() { "$root/tests/wine/run-wine.sh" "$@"; }
# shellcheck source=tools/demo-prefix.sh
. "$root/tools/demo-prefix.sh"


status=0
fail() {
  echo "FAILED: $*"
  status=1
}
keys=$(mktemp -d)
out=$keys/observed.txt
trap 'rm -rf "$keys"' EXIT

# A throw-away CA and a code-signing certificate it issued.
make_certificates() {
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$keys/ca.key" -out "$keys/ca.pem" -days 2 \
    -subj "/CN=Qorin Test CA" -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign" 2>/dev/null
  openssl req -newkey rsa:2048 -nodes -keyout "$keys/sign.key" -out "$keys/sign.csr" \
    -subj "/CN=Corvala Test Signing" 2>/dev/null
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' \
    >"$keys/ext.cnf"
  openssl x509 -req -in "$keys/sign.csr" -CA "$keys/ca.pem" -CAkey "$keys/ca.key" \
    -CAcreateserial -out "$keys/sign.pem" -days 2 -extfile "$keys/ext.cnf" 2>/dev/null
}
signed() {
  osslsigncode verify -CAfile "$keys/ca.pem" -in "$1" >/dev/null 2>&1 || fail "not signed: $1"
}
make_certificates
packed=0
QORIN_SIGN_CERT=$keys/sign.pem QORIN_SIGN_KEY=$keys/sign.key \
  "$root/tools/make-demo-packages.sh" "$build" >/dev/null || packed=$?
[ $packed = 0 ] || exit $packed
signed "$build/samples/corvala-demo-setup.exe"
# The relaunch copies in the user's temporary folder (nameEng + "~qorin~temp~.exe"): none yet.
relaunch_copies() { find "$drive_c/users" -iname '*~qorin~temp~.exe' 2>/dev/null; }
relaunch_copies | while read -r copy; do rm -f "$copy"; done
# Runs the observer; its output goes to $out, the program's exit code is printed.
observed() {
  wine_run "$build/observe.exe" --timeout 60000 "$@" >"$out" 2>&1 || true
  sed -n 's/^\[exit code\] //p' "$out" | tr -d '\r'
}
quiet() {
  grep -q '^\[window\]\|^\[message box\]' "$out" && fail "$1 showed a window or a message box"
  return 0
}

echo "== [$arch] the $stub stub, signed: /S"
before=$(snapshot)
code=$(observed --window QORINCLASS 'samples\corvala-demo-setup.exe' /S)
[ "$code" = 0 ] || fail "/S exited with '$code'"
quiet "/S"
entry=$(snapshot | grep 'Uninstall\\CorvalaDemo' || true)
echo "$entry"
for value in DisplayName DisplayVersion Publisher InstallLocation DisplayIcon UninstallString \
  QuietUninstallString 'NoModify    REG_DWORD    0x1' 'NoRepair    REG_DWORD    0x1'; do
  grep -q ": $value" <<<"$entry" || fail "the Add/Remove Programs entry lacks $value"
done
folder="$drive_c/${installed#C:\\}"
folder=${folder//\\//}
programs=$(find "$folder" -iname '*.exe' | sort)
echo "  signed programs written: $(echo "$programs" | sed "s|$folder/||" | tr '\n' ' ')"
[ "$(echo "$programs" | wc -l)" -ge 2 ] || fail "fewer programs installed than expected"
while read -r program; do signed "$program"; done <<<"$programs"

echo "== [$arch] QuietUninstallString"
quiet_line=$(sed -n 's/.*: QuietUninstallString    REG_SZ    //p' <<<"$entry" | head -n 1)
program=${quiet_line#\"}
program=${program%%\"*}
arguments=${quiet_line##*\" }
echo "  $program $arguments"
code=$(observed --follow 1 --window QORINCLASS "$program" "$arguments")
[ "$code" = 0 ] || fail "the quiet uninstall exited with '$code'"
quiet "the quiet uninstall"
copies=$(relaunch_copies)
[ -n "$copies" ] || fail "no relaunch copy in the temporary folder"
while read -r copy; do
  [ -n "$copy" ] || continue
  signed "$copy"
  cmp -s "$copy" "$build/samples/demo-payload/uninstall.exe" || fail "$copy is not a byte copy"
  echo "  the relaunch copy $(basename "$copy"): signed, a byte copy of uninstall.exe"
  rm -f "$copy"
done <<<"$copies"
after=$(snapshot)
[ "$after" = "$before" ] || { fail "the quiet uninstall left the prefix changed"; diff <(echo "$before") <(echo "$after") || true; }

echo "== [$arch] Cancel"
shot=$(mktemp --suffix=.bmp)
code=$(observed --window QORINCLASS --shot "Z:${shot//\//\\}" --click 352,336 \
  'samples\corvala-demo-setup.exe')
rm -f "$shot"
[ "$code" = 1602 ] || fail "Cancel exited with '$code', not 1602"
[ "$(snapshot)" = "$before" ] || fail "Cancel left something behind"

echo "== [$arch] a failed install"
mkdir -p "$folder/demo.exe"
code=$(observed 'samples\corvala-demo-setup.exe' /S)
rm -rf "$folder"
[ "$code" = 1603 ] || { fail "a failed install exited with '$code', not 1603"; cat "$out"; }
# A file that cannot be written asks Abort, Retry or Ignore, even without a window; Abort fails.
grep -q '^\[message box\] Corvala Demo Setup: .*demo\.exe cannot be written.*(pressed Abort)' "$out" ||
  { fail "no Abort/Retry/Ignore question naming demo.exe"; cat "$out"; }

[ $status = 0 ] && echo "== [$arch] signed end to end; the silent contract holds"
exit $status
