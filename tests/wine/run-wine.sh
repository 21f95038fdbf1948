#!/usr/bin/env bash
# Runs a Windows program of the build under Wine: the emulator that CMake puts in front of every
# Windows test. The session lives in <build folder>/wine (QORIN_WINE_HOME overrides).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=${1:?usage: run-wine.sh PROGRAM.exe [ARGS...]}
home=${QORIN_WINE_HOME:-$(cd "$(dirname "$program")" && pwd)/wine}
exec "$here/wine-session.sh" run "$home" "$@"
