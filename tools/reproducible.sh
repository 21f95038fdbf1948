#!/usr/bin/env bash
# Builds the demo packages twice, before signing, in different folders, time zones and locales,
# and fails unless every file is byte for byte the same: the 32-bit stub, the demo product, the
# uninstall package and the install package. One build is this tree's own (build/win32 and the
# native qorin tool, built here when missing); the other is made from a copy of the sources (the
# working tree's tracked and new files) in another folder.
#
#   tools/reproducible.sh [WORK_DIR]     (default: a temporary folder, removed afterwards)
#
# Both take the pack time from SOURCE_DATE_EPOCH (the last commit's time when unset).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)
work=${1:-$(mktemp -d)}
[ $# -ge 1 ] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work"
work=$(cd "$work" && pwd)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}

# The stub, the product and the qorin tool of the tree at DIR, built when missing.
build_tree() {
  local dir=$1
  (
    cd "$dir"
    if [ ! -x build/native/qorin ] && [ ! -x build/native-asan/qorin ]; then
      cmake --preset native >/dev/null
      cmake --build --preset native -j "$jobs" --target qorin >/dev/null
    fi
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 -j "$jobs" --target qorin-stub corvala-demo >/dev/null
  )
}

# Packs the demo of the tree at DIR into OUT (its own build folder's samples are left alone).
pack_demo() {
  local dir=$1 out=$2
  mkdir -p "$out/samples"
  cp "$dir/build/win32/qorin-stub.exe" "$out/"
  cp "$dir/build/win32/samples/demo.exe" "$out/samples/"
  "$dir/tools/make-demo-packages.sh" "$out" >/dev/null
}

copy="$work/elsewhere/a-folder-with-a-longer-name"
mkdir -p "$copy"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 cp --parents -t "$copy")
locale_b=C.UTF-8
locale -a 2>/dev/null | grep -qi '^ko_KR.utf8$' && locale_b=ko_KR.UTF-8

(export TZ=UTC LC_ALL=C.UTF-8 && build_tree "$root" && pack_demo "$root" "$work/a")
(export TZ=Pacific/Kiritimati LC_ALL=$locale_b && build_tree "$copy" && pack_demo "$copy" "$work/b")

status=0
for file in qorin-stub.exe samples/demo.exe samples/demo-payload/uninstall.exe \
  samples/corvala-demo-setup.exe; do
  a=$(sha256sum <"$work/a/$file" | cut -c1-16)
  b=$(sha256sum <"$work/b/$file" | cut -c1-16)
  if [ "$a" = "$b" ]; then
    echo "reproducible: $file $a"
  else
    echo "reproducible: $file differs ($a, $b)"
    status=1
  fi
done
exit $status
