#!/usr/bin/env bash
# What the demo's users will see, page by page: pictures of every page of the Corvala Demo
# installer (welcome, folder, licence, progress, finish) at 96 and 144 DPI, in English and in
# the right-to-left Hebrew, taken with tools/preview.sh by pressing the installer's own buttons,
# and one index.html that shows them side by side.
#
#   tools/gallery.sh [PACKAGE.exe] [-o DIR]     (default: the demo package of the build that
#                                                preview.sh uses; DIR build/gallery)
#
# The progress and finish pages are reached by installing into the preview prefix.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/tools/host.sh"
qorin_host_known
qorin_host_settle >&2
build=$root/build/win32
[ "$QORIN_HOST_32BIT" = yes ] || build=$root/build/win64
package=$build/samples/corvala-demo-setup.exe
out=$root/build/gallery
while [ $# -gt 0 ]; do
  case $1 in
    -o) out=${2:?}; shift 2 ;;
    -*) echo "usage: gallery.sh [PACKAGE.exe] [-o DIR]" >&2; exit 2 ;;
    *) package=$1; shift ;;
  esac
done
[ -f "$package" ] || { echo "gallery.sh: no package $package (tools/make-demo-packages.sh)" >&2; exit 1; }
mkdir -p "$out"

pages=(welcome folder licence progress finish)
variants=("English 96" "English 144" "Hebrew 96" "Hebrew 144")

# The clicks that lead to a page: Next, Next, Install and Next all sit in the bottom bar's last
# button (at 456,336 of the 96-DPI client area, mirrored in Hebrew), which moves with the DPI.
clicks_for() {
  local page=$1 lang=$2 dpi=$3 x=456 y=336
  [ "$lang" = Hebrew ] && x=64
  local at="$((x * dpi / 96)),$((y * dpi / 96))"
  case $page in
    welcome) ;;
    folder) echo "--click $at" ;;
    licence) echo "--click $at --click $at" ;;
    progress) echo "--click $at --click $at --pause 500 --click $at --settle 2500" ;;
    finish) echo "--click $at --click $at --pause 500 --click $at --pause 4000 --click $at" ;;
  esac
}

for variant in "${variants[@]}"; do
  read -r lang dpi <<<"$variant"
  for page in "${pages[@]}"; do
    # shellcheck disable=SC2046  # the clicks are words
    "$root/tools/preview.sh" "$package" --dpi "$dpi" --lang "$lang" \
      $(clicks_for "$page" "$lang" "$dpi") -o "$out/$page-$lang-$dpi.png" 2>/dev/null ||
      echo "gallery.sh: no picture of the $page page ($lang, $dpi DPI)" >&2
  done
done

{
  echo '<!DOCTYPE html>'
  echo '<html><head><meta charset="utf-8"><title>Corvala Demo: every page</title>'
  echo '<style>body{font-family:sans-serif}td{vertical-align:top;padding:6px}'
  echo 'img{border:1px solid #ccc;max-width:520px}</style></head><body>'
  echo "<h1>Corvala Demo: every page</h1><p>$(basename "$package"), $(date -u +%Y-%m-%d)</p>"
  echo '<table><tr><th></th>'
  for variant in "${variants[@]}"; do echo "<th>${variant% *}, ${variant#* } DPI</th>"; done
  echo '</tr>'
  for page in "${pages[@]}"; do
    echo "<tr><th>$page</th>"
    for variant in "${variants[@]}"; do
      read -r lang dpi <<<"$variant"
      echo "<td><img src=\"$page-$lang-$dpi.png\" alt=\"$page, $lang, $dpi DPI\"></td>"
    done
    echo '</tr>'
  done
  echo '</table></body></html>'
} >"$out/index.html"
echo "gallery.sh: wrote $out/index.html ($(ls "$out"/*.png | wc -l) pictures)" >&2
