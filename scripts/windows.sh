#!/usr/bin/env bash
# Cross-builds the core, both programs and their tests for Windows with
# MinGW-w64, for each architecture (x64: preset "windows" in build/windows;
# x86: preset "windows-x86" in build/windows-x86), then for each one runs the
# test programs under Wine through ctest (presets "windows" and "windows-x86",
# whose emulator is scripts/wine-run.sh; the desktop program's dialogs and the
# fault sweep among them) and the end-to-end runs in tests/windows/: tallowbrook-cli.exe
# against this machine's build, and tallowbrook.exe on a virtual X display.
# Building also checks both programs' imports against Windows 7 SP1. One Wine
# prefix (64-bit, with 32-bit support) runs both architectures.
# Installs what is missing first. Exits non-zero on any failure.
#
#   TALLOWBROOK_WINDOWS_ARCHITECTURES="x64 x86" (the default) chooses which.
#
# The end-to-end run compares with the command line built for this machine:
# $TALLOWBROOK_REFERENCE_CLI if set, else build/ci's when it is newer than the
# sources, else one built here in build/windows/host (preset windows-reference).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
started=$(date +%s)
jobs=$(($(nproc) < 2 ? $(nproc) : 2))
read -r -a architectures <<<"${TALLOWBROOK_WINDOWS_ARCHITECTURES:-x64 x86}"

# preset_of ARCHITECTURE, build_of ARCHITECTURE
preset_of() {
  case $1 in
    x64) echo windows ;;
    x86) echo windows-x86 ;;
    *) echo "windows: unknown architecture $1 (x64, x86)" >&2; return 1 ;;
  esac
}
build_of() { echo "build/$(preset_of "$1")"; }

packages=(wine wine64 fonts-wine xdotool)
for architecture in "${architectures[@]}"; do
  case $architecture in
    x64) packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64) ;;
    x86) packages+=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine32:i386) ;;
  esac
done
bash scripts/install-deps.sh "${packages[@]}"

timings=()
for architecture in "${architectures[@]}"; do
  preset=$(preset_of "$architecture")
  echo "=== windows $architecture: configure, build (preset $preset)"
  step=$(date +%s)
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  timings+=("$architecture build $(($(date +%s) - step)) s")
done

# The project's own prefix, with the null graphics driver: the dialog tests
# create real windows but need no display. A prefix made before Wine could
# run 32-bit programs lacks their system files: make it anew.
prefix=$root/build/windows/wineprefix
if [ -f "$prefix/system.reg" ] && [ ! -e "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
  echo "=== wine: the prefix cannot run 32-bit programs; making it anew"
  rm -rf "$prefix"
fi
# shellcheck source=scripts/wine-prefix.sh
source scripts/wine-prefix.sh
unset DISPLAY WAYLAND_DISPLAY
home_before=$(tallowbrook_home_outside_prefix)
tallowbrook_wine_prefix "$prefix" null

reference=${TALLOWBROOK_REFERENCE_CLI:-}
if [ -z "$reference" ]; then
  reference=build/ci/cli/tallowbrook-cli
  if [ ! -x "$reference" ] ||
    [ -n "$(find records convert cli -newer "$reference" -type f -print -quit)" ]; then
    echo "=== windows: building the reference command line for this machine (preset windows-reference)"
    cmake --preset windows-reference >/dev/null
    cmake --build --preset windows-reference -j "$jobs"
    reference=build/windows/host/cli/tallowbrook-cli
  fi
fi

status=0
for architecture in "${architectures[@]}"; do
  build=$(build_of "$architecture")
  step=$(date +%s)
  preset=$(preset_of "$architecture")
  echo "=== windows $architecture: test programs under Wine (ctest --preset $preset)"
  # --no-tests=error: a build that made no test programs fails too.
  if ! ctest --preset "$preset" -j "$jobs" --no-tests=error; then
    echo "FAILED: $architecture: the test programs" >&2
    status=1
  fi
  # The emulator's server outlives the tests: end it before the end-to-end
  # runs choose their graphics driver.
  wineserver -k 2>/dev/null || true
  tested=$(date +%s)

  echo "=== windows $architecture: end-to-end run under Wine"
  if ! bash tests/windows/e2e.sh "$build" "$reference"; then
    echo "FAILED: $architecture: end-to-end run" >&2
    status=1
  fi
  echo "=== windows $architecture: the desktop program on a virtual display"
  if ! bash tests/windows/desktop_e2e.sh "$build"; then
    echo "FAILED: $architecture: desktop end-to-end run" >&2
    status=1
  fi
  timings+=("$architecture tests $((tested - step)) s, end-to-end $(($(date +%s) - tested)) s")
done

if ! tallowbrook_home_unchanged "$home_before"; then
  status=1
fi

echo "=== windows: $(printf '%s; ' "${timings[@]}")total $(($(date +%s) - started)) s"
exit "$status"
