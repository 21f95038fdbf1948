#!/usr/bin/env bash
# Builds the demo packages twice, before signing, from two copies of the sources in different
# folders, with different time zones and locales, and fails unless every file is byte for byte
# the same: the 32-bit stub, the demo product, the uninstall package and the install package.
#
#   tools/reproducible.sh [WORK_DIR]     (default: a temporary folder, removed afterwards)
#
# Both builds take the pack time from SOURCE_DATE_EPOCH (the last commit's time when unset).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)
work=${1:-$(mktemp -d)}
[ $# -ge 1 ] || trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}

# The tracked files as they stand in the working tree.
copy_sources() {
  mkdir -p "$1"
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
    xargs -0 cp --parents -t "$1" 2>/dev/null) || true
}

# One build: the sources at DIR, in time zone TZ and locale LC.
build_once() {
  local dir=$1 tz=$2 lc=$3
  copy_sources "$dir"
  (
    cd "$dir"
    export TZ=$tz LC_ALL=$lc
    cmake --preset native >/dev/null && cmake --build --preset native -j "$jobs" --target qorin >/dev/null
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 -j "$jobs" --target qorin-stub corvala-demo >/dev/null
    tools/make-demo-packages.sh build/win32 >/dev/null
  )
}

locale_b=C.UTF-8
locale -a 2>/dev/null | grep -qi '^ko_KR.utf8$' && locale_b=ko_KR.UTF-8
build_once "$work/a" UTC C.UTF-8
build_once "$work/elsewhere/b-with-a-longer-name" Pacific/Kiritimati "$locale_b"

status=0
for file in qorin-stub.exe samples/demo.exe samples/demo-payload/uninstall.exe \
  samples/corvala-demo-setup.exe; do
  a=$(sha256sum <"$work/a/build/win32/$file" | cut -c1-16)
  b=$(sha256sum <"$work/elsewhere/b-with-a-longer-name/build/win32/$file" | cut -c1-16)
  if [ "$a" = "$b" ]; then
    echo "reproducible: $file $a"
  else
    echo "reproducible: $file differs ($a, $b)"
    status=1
  fi
done
exit $status
