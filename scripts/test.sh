#!/usr/bin/env bash
# Installs what is missing, builds and runs every check:
#  1. the whole test suite in a release build with warnings as errors;
#  2. the same suite under AddressSanitizer and UndefinedBehaviorSanitizer;
#  3. each libFuzzer target for a bounded time with a fixed seed;
#  4. clang-tidy and cppcheck;
#  5. the Windows cross builds (64-bit and 32-bit), their tests and
#     end-to-end runs under Wine;
#  6. the packages users install (MSI and zip for each Windows architecture,
#     .deb), built and checked.
# Set TALLOWBROOK_QUICK=1 to run only steps 1 and 2.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
jobs=$(nproc)
started=$(date +%s)

for preset in ci sanitize; do
  echo "=== ${preset}: configure, build, test"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

if [ "${TALLOWBROOK_QUICK:-0}" != "1" ]; then
  echo "=== fuzz"
  bash scripts/fuzz.sh
  echo "=== static analysis"
  bash scripts/analyse.sh
  echo "=== windows"
  bash scripts/windows.sh
  echo "=== packages"
  bash scripts/package.sh
fi

echo "=== all checks passed in $(($(date +%s) - started)) s"
