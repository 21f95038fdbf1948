#!/usr/bin/env bash
# Every speed figure in one run, each measured against its reference in the same run: CRC-32 and
# Inflate against zlib, PNG against libpng, XML against pugixml, scripts against Lua 5.4; the
# size of both stubs; and the stub's time from its start to its window for a package of 1 GiB of
# random payload under Wine (page cache warm: the second of two runs).
#
#   tools/bench.sh [--no-startup]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
tools/bootstrap.sh >/dev/null
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target package_bench graphics_bench script_bench >/dev/null
echo "== CRC-32 and Inflate against zlib"
build/bench/package_bench 4
echo "== PNG against libpng, XML against pugixml"
build/bench/graphics_bench
echo "== scripts against Lua 5.4"
build/bench/script_bench
[ "${1:-}" = --no-startup ] && exit 0

echo "== stub sizes (the goal: 524,288 bytes for the x86 stub)"
for preset in win32 win64; do
  cmake --preset $preset >/dev/null && cmake --build --preset $preset -j2 --target qorin-stub observe >/dev/null
  echo "  build/$preset/qorin-stub.exe: $(stat -c %s build/$preset/qorin-stub.exe) bytes"
done

# The x86 stub, or the x64 one where no 32-bit code runs.
. tools/host.sh
preset=$(qorin_host_preset)
echo "== start-up to the window, 1 GiB package, under Wine (the $preset stub)"
cmake --preset native >/dev/null && cmake --build --preset native -j2 --target qorin >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/data/lang"
printf '\xff\xfe' >"$work/data/setup.ini"
printf '[config]\r\nname_eng = Bench\r\ntitle = Bench\r\nlang_folder = lang\r\nskin_file_name = skin.xml\r\n' |
  iconv -f utf-8 -t utf-16le >>"$work/data/setup.ini"
printf '\xff\xfe' >"$work/data/lang/English.ini"
printf '[INSTALLER]\r\nLANG_NAME = English\r\n' | iconv -f utf-8 -t utf-16le >>"$work/data/lang/English.ini"
echo '<XSkin><Head><WindowSize Width="400" Height="300"/></Head><Body><Static Align="client" Color="#FFFFFF"/></Body></XSkin>' >"$work/data/skin.xml"
head -c 1G /dev/urandom >"$work/big.bin"
(cd "$work" && 7zz a -mx0 -bd big.7z big.bin >/dev/null)
rm "$work/big.bin"
build/native/qorin pack --stub build/$preset/qorin-stub.exe --data "$work/data" --config setup.ini \
  --payload "$work/big.7z" -o "$work/big-setup.exe" >/dev/null
rm "$work/big.7z"
export QORIN_WINE_HOME="$root/build/$preset/wine" QORIN_WINE_ARCH=$preset
for run in cold warm; do
  shown=$(tests/wine/run-wine.sh build/$preset/observe.exe --timeout 60000 --window QORINCLASS \
    --close-after 200 "Z:${work//\//\\}\\big-setup.exe" | grep '^\[window\]' || true)
  echo "  $run: ${shown:-no window}"
done
