#!/usr/bin/env bash
# The main job: installs what is missing, builds the stub (win32) and the qorin tool (native),
# packs the sample installer samples/minimal (data and payload) into
# build/win32/samples/minimal-setup.exe, and runs it under Wine while observing it: once with
# its window (closed again after two seconds, as a user would), once silently with "/S", which
# installs the payload. It prints the developer log ("XRecv"), the script console, any message
# box, the window when it shows, the exit codes, and the files installed. Then it builds the
# Corvala Demo install and uninstall packages and runs both in a 32-bit and a 64-bit prefix
# (tools/run-demo.sh), printing what each step left behind.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)

tools/bootstrap.sh

wine_home="$root/build/win32/wine"
trap 'tests/wine/wine-session.sh stop "$wine_home" >/dev/null 2>&1 || true' EXIT

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs" --target qorin
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs" --target qorin-stub observe corvala-demo

mkdir -p build/win32/samples
build/native/qorin pack --stub build/win32/qorin-stub.exe --data samples/minimal/data --config setup.ini \
  --payload samples/minimal/payload -o build/win32/samples/minimal-setup.exe
build/native/qorin verify build/win32/samples/minimal-setup.exe

echo "== minimal-setup.exe under Wine"
QORIN_WINE_HOME="$wine_home" tests/wine/run-wine.sh build/win32/observe.exe --window QORINCLASS \
  --close-after 2000 --timeout 30000 'samples\minimal-setup.exe'

echo "== minimal-setup.exe /S under Wine (silent install)"
QORIN_WINE_HOME="$wine_home" tests/wine/run-wine.sh build/win32/observe.exe --timeout 30000 \
  'samples\minimal-setup.exe' /S
installed="$wine_home/prefix/drive_c/Program Files/Qorin Minimal"
echo "== installed into C:\Program Files\Qorin Minimal"
(cd "$installed" && find . -type f | sort | sed 's|^\./|  |')

# The Corvala Demo packages.
tools/make-demo-packages.sh build/win32

tools/run-demo.sh build/win32 "$wine_home" win32
wine64_home="$root/build/win32/wine64"
trap 'for h in "$wine_home" "$wine64_home"; do tests/wine/wine-session.sh stop "$h" >/dev/null 2>&1 || true; done' EXIT
QORIN_WINE_ARCH=win64 tests/wine/wine-session.sh start "$wine64_home"
tools/run-demo.sh build/win32 "$wine64_home" win64
