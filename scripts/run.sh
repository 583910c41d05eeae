#!/usr/bin/env bash
# Installs what is missing, builds, writes a made-up settings file of each
# version into build/samples, and starts the desktop program. Without a display
# (or with --cli) it converts the samples to 8.02 with the command line instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)"

samples=build/samples
rm -rf "$samples"
python3 scripts/make-samples.py "$samples" >/dev/null

if [ "${1:-}" != "--cli" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting the desktop program; sample files to add with \"Get File\" are in $samples/"
  cd "$samples" && exec ../default/app/tallowbrook
fi

echo "No display (or --cli): converting the sample files with the command line"
build/default/cli/tallowbrook-cli merge --verbose --to 8.02 "$samples"/*.dat
build/default/cli/tallowbrook-cli identify "$samples"/*.dat
