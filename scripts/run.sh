#!/usr/bin/env bash
# Installs what building and running the programs needs (and nothing the tests
# need), builds the two programs alone into build/programs, writes a made-up
# settings file of each version into build/samples, and starts the desktop
# program. Without a display (or with --cli) it converts the samples to 8.02
# with the command line instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --programs
build=build/programs
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DTALLOWBROOK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target tallowbrook tallowbrook-cli

samples=build/samples
rm -rf "$samples"
python3 scripts/make-samples.py "$samples" >/dev/null

if [ "${1:-}" != "--cli" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting the desktop program; sample files to add with \"Get File\" are in $samples/"
  echo "(start it again with: $build/app/tallowbrook)"
  cd "$samples" && exec "../programs/app/tallowbrook"
fi

echo "No display (or --cli): converting the sample files with the command line"
"$build/cli/tallowbrook-cli" merge --verbose --to 8.02 "$samples"/*.dat
"$build/cli/tallowbrook-cli" identify "$samples"/*.dat
