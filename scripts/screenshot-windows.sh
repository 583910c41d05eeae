#!/usr/bin/env bash
# Saves a screenshot of one of the Windows desktop program's boxes, as Wine
# draws it on a virtual X display with its own window frame (a Wine virtual
# desktop, since there is no window manager to draw captions).
#
#   scripts/screenshot-windows.sh OUT.png [main | about | details [N]]
#
# main: the main dialog (the default); about: the About box; details: the
# summary of a run over N files (default 1000) with its details shown, on a
# 1024 x 720 desktop. Builds what is missing (preset "windows").
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 3 ]; then
  echo "usage: $0 OUT.png [main | about | details [N]]" >&2
  exit 2
fi
out=$(realpath -m "$1")
what=${2:-main}
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine \
  xdotool imagemagick
# What to run, the window to wait for, the keys that bring the box into view.
keys=""
desktop_size=600x320
case "$what" in
  main)
    target=tallowbrook program="$root/build/windows/win32/tallowbrook.exe" arguments=""
    window_name="^Tallowbrook 5\.0 Beta\$" ;;
  about)
    target=tallowbrook_show_box program="$root/build/windows/tests/windows/tallowbrook_show_box.exe"
    arguments="about" window_name="^About Tallowbrook\$" ;;
  details)
    target=tallowbrook_show_box program="$root/build/windows/tests/windows/tallowbrook_show_box.exe"
    arguments="details ${3:-1000}" window_name="^Tallowbrook\$" keys="Tab space" desktop_size=1024x720 ;;
  *)
    echo "unknown box: $what" >&2
    exit 2 ;;
esac
if [ ! -f "$program" ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j 2 --target "$target"
fi

# shellcheck source=scripts/wine-prefix.sh
source scripts/wine-prefix.sh
tallowbrook_wine_prefix "$root/build/windows/wineprefix" x11
trap 'tallowbrook_wine_prefix "$root/build/windows/wineprefix" null' EXIT

export wine_cmd program arguments out window_name keys desktop_size
xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24 -nolisten tcp" bash -c '
  set -euo pipefail
  work=$(mktemp -d)
  trap "rm -rf \"$work\"" EXIT
  # shellcheck disable=SC2086 # the arguments are words
  "$wine_cmd" explorer /desktop=tallowbrook,$desktop_size "$program" $arguments >/dev/null 2>&1 &
  desktop=$(timeout 60 xdotool search --sync --name "^tallowbrook - Wine desktop\$" | head -n 1)
  window=$(timeout 60 xdotool search --sync --name "$window_name" | head -n 1)
  if [ -n "$keys" ]; then
    # shellcheck disable=SC2086
    xdotool windowfocus --sync "$window" key --clearmodifiers $keys
  fi
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
  xdotool windowfocus --sync "$window" key --clearmodifiers Escape || true
  timeout 30 wineserver -w || wineserver -k
'
echo "saved $out"
