#!/usr/bin/env bash
# Builds the Windows packages from the cross build into DIST:
#   packaging/windows/build.sh WINDOWS_BUILD_DIR DIST
# making DIST/tallowbrook-VERSION-win64.msi (packaging/windows/tallowbrook.wxs)
# and DIST/tallowbrook-VERSION-win64.zip (folder tallowbrook-VERSION holding
# both programs and README.txt). The programs are copied without symbols or debug
# information; nothing else is needed beside them (the runtime is linked in).
set -euo pipefail
cd "$(dirname "$0")/../.."
here=packaging/windows
build=$1
dist=$(realpath -m "$2")
version=$(packaging/project-version.sh)
stage=build/package-windows/stage

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

echo "=== windows packages: stage"
rm -rf "$stage"
mkdir -p "$stage" "$dist"
x86_64-w64-mingw32-strip --strip-all -o "$stage/tallowbrook.exe" "$desktop"
x86_64-w64-mingw32-strip --strip-all -o "$stage/tallowbrook-cli.exe" "$cli"
# Windows' own line ends, so that Notepad of any age shows the lines.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$here/README.txt.in" >"$stage/README.txt"

msi=$dist/tallowbrook-$version-win64.msi
zip=$dist/tallowbrook-$version-win64.zip
rm -f "$msi" "$zip"
echo "=== windows packages: $msi"
bash "$here/make-msi.sh" "$stage" "$msi" "$version"
echo "=== windows packages: $zip"
python3 "$here/make-zip.py" "$zip" "tallowbrook-$version" \
  "$stage/tallowbrook.exe" "$stage/tallowbrook-cli.exe" "$stage/README.txt"
echo "built $msi and $zip"
