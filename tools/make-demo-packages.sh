#!/usr/bin/env bash
# Builds the Corvala Demo packages from a built tree: the uninstall package goes into the install
# package's payload beside the product; the install package's data gets its skin images drawn by
# tools/make_sample_images.py.
#
#   tools/make-demo-packages.sh [BUILD_DIR]   (default build/win32; needs build/native/qorin)
#
# Writes BUILD_DIR/samples/corvala-demo-setup.exe.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${1:-build/win32}
qorin=build/native/qorin
payload=$build/samples/demo-payload
data=$build/samples/demo-install-data
rm -rf "$payload" "$data"
cp -r samples/demo/install/payload "$payload"
cp "$build/samples/demo.exe" "$payload/"
cp -r samples/demo/install/data "$data"
python3 tools/make_sample_images.py "$data/images"
"$qorin" pack --stub "$build/qorin-stub.exe" --data samples/demo/uninstall/data \
  --config setup.ini -o "$payload/uninstall.exe"
"$qorin" pack --stub "$build/qorin-stub.exe" --data "$data" \
  --config setup.ini --payload "$payload" -o "$build/samples/corvala-demo-setup.exe"
"$qorin" verify "$build/samples/corvala-demo-setup.exe" >/dev/null
