#!/usr/bin/env bash
# The main job: installs what is missing, builds the stub (win32) and the qorin tool (native),
# and runs the stub under Wine while observing it: its developer log, any message box, and its
# exit code are printed.
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
cmake --build --preset win32 -j "$jobs" --target qorin-stub observe

echo "== qorin-stub.exe under Wine"
QORIN_WINE_HOME="$wine_home" tests/wine/run-wine.sh build/win32/observe.exe qorin-stub.exe
