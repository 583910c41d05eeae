#!/usr/bin/env bash
# Builds the Windows installer from packaging/windows/tallowbrook.wxs:
#   packaging/windows/make-msi.sh STAGE OUTPUT.msi VERSION [ARCHITECTURE]
# STAGE holds tallowbrook.exe, tallowbrook-cli.exe and README.txt; VERSION is
# the four-field version (a.b.c.d). The installer's ProductVersion is
# a.b.(c*1000+d), since Windows Installer compares only three fields (the .wxs
# says why); the checks build installers of other versions with this too.
# ARCHITECTURE is x64 (the default) or x86, the programs' in STAGE.
set -euo pipefail
if [ $# -lt 3 ] || [ $# -gt 4 ]; then
  echo "usage: $0 STAGE OUTPUT.msi VERSION [x64|x86]" >&2
  exit 2
fi
wxs=$(realpath "$(dirname "$0")/tallowbrook.wxs")
stage=$1
output=$(realpath -m "$2")
version=$3
architecture=${4:-x64}
if [ "$architecture" != x64 ] && [ "$architecture" != x86 ]; then
  echo "make-msi: [$architecture] is not x64 or x86" >&2
  exit 2
fi

IFS=. read -r major minor patch tweak extra <<<"$version"
if [ -n "$extra" ] || ! [[ "$major.$minor.$patch.$tweak" =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
  echo "make-msi: [$version] is not a four-field version" >&2
  exit 2
fi
# Base 10, whatever leading zeros say.
major=$((10#$major)) minor=$((10#$minor)) patch=$((10#$patch)) tweak=$((10#$tweak))
# Windows Installer's limits: 255 for the first two fields, 65535 for the third
# (kept one below it here, so that the next version exists).
if [ "$major" -gt 255 ] || [ "$minor" -gt 255 ] || [ "$tweak" -gt 999 ] ||
  [ $((patch * 1000 + tweak)) -ge 65535 ]; then
  echo "make-msi: $version does not fit Windows Installer's version (a.b.c*1000+d)" >&2
  exit 2
fi
build=$((patch * 1000 + tweak))

size_kib=0
for file in tallowbrook.exe tallowbrook-cli.exe README.txt; do
  [ -f "$stage/$file" ] || { echo "make-msi: $stage/$file is missing" >&2; exit 1; }
  size_kib=$((size_kib + ($(stat -c %s "$stage/$file") + 1023) / 1024))
done

# wixl takes the files' Source paths relative to the folder it runs in.
(cd "$stage" && wixl --arch "$architecture" --output "$output" \
  --define Architecture="$architecture" \
  --define Version="$major.$minor.$patch.$tweak" \
  --define ProductVersion="$major.$minor.$build" \
  --define NextProductVersion="$major.$minor.$((build + 1))" \
  --define EstimatedSize="$size_kib" "$wxs")
