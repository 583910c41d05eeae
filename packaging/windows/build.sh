#!/usr/bin/env bash
# Builds the Windows packages of one architecture from its cross build into DIST:
#   packaging/windows/build.sh WINDOWS_BUILD_DIR DIST [ARCHITECTURE]
# ARCHITECTURE is x64 (the default; packages named win64) or x86 (win32),
# making DIST/tallowbrook-VERSION-win64.msi (packaging/windows/tallowbrook.wxs)
# and DIST/tallowbrook-VERSION-win64.zip (folder tallowbrook-VERSION holding
# both programs and README.txt), or the same named win32. The programs are copied without symbols or debug
# information; nothing else is needed beside them (the runtime is linked in).
set -euo pipefail
cd "$(dirname "$0")/../.."
here=packaging/windows
build=$1
dist=$(realpath -m "$2")
version=$(packaging/project-version.sh)
architecture=${3:-x64}
case $architecture in
  x64) bits=win64 triplet=x86_64-w64-mingw32 build_name=64-bit runs_on="64-bit Windows 7 SP1 or later" ;;
  x86) bits=win32 triplet=i686-w64-mingw32 build_name=32-bit runs_on="32-bit and 64-bit Windows 7 SP1 or later" ;;
  *) echo "windows packages: [$architecture] is not x64 or x86" >&2; exit 2 ;;
esac
stage=build/package-windows/$architecture/stage

desktop=$build/win32/tallowbrook.exe
cli=$build/cli/tallowbrook-cli.exe
for program in "$desktop" "$cli"; do
  if [ ! -f "$program" ]; then
    echo "windows packages: $program is missing; build the windows preset with the desktop program" \
      "(cmake --build --preset windows) first" >&2
    exit 1
  fi
done

# One time for the programs' headers (strip writes it there) and the archive's
# entries: the last commit's, so that a rebuild gives the same bytes.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && epoch=$(git log -1 --format=%ct 2>/dev/null); then
  export SOURCE_DATE_EPOCH=$epoch
fi

echo "=== windows packages: stage ($architecture)"
rm -rf "$stage"
mkdir -p "$stage" "$dist"
"$triplet-strip" --strip-all -o "$stage/tallowbrook.exe" "$desktop"
"$triplet-strip" --strip-all -o "$stage/tallowbrook-cli.exe" "$cli"
# Windows' own line ends, so that Notepad of any age shows the lines.
sed -e "s/@VERSION@/$version/g" -e "s/@PACKAGE@/$bits/g" -e "s/@BUILD@/$build_name/g" \
  -e "s/@RUNS_ON@/$runs_on/g" -e 's/$/\r/' "$here/README.txt.in" >"$stage/README.txt"

msi=$dist/tallowbrook-$version-$bits.msi
zip=$dist/tallowbrook-$version-$bits.zip
rm -f "$msi" "$zip"
echo "=== windows packages: $msi"
bash "$here/make-msi.sh" "$stage" "$msi" "$version" "$architecture"
echo "=== windows packages: $zip"
python3 "$here/make-zip.py" "$zip" "tallowbrook-$version" \
  "$stage/tallowbrook.exe" "$stage/tallowbrook-cli.exe" "$stage/README.txt"
echo "built $msi and $zip"
