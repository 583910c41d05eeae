#!/usr/bin/env bash
# Saves a screenshot of the Windows desktop program's main dialog, as Wine
# draws it on a virtual X display with its own window frame (a Wine virtual
# desktop, since there is no window manager to draw captions).
#
#   scripts/screenshot-windows.sh OUT.png
#
# Builds tallowbrook.exe (preset "windows") when it is missing.
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 OUT.png" >&2
  exit 2
fi
out=$(realpath -m "$1")
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine \
  xdotool imagemagick
program="$root/build/windows/win32/tallowbrook.exe"
if [ ! -f "$program" ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j 2 --target tallowbrook
fi

# shellcheck source=scripts/wine-prefix.sh
source scripts/wine-prefix.sh
tallowbrook_wine_prefix "$root/build/windows/wineprefix" x11
trap 'tallowbrook_wine_prefix "$root/build/windows/wineprefix" null' EXIT

export wine_cmd program out
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24 -nolisten tcp" bash -c '
  set -euo pipefail
  work=$(mktemp -d)
  trap "rm -rf \"$work\"" EXIT
  "$wine_cmd" explorer /desktop=tallowbrook,600x320 "$program" >/dev/null 2>&1 &
  desktop=$(timeout 60 xdotool search --sync --name "^tallowbrook - Wine desktop\$" | head -n 1)
  timeout 60 xdotool search --sync --name "^Tallowbrook 5\.0 Beta\$" >/dev/null
  # Taken once two pictures in a row agree: the dialog has painted itself.
  previous=""
  for i in $(seq 1 100); do
    import -window "$desktop" "$work/$i.png"
    if [ -n "$previous" ] && compare -metric AE "$previous" "$work/$i.png" null: 2>/dev/null; then
      cp "$work/$i.png" "$out"
      break
    fi
    previous="$work/$i.png"
  done
  [ -f "$out" ] || { echo "the dialog never settled" >&2; exit 1; }
  # Esc ends the program; the virtual desktop goes with the prefix'"'"'s server.
  window=$(xdotool search --name "^Tallowbrook 5\.0 Beta\$" | head -n 1)
  xdotool windowfocus --sync "$window" key --clearmodifiers Escape || true
  timeout 30 wineserver -w || wineserver -k
'
echo "saved $out"
