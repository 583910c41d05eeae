#!/usr/bin/env bash
# Installs what is missing, builds and runs every test suite: the normal build
# with warnings as errors, then the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
jobs=$(nproc)

for preset in ci sanitize; do
  echo "=== ${preset}: configure, build, test"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
