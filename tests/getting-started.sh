#!/usr/bin/env bash
# Runs the commands of docs/getting-started.md as they stand (its "sh" blocks, in order, in an
# empty folder) and fails unless they succeed and the installer they make passes qorin verify and
# qorin check-skin. Blocks marked "sh wine" need a Wine session and are left out here.
#
#   getting-started.sh DOC QORIN STUB      (exits 77, skipped, when STUB does not exist)
set -euo pipefail
doc=$(cd "$(dirname "${1:?usage: getting-started.sh DOC QORIN STUB}")" && pwd)/$(basename "$1")
qorin=$(cd "$(dirname "${2:?}")" && pwd)/$(basename "$2")
stub=${3:?}
[ -f "$stub" ] || { echo "getting-started: no stub at $stub (build a Windows preset)"; exit 77; }
stub=$(realpath "$stub")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
printf '#!/bin/sh\nASAN_OPTIONS=detect_leaks=0 exec "%s" "$@"\n' "$qorin" >"$work/bin/qorin"
chmod +x "$work/bin/qorin"
awk '/^```sh$/ {on = 1; next} /^```/ {on = 0} on' "$doc" >"$work/commands.sh"
cd "$work"
PATH="$work/bin:$PATH" QORIN_STUB=$stub bash -euo pipefail commands.sh
qorin=$work/bin/qorin
"$qorin" verify hello/hello-setup.exe >/dev/null
"$qorin" check-skin hello/hello-setup.exe
