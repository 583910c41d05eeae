#!/usr/bin/env bash
# The Windows cross builds' emulator (CMAKE_CROSSCOMPILING_EMULATOR): runs a
# Windows program under Wine in the project's own prefix, so that ctest lists
# and runs the test programs of build/windows and build/windows-x86 as it
# runs the native ones. The prefix is build/windows/wineprefix (or
# $TALLOWBROOK_WINEPREFIX), set up as scripts/wine-prefix.sh sets it up, with
# the null graphics driver: the dialog tests need no display.
#
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENT...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/wine-prefix.sh
source "$root/scripts/wine-prefix.sh"
unset DISPLAY WAYLAND_DISPLAY
prefix=${TALLOWBROOK_WINEPREFIX:-$root/build/windows/wineprefix}
mkdir -p "$(dirname "$prefix")"
{
  # Tests run side by side: one sets the prefix up, the others wait for it.
  # What starts here must not hold the lock (9>&-): a server would keep it.
  flock 9
  tallowbrook_wine_prefix "$prefix" null >&2 9>&-
  # A server that outlives each program spares the next one Wine's start; it
  # and the processes it starts hold none of the test's output open, which
  # ctest would wait on. It ends ten seconds after the last program.
  if ! wineserver -k0 2>/dev/null; then
    wineserver -p10 </dev/null >/dev/null 2>&1 9>&-
    wine wineboot </dev/null >/dev/null 2>&1 9>&- || true
  fi
} 9>"$prefix.lock"
# Now and then, on a busy machine, Wine cannot start a program at all (it
# prints "ShellExecuteEx failed: Internal error"): nothing ran, so it is tried
# again. What the program prints is passed on when it has ended.
output=$(mktemp)
errors=$(mktemp)
trap 'rm -f "$output" "$errors"' EXIT
for attempt in 1 2 3; do
  status=0
  wine "$@" >"$output" 2>"$errors" || status=$?
  if [ "$status" -eq 0 ] || ! grep -q '^ShellExecuteEx failed: Internal error' "$output"; then
    break
  fi
  echo "wine-run: Wine could not start $1 (attempt $attempt)" >&2
done
cat "$output"
cat "$errors" >&2
exit "$status"
