#!/usr/bin/env bash
# End-to-end run of the desktop program tallowbrook.exe under Wine on a
# virtual X display (Xvfb, through xvfb-run), from a folder that holds only
# the program: its main dialog "Tallowbrook 5.0 Beta" appears, and Esc ends
# the program. Every wait is bounded.
#
#   tests/windows/desktop_e2e.sh WINDOWS_BUILD_DIR
#
# Runs in $WINEPREFIX when it is set (one prefix for both architectures),
# else in WINDOWS_BUILD_DIR/wineprefix.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 WINDOWS_BUILD_DIR" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
work="$build/desktop-e2e"
prefix=${WINEPREFIX:-$build/wineprefix}

# Statically linked: the program runs with nothing beside it.
rm -rf "$work"
mkdir -p "$work/alone"
cp "$build/win32/tallowbrook.exe" "$work/alone/"

# shellcheck source=scripts/wine-prefix.sh
source "$root/scripts/wine-prefix.sh"
tallowbrook_wine_prefix "$prefix" x11
# The tests that follow in another run expect the null driver again.
trap 'tallowbrook_wine_prefix "$prefix" null' EXIT

export wine_cmd work
status=0
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp" bash -c '
  set -euo pipefail
  fail() { echo "FAIL: $*" >&2; exit 1; }
  cd "$work/alone"
  "$wine_cmd" tallowbrook.exe >"$work/program.log" 2>&1 &
  program=$!
  # The dialog is the only window with this name; found within 60 s or not at all.
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Tallowbrook 5\.0 Beta\$" | head -n 1) ||
    { kill "$program" 2>/dev/null; fail "no window \"Tallowbrook 5.0 Beta\" appeared"; }
  echo "the main dialog appeared (window $window)"
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers Escape
  # Ended within 30 s: the program, not only its window.
  for _ in $(seq 1 300); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$program" 2>/dev/null; then
    kill "$program"
    fail "the program was still running 30 s after Esc"
  fi
  code=0
  wait "$program" || code=$?
  [ "$code" -eq 0 ] || fail "the program ended with $code"
  echo "Esc ended the program"
' || status=$?

wineserver -w
if [ "$status" -ne 0 ]; then
  echo "desktop end-to-end: failed; the program said: $(cat "$work/program.log" 2>/dev/null)" >&2
  exit 1
fi
echo "desktop end-to-end: passed"
