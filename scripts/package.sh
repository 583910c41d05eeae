#!/usr/bin/env bash
# Builds the packages users install into dist/ and checks each of them:
#   tallowbrook-VERSION-win64.msi  installer (Program Files, Start menu, uninstall entry)
#   tallowbrook-VERSION-win64.zip  both Windows programs, to run in place
#   tallowbrook-VERSION-win32.msi  the same for 32-bit Windows ("Program Files (x86)"
#   tallowbrook-VERSION-win32.zip    on 64-bit Windows), replacing the 64-bit one
#   tallowbrook_VERSION_ARCH.deb   Debian/Ubuntu package
# The Windows programs come from the cross builds (presets "windows" and
# "windows-x86", built here when out of date), the package from
# packaging/linux/build-deb.sh. The checks install each MSI under Wine in a
# throwaway prefix, compare its converted files with this machine's, replace
# it with the other architecture's and back, uninstall it, check upgrades and
# downgrades and run the zip's programs (packaging/windows/check.sh); the .deb's checks are
# build-deb.sh's own (lintian, validators, its command line run). Installs what
# is missing first. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
jobs=$(($(nproc) < 2 ? $(nproc) : 2))

bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 \
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine32:i386 \
  wixl msitools dpkg-dev lintian help2man desktop-file-utils appstream
version=$(packaging/project-version.sh)
dist=dist

# Each Windows architecture: its preset, which builds into build/PRESET.
architectures=(x64:windows x86:windows-x86)
for entry in "${architectures[@]}"; do
  preset=${entry#*:}
  echo "=== packages: the Windows programs (preset $preset)"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  desktop=build/$preset/win32/tallowbrook.exe
  if [ ! -f "$desktop" ]; then
    echo "packages: $desktop is missing: the $preset preset did not build the desktop program" \
      "(target tallowbrook in win32/), which both Windows packages hold" >&2
    exit 1
  fi
done
built=$(date +%s)

for entry in "${architectures[@]}"; do
  echo "=== packages: Windows ${entry%%:*}"
  bash packaging/windows/build.sh "build/${entry#*:}" "$dist" "${entry%%:*}"
done
echo "=== packages: Debian"
bash packaging/linux/build-deb.sh "$dist"
packaged=$(date +%s)
deb=$(ls "$dist"/tallowbrook_"$version"_*.deb)

echo "=== packages: Windows checks under Wine"
# The reference for the converted files is the command line of the .deb just built.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg -x "$deb" "$unpacked"
check_times=()
for entry in "${architectures[@]}"; do
  step=$(date +%s)
  bash packaging/windows/check.sh "$dist" "$unpacked/usr/bin/tallowbrook-cli" "${entry%%:*}"
  check_times+=("${entry%%:*} $(($(date +%s) - step)) s")
done
checked=$(date +%s)

echo "=== packages:"
for artefact in "$dist/tallowbrook-$version"-win{64,32}.{msi,zip} "$deb"; do
  printf '    %-40s %9d bytes\n' "$(basename "$artefact")" "$(stat -c %s "$artefact")"
done
echo "=== packages: Windows build $((built - started)) s, packages and their .deb checks" \
  "$((packaged - built)) s, Windows checks $((checked - packaged)) s ($(printf '%s, ' "${check_times[@]}" | sed 's/, $//')), total $((checked - started)) s"
