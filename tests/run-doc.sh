#!/usr/bin/env bash
# Runs the commands of a chapter of docs/ as they stand: its "sh" blocks, in order, in one shell
# in an empty folder. A "text" block right after an "sh" block is what that block must print.
# With --package FILE, the package the commands make must then pass qorin verify and qorin
# check-skin. With --wine BUILD (in a Wine session: QORIN_WINE_HOME, QORIN_WINE_ARCH) the
# blocks marked "sh wine" run too, from a folder that stands for the repository's root, with
# QORIN_BUILD=BUILD, and every "[exit code]" they print must be 0; without it they are left out.
#
#   run-doc.sh DOC QORIN|host STUB [--package FILE] [--wine BUILD]   (77, skipped, without STUB)
set -euo pipefail
doc=$(realpath "${1:?usage: run-doc.sh DOC QORIN STUB [--package FILE]}")
qorin=${2:?}
# "host": the qorin tool of this tree's native build, whichever was built.
if [ "$qorin" = host ]; then
  here=$(realpath "$(dirname "${BASH_SOURCE[0]}")/..")
  qorin=
  for candidate in "$here/build/native/qorin" "$here/build/native-asan/qorin"; do
    [ -n "$qorin" ] || { [ -x "$candidate" ] && qorin=$candidate; }
  done
  [ -n "$qorin" ] || { echo "run-doc: no host qorin tool"; exit 77; }
fi
qorin=$(realpath "$qorin")
stub=${3:?}
package=
wine_build=
shift 3
while [ $# -gt 0 ]; do
  case $1 in
    --package) package=${2:?}; shift 2 ;;
    --wine) wine_build=$(realpath "${2:?}"); shift 2 ;;
    *) echo "run-doc: unknown option $1" >&2; exit 2 ;;
  esac
done
root=$(realpath "$(dirname "${BASH_SOURCE[0]}")/..")
[ -f "$stub" ] || { echo "run-doc: no stub at $stub (build a Windows preset)"; exit 77; }
stub=$(realpath "$stub")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/out"
printf '#!/bin/sh\nASAN_OPTIONS=detect_leaks=0 exec "%s" "$@"\n' "$qorin" >"$work/bin/qorin"
chmod +x "$work/bin/qorin"

# The blocks: an "sh" block's text goes into the script, each wrapped so that its output lands
# in out/N; a "text" block after it becomes out/N.expected.
awk -v out="$work/out" -v wine="${wine_build:+1}" -v top="$work/run" '
  /^```sh$/ { n++; kind = "sh"; print "{"; next }
  /^```sh wine$/ && wine {
    n++; kind = "sh"; print "cd \"" top "\""; print "{"; print n > (out "/wine"); next
  }
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
if [ -n "$wine_build" ]; then
  ln -s "$root/tools" "$root/tests" "$root/build" .
  export QORIN_BUILD=$wine_build
fi
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
if [ -f "$work/out/wine" ]; then
  while read -r n; do
    codes=$(sed -n 's/^\[exit code\] //p' "$work/out/$n" | tr -d '\r' | sort -u)
    if [ "$codes" != 0 ]; then
      cat "$work/out/$n"
      echo "run-doc: a Wine block of $doc ended with exit codes '$codes'" >&2
      status=1
    fi
  done <"$work/out/wine"
fi
if [ -n "$package" ]; then
  "$work/bin/qorin" verify "$package" >/dev/null
  "$work/bin/qorin" check-skin "$package"
fi
exit $status
