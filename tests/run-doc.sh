#!/usr/bin/env bash
# Runs the commands of a chapter of docs/ as they stand: its "sh" blocks, in order, in one shell
# in an empty folder (blocks marked "sh wine" need a Wine session and are left out). A "text"
# block right after an "sh" block is what that block must print. With --package FILE, the
# package the commands make must then pass qorin verify and qorin check-skin.
#
#   run-doc.sh DOC QORIN STUB [--package FILE]   (exits 77, skipped, when STUB does not exist)
set -euo pipefail
doc=$(realpath "${1:?usage: run-doc.sh DOC QORIN STUB [--package FILE]}")
qorin=$(realpath "${2:?}")
stub=${3:?}
package=
[ "${4:-}" = --package ] && package=${5:?}
[ -f "$stub" ] || { echo "run-doc: no stub at $stub (build a Windows preset)"; exit 77; }
stub=$(realpath "$stub")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/out"
printf '#!/bin/sh\nASAN_OPTIONS=detect_leaks=0 exec "%s" "$@"\n' "$qorin" >"$work/bin/qorin"
chmod +x "$work/bin/qorin"

# The blocks: an "sh" block's text goes into the script, each wrapped so that its output lands
# in out/N; a "text" block after it becomes out/N.expected.
awk -v out="$work/out" '
  /^```sh$/ { n++; kind = "sh"; print "{"; next }
  /^```text$/ { kind = (last == "sh" && n > 0) ? "text" : "skip"; next }
  /^```/ {
    if (kind == "sh") print "} >\"" out "/" n "\" 2>&1"
    last = kind; kind = ""; next
  }
  kind == "sh" { print }
  kind == "text" { print > (out "/" n ".expected") }
  /[^[:space:]]/ && kind == "" { last = "" }
' "$doc" >"$work/commands.sh"
mkdir -p "$work/run"
cd "$work/run"
if ! PATH="$work/bin:$PATH" QORIN_STUB=$stub bash -euo pipefail "$work/commands.sh"; then
  for f in "$work"/out/[0-9]*; do [ "${f%.expected}" = "$f" ] && cat "$f"; done
  echo "run-doc: a command of $doc failed" >&2
  exit 1
fi
status=0
for expected in "$work"/out/*.expected; do
  [ -e "$expected" ] || continue
  if ! diff -u "$expected" "${expected%.expected}"; then
    echo "run-doc: block ${expected##*/} of $doc printed something else" >&2
    status=1
  fi
done
if [ -n "$package" ]; then
  "$work/bin/qorin" verify "$package" >/dev/null
  "$work/bin/qorin" check-skin "$package"
fi
exit $status
