#!/usr/bin/env bash
# Builds every preset and runs every test tier: native, native under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the 32-bit Windows build under Wine. Installs what is missing first.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh || exit 1

presets=(linux sanitize windows)
jobs=$(nproc 2>/dev/null || echo 2)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

for preset in "${presets[@]}"; do
  echo "== build: $preset"
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -- -j"$jobs"; } >"$logs/build-$preset" 2>&1; then
    cat "$logs/build-$preset"
    echo "build of $preset failed"
    exit 1
  fi
done

passed=0
failed=0
skipped=0
for preset in "${presets[@]}"; do
  echo "== test: $preset"
  log="$logs/test-$preset"
  ctest --preset "$preset" -j"$jobs" 2>&1 | tee "$log"
  summary=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log" | tail -1)
  if [ -z "$summary" ]; then
    echo "ctest for $preset gave no summary"
    failed=$((failed + 1))
    continue
  fi
  f=${summary% *}
  n=${summary#* }
  s=$(grep -c '\*\*\*Skipped' "$log")
  failed=$((failed + f))
  skipped=$((skipped + s))
  passed=$((passed + n - f - s))
done

echo
echo "test programs: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
