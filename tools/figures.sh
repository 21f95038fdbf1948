#!/usr/bin/env bash
# The figures CI prints after the tests, as a report (nothing here fails the run): the size of
# both stubs, the demo installer's start-up time to its window under Wine, and the silent-install
# benchmark against NSIS and "7zz x" with the peak memory of a silent install
# (tools/bench-install.sh, 3 runs each).
#
#   tools/figures.sh            (after tools/test.sh, whose builds it uses)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
. tools/host.sh
preset=$(qorin_host_preset)

echo "== figures: stub sizes"
for stub in build/win32/qorin-stub.exe build/win64/qorin-stub.exe; do
  [ -f "$stub" ] && echo "  $stub: $(stat -c %s "$stub") bytes ($(($(stat -c %s "$stub") / 1024)) KiB)"
done

echo "== figures: start-up of the demo installer to its window (the $preset stub, under Wine)"
if tools/make-demo-packages.sh "build/$preset" >/dev/null; then
  export QORIN_WINE_HOME="$root/build/$preset/wine" QORIN_WINE_ARCH=$preset
  for run in cold warm warm; do
    shown=$(tests/wine/run-wine.sh "build/$preset/observe.exe" --timeout 60000 --window QORINCLASS \
      --close-after 200 'samples\corvala-demo-setup.exe' | grep '^\[window\]' | tr -d '\r')
    echo "  $run: ${shown:-no window}"
  done
  tests/wine/wine-session.sh stop "$QORIN_WINE_HOME" >/dev/null 2>&1
  unset QORIN_WINE_HOME QORIN_WINE_ARCH
else
  echo "  the demo package could not be made"
fi

echo "== figures: silent install against NSIS and 7zz x"
tools/bench-install.sh 3 2>&1 | grep -v '^bootstrap:' || echo "  the install benchmark failed"
exit 0
