#!/usr/bin/env bash
# Runs every test this host can run: installs what is missing, builds the native-asan,
# native32-asan (32-bit, with the fuzz corpora replayed), win32 and win64 presets with warnings as
# errors, runs ctest on each (the Windows tests under Wine), checks that the demo packages build
# reproducibly (tools/reproducible.sh, one test) and ends with one line that adds the runs up:
# "total: N passed, N failed, N skipped".
#
# On a host that runs no 32-bit code (tools/host.sh; QORIN_HOST_32BIT=no forces it) the 32-bit
# stub and its Windows tests are built but not run, native32-asan is neither built nor run, and a
# line names what was skipped; the x64 stub's tests run in a 64-bit prefix either way.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)
. tools/host.sh

qorin_host_decide
tools/bootstrap.sh
qorin_host_settle

homes=("$root/build/win32/wine" "$root/build/win32/wine64" "$root/build/win64/wine")
trap 'for h in "${homes[@]}"; do tests/wine/wine-session.sh stop "$h" >/dev/null 2>&1 || true; done' EXIT

if [ "$QORIN_HOST_32BIT" = yes ]; then
  build=(native-asan native32-asan win32 win64)
  run=(native-asan native32-asan win32 win64)
else
  build=(native-asan win32 win64)
  run=(native-asan win64)
fi
for preset in "${build[@]}"; do
  cmake --preset "$preset" -DQORIN_WERROR=ON >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

# How many tests ctest lists for a configured preset.
listed() { ctest --preset "$1" -N | sed -n -E 's/^Total Tests: ([0-9]+)$/\1/p'; }

passed=0
failed=0
status=0
for preset in "${run[@]}"; do
  log="build/$preset/ctest.log"
  ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$log" || status=1
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    echo "test.sh: ctest printed no summary for $preset" >&2
    status=1
    continue
  fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
done

# The demo packages built again from a copy of the sources elsewhere must be the same bytes.
if tools/reproducible.sh; then
  passed=$((passed + 1))
else
  echo "test.sh: the demo packages are not reproducible" >&2
  failed=$((failed + 1))
fi

skipped=0
if [ "$QORIN_HOST_32BIT" = no ]; then
  # native32-asan defines the native-asan tests again plus one corpus replay per fuzz target.
  replays=$(ls -d tests/fuzz/corpus/*/ | wc -l)
  skipped=$(($(listed win32) + $(listed native-asan) + replays))
fi
[ "$failed" -eq 0 ] || status=1
echo "total: $passed passed, $failed failed, $skipped skipped"
if [ "$QORIN_HOST_32BIT" = no ]; then
  echo "not run on this host (no 32-bit code: $QORIN_HOST_WHY): native32-asan (its tests and corpus replays), win32 under Wine (the 32-bit stub was built only)"
fi
exit "$status"
