#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the native-asan, native32-asan (32-bit, with
# the fuzz corpora replayed) and win32 presets with warnings as errors, runs ctest on each (the
# Windows tests under Wine) and ends with one line that adds the runs up.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)

tools/bootstrap.sh

wine_home="$root/build/win32/wine"
trap 'tests/wine/wine-session.sh stop "$wine_home" >/dev/null 2>&1 || true' EXIT

for preset in native-asan native32-asan win32; do
  cmake --preset "$preset" -DQORIN_WERROR=ON >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

passed=0
failed=0
status=0
for preset in native-asan native32-asan win32; do
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
[ "$failed" -eq 0 ] || status=1
echo "total: $passed passed, $failed failed"
exit "$status"
