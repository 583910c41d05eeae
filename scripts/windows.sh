#!/usr/bin/env bash
# Cross-builds the core, both programs and their tests for 64-bit Windows
# with MinGW-w64 (preset "windows", in build/windows), runs the test programs
# under Wine (the desktop program's dialogs among them), then the end-to-end
# runs in tests/windows/: tallowbrook-cli.exe against this machine's build,
# and tallowbrook.exe on a virtual X display.
# Installs what is missing first. Exits non-zero on any failure.
#
# The end-to-end run compares with the command line built for this machine:
# $TALLOWBROOK_REFERENCE_CLI if set, else build/ci's when it is newer than the
# sources, else one built here in build/windows/host.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
started=$(date +%s)
jobs=$(($(nproc) < 2 ? $(nproc) : 2))

bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine \
  xdotool

echo "=== windows: configure, build"
cmake --preset windows
cmake --build --preset windows -j "$jobs"
built=$(date +%s)

# The project's own prefix, with the null graphics driver: the dialog tests
# create real windows but need no display.
# shellcheck source=scripts/wine-prefix.sh
source scripts/wine-prefix.sh
unset DISPLAY WAYLAND_DISPLAY
home_before=$(tallowbrook_home_outside_prefix)
tallowbrook_wine_prefix "$root/build/windows/wineprefix" null

status=0
echo "=== windows: test programs under Wine"
mapfile -t suites < <(find build/windows/tests -name '*_tests.exe' | sort)
if [ ${#suites[@]} -eq 0 ]; then
  echo "no test programs were built" >&2
  status=1
fi
for suite in "${suites[@]}"; do
  echo "--- $suite"
  if ! "$wine_cmd" "$suite" --gtest_brief=1; then
    echo "FAILED: $suite" >&2
    status=1
  fi
done
tested=$(date +%s)

reference=${TALLOWBROOK_REFERENCE_CLI:-}
if [ -z "$reference" ]; then
  reference=build/ci/cli/tallowbrook-cli
  if [ ! -x "$reference" ] ||
    [ -n "$(find records convert cli -newer "$reference" -type f -print -quit)" ]; then
    echo "=== windows: building the reference command line for this machine"
    cmake -S . -B build/windows/host -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
      -DTALLOWBROOK_BUILD_APP=OFF -DTALLOWBROOK_BUILD_BENCH=OFF >/dev/null
    cmake --build build/windows/host -j "$jobs" --target tallowbrook-cli
    reference=build/windows/host/cli/tallowbrook-cli
  fi
fi

echo "=== windows: end-to-end run under Wine"
if ! bash tests/windows/e2e.sh build/windows "$reference"; then
  status=1
fi
echo "=== windows: the desktop program on a virtual display"
if ! bash tests/windows/desktop_e2e.sh build/windows; then
  status=1
fi

if ! tallowbrook_home_unchanged "$home_before"; then
  status=1
fi

finished=$(date +%s)
echo "=== windows: build $((built - started)) s, tests $((tested - built)) s," \
  "end-to-end $((finished - tested)) s, total $((finished - started)) s"
exit "$status"
