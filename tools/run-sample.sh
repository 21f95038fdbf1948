#!/usr/bin/env bash
# The main job: installs what is missing, builds the stub and the qorin tool (native), packs the
# sample installer samples/minimal (data and payload) into BUILD/samples/minimal-setup.exe, and
# runs it under Wine while observing it: once with its window (closed again after two seconds, as
# a user would), once silently with "/S", which installs the payload. It prints the developer log
# ("XRecv"), the script console, any message box, the window when it shows, the exit codes, and
# the files installed. Then it builds the Corvala Demo install and uninstall packages and installs
# and uninstalls them (tools/run-demo.sh), printing what each step left behind, and ends with
# pictures of every page of the demo in build/gallery (tools/gallery.sh, index.html).
#
# Where the host runs 32-bit code, this is done with the 32-bit stub (build/win32) in a 32-bit
# prefix, the demo again in a 64-bit prefix, and then the demo with the x64 stub (build/win64).
# Where it does not (tools/host.sh), the x64 stub does all of it in a 64-bit prefix.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)
. tools/host.sh

qorin_host_decide
tools/bootstrap.sh
qorin_host_settle

homes=()
trap 'for h in "${homes[@]}"; do tests/wine/wine-session.sh stop "$h" >/dev/null 2>&1 || true; done' EXIT

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs" --target qorin

# Builds one Windows preset's stub, observer and demo product, and its demo packages.
build_preset() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs" --target qorin-stub observe corvala-demo
  tools/make-demo-packages.sh "build/$1"
}

# The minimal sample with the stub of BUILD in the prefix of HOME (ARCH win32 or win64).
run_minimal() {
  local build=$1 home=$2 arch=$3
  mkdir -p "$build/samples"
  build/native/qorin pack --stub "$build/qorin-stub.exe" --data samples/minimal/data \
    --config setup.ini --payload samples/minimal/payload -o "$build/samples/minimal-setup.exe"
  build/native/qorin verify "$build/samples/minimal-setup.exe"
  export QORIN_WINE_HOME="$home" QORIN_WINE_ARCH="$arch"
  echo "== minimal-setup.exe under Wine ($arch prefix, stub $build/qorin-stub.exe)"
  tests/wine/run-wine.sh "$build/observe.exe" --window QORINCLASS \
    --close-after 2000 --timeout 30000 'samples\minimal-setup.exe'
  echo "== minimal-setup.exe /S under Wine (silent install)"
  tests/wine/run-wine.sh "$build/observe.exe" --timeout 30000 'samples\minimal-setup.exe' /S
  echo "== installed into C:\Program Files\Qorin Minimal"
  (cd "$home/prefix/drive_c/Program Files/Qorin Minimal" && find . -type f | sort | sed 's|^\./|  |')
  unset QORIN_WINE_HOME QORIN_WINE_ARCH
}

# The demo with the stub of BUILD in a session of its own at HOME.
run_demo() {
  homes+=("$2")
  QORIN_WINE_ARCH=$3 tests/wine/wine-session.sh start "$2"
  tools/run-demo.sh "$1" "$2" "$3"
}

if [ "$QORIN_HOST_32BIT" = yes ]; then
  build_preset win32
  homes+=("$root/build/win32/wine")
  run_minimal build/win32 "$root/build/win32/wine" win32
  run_demo build/win32 "$root/build/win32/wine" win32
  run_demo build/win32 "$root/build/win32/wine64" win64
fi
build_preset win64
if [ "$QORIN_HOST_32BIT" = no ]; then
  homes+=("$root/build/win64/wine")
  run_minimal build/win64 "$root/build/win64/wine" win64
fi
run_demo build/win64 "$root/build/win64/wine" win64
echo "== the gallery: every page of the demo at 96 and 144 DPI, in English and Hebrew"
tools/gallery.sh
[ "$QORIN_HOST_32BIT" = yes ] || echo "not run on this host (no 32-bit code): the 32-bit stub under Wine"
