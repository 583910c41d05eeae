#!/usr/bin/env bash
# Starts the program under a virtual X server (Xvfb) and saves the screen as a
# PNG, to check the dialog's layout without a desktop.
#   scripts/screenshot-qt.sh [program] [output.png]
# Needs: xvfb (xvfb-run) and imagemagick (import).
set -euo pipefail

program=${1:-build/default/app/tallowbrook}
output=${2:-tallowbrook-screenshot.png}
program=$(realpath "$program")
output=$(realpath -m "$output")

xvfb-run --auto-servernum --server-args="-screen 0 800x480x24" bash -c '
  "$1" &
  pid=$!
  # Wait until the dialog has been mapped, at most ten seconds.
  for _ in $(seq 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q "Tallowbrook 5.0 Beta"; then break; fi
    sleep 0.1
  done
  sleep 0.5 # let it paint
  import -window root "$2"
  kill "$pid"
' screenshot "$program" "$output"
echo "saved $output"
