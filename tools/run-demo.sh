#!/usr/bin/env bash
# Installs and uninstalls the Corvala Demo sample under Wine, in one prefix, twice: silently
# ("/S", no window at all) and with the installer's window ("/auto": installing at once, then
# showing the finish page while the version check asks the local update server). Before the uninstall the product itself runs,
# so that the uninstaller has a real window to close and settings to clean up. Prints what each
# step left in Program Files, the Start menu, the desktop, the user's application data and the
# registry, and fails unless the uninstall leaves the prefix exactly as it was before.
#
#   tools/run-demo.sh BUILD_DIR WINE_HOME win32|win64
#
# Expects BUILD_DIR/samples/corvala-demo-setup.exe and BUILD_DIR/observe.exe (tools/run-sample.sh
# builds them). The stub of BUILD_DIR may be the 32-bit or the x64 one: the x64 stub installs as a
# 64-bit program does, into "Program Files" and the 64-bit registry view.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:?usage: run-demo.sh BUILD_DIR WINE_HOME win32|win64}" && pwd)
home=${2:?}
arch=${3:?}
export QORIN_WINE_HOME="$home" QORIN_WINE_ARCH="$arch"
wine_run() { "$root/tests/wine/run-wine.sh" "$@"; }
observe() { wine_run "$build/observe.exe" "$@" || true; }

# shellcheck source=tools/demo-prefix.sh
. "$root/tools/demo-prefix.sh"
echo "== [$arch] the demo with the $stub stub ($build/qorin-stub.exe)"

update_server() {
  rm -f "$home/update-requests.txt"
  setsid python3 "$root/tests/e2e/http_server.py" 18932 "$home/update-port.txt" \
    "$home/update-requests.txt" </dev/null >/dev/null 2>&1 &
  echo $! >"$home/update-server.pid"
}

start_product() {
  (QORIN_WINE_TIMEOUT=60 wine_run "$installed\\demo.exe" >/dev/null 2>&1 &)
  sleep 3
}

before=$(snapshot)
update_server
trap 'kill "$(cat "$home/update-server.pid")" 2>/dev/null || true' EXIT
status=0
for mode in silent window; do
  echo "== [$arch] install, $mode"
  if [ $mode = silent ]; then
    observe --timeout 60000 "$build/samples/corvala-demo-setup.exe" /S
  else
    observe --timeout 60000 --window QORINCLASS --close-after 20000 \
      "$build/samples/corvala-demo-setup.exe" /auto
  fi
  echo "== [$arch] after the install"
  snapshot
  echo "== [$arch] the product runs"
  start_product
  echo "== [$arch] uninstall, $mode"
  if [ $mode = silent ]; then
    observe --timeout 60000 --follow 1 "$installed\\uninstall.exe" /S
  else
    observe --timeout 60000 --follow 1 "$installed\\uninstall.exe"
  fi
  after=$(snapshot)
  if [ "$after" = "$before" ]; then
    echo "== [$arch] after the uninstall: left behind nothing"
  else
    echo "== [$arch] after the uninstall: left behind"
    diff <(echo "$before") <(echo "$after") || true
    status=1
  fi
done
echo "== [$arch] requests to the update server"
sed 's/^/  /' "$home/update-requests.txt" 2>/dev/null || echo "  (none)"
exit $status
