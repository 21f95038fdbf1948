#!/usr/bin/env bash
# What a skin's users will see: runs an installer package under Wine and Xvfb, waits for its
# window, saves a screenshot of the window's client area as PNG and closes it.
#
#   tools/preview.sh PACKAGE.exe [--dpi N] [--lang NAME] [--settle MS]
#                    [--click X,Y | --pause MS]... -o OUT.png
#
# --dpi sets the prefix's display DPI for the run (96 by default); --lang picks the user
# interface language Wine reports (English, Korean, Hebrew), which chooses the package's language
# file. Each --click presses the left button at a point of the client area first, as a user
# would (pressing Install this way installs into the preview prefix); --pause waits between them.
# Needs a built tree (build/win32/observe.exe; build/win64 on a host without 32-bit code); the
# Wine prefix is preview/ in that build folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
usage() {
  echo "usage: preview.sh PACKAGE.exe [--dpi N] [--lang NAME] [--settle MS]" \
    "[--click X,Y | --pause MS]... -o OUT.png" >&2
  exit 2
}
[ $# -ge 1 ] || usage
package=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift
dpi=96 lang=English out="" settle=1500 clicks=()
while [ $# -gt 0 ]; do
  case $1 in
    --dpi) dpi=${2:?}; shift 2 ;;
    --lang) lang=${2:?}; shift 2 ;;
    --settle) settle=${2:?}; shift 2 ;;
    --click) clicks+=(--click "${2:?}"); shift 2 ;;
    --pause) clicks+=(--pause "${2:?}"); shift 2 ;;
    -o) out=${2:?}; shift 2 ;;
    *) usage ;;
  esac
done
[ -n "$out" ] || usage
case $lang in
  English) locale=en_US.UTF-8 ;;
  Korean) locale=ko_KR.UTF-8 ;;
  Hebrew) locale=he_IL.UTF-8 ;;
  *) echo "preview.sh: unknown language $lang (English, Korean, Hebrew)" >&2; exit 2 ;;
esac
# The 32-bit build's observer and prefix, or the x64 build's for a package on the x64 stub (a
# 32-bit prefix cannot start it) and on a host without 32-bit code.
. "$root/tools/host.sh"
qorin_host_known
qorin_host_settle >&2
# The PE machine of the package's stub: 8664 for x64, 014c for x86.
pe_machine() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}
build=$root/build/win32
export QORIN_WINE_ARCH=win32
if [ "$QORIN_HOST_32BIT" != yes ] || [ "$(pe_machine "$package")" = 8664 ]; then
  build=$root/build/win64
  QORIN_WINE_ARCH=win64
fi
export QORIN_WINE_HOME=${QORIN_PREVIEW_HOME:-$build/preview}
session="$root/tests/wine/wine-session.sh"
"$session" start "$QORIN_WINE_HOME" >/dev/null
# The locale reaches the session's wineserver too: a new session per language.
trap '"$session" stop "$QORIN_WINE_HOME" >/dev/null 2>&1 || true' EXIT
QORIN_WINE_TIMEOUT=30 "$session" run "$QORIN_WINE_HOME" reg add 'HKCU\Control Panel\Desktop' \
  /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
bmp=$(mktemp --suffix=.bmp)
LANG=$locale LC_ALL=$locale QORIN_WINE_TIMEOUT=60 "$session" run "$QORIN_WINE_HOME" \
  "$build/observe.exe" --timeout 30000 --window QORINCLASS --settle "$settle" "${clicks[@]}" \
  --shot "Z:${bmp//\//\\}" "Z:${package//\//\\}" | grep -E '^\[(shot|window)\]' >&2 || true
[ -s "$bmp" ] || { echo "preview.sh: no screenshot (did the window show?)" >&2; exit 1; }
convert "$bmp" "$out"
rm -f "$bmp"
echo "preview.sh: wrote $out" >&2
