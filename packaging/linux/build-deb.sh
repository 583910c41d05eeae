#!/usr/bin/env bash
# Builds the Debian package of both programs into DIST and checks it:
#   packaging/linux/build-deb.sh DIST
# The build uses Debian's hardening flags; Depends comes from dpkg-shlibdeps;
# lintian must report no error and no warning, the desktop entry and the
# AppStream metainfo must validate, and tallowbrook-cli --version must run
# from the package's files unpacked into a temporary root.
set -euo pipefail
cd "$(dirname "$0")/../.."
dist=$(realpath -m "$1")
here=packaging/linux
build=build/package-deb
root=$build/root
jobs=$(nproc)

echo "=== deb: build with the distribution's flags"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# Given on the command line, not through the environment, so that a build
# folder configured before takes them too.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DBUILD_TESTING=OFF -DTALLOWBROOK_BUILD_BENCH=OFF -DTALLOWBROOK_WERROR=ON >/dev/null
cmake --build "$build" -j "$jobs"
version=$(sed -n 's/^#define TALLOWBROOK_VERSION "\(.*\)"$/\1/p' "$build/generated/tallowbrook_version.h")
architecture=$(dpkg --print-architecture)
package="$dist/tallowbrook_${version}_${architecture}.deb"

echo "=== deb: stage"
rm -rf "$root"
DESTDIR=$root cmake --install "$build" >/dev/null
for program in "$root"/usr/bin/*; do
  strip --strip-unneeded --remove-section=.comment --remove-section=.note "$program"
done
doc=$root/usr/share/doc/tallowbrook
man=$root/usr/share/man/man1
mkdir -p "$doc" "$man" "$root/usr/share/bash-completion/completions"
install -m 0644 "$here/copyright" "$doc/copyright"
gzip -9n <"$here/changelog" >"$doc/changelog.gz"
gzip -9n <"$here/tallowbrook.1" >"$man/tallowbrook.1.gz"
help2man --no-info --no-discard-stderr --section=1 --include="$here/tallowbrook-cli.h2m" \
  --name="convert engraver driver settings files between driver versions" \
  --version-string="$version" "$root/usr/bin/tallowbrook-cli" | gzip -9n >"$man/tallowbrook-cli.1.gz"
install -m 0644 "$here/tallowbrook-cli.bash-completion" "$root/usr/share/bash-completion/completions/tallowbrook-cli"
find "$root" -type d -exec chmod 0755 {} +
find "$root/usr/share" -type f -exec chmod 0644 {} +

# dpkg-shlibdeps wants to be run from a source package's top folder.
shlibs=$build/shlibs
rm -rf "$shlibs"
mkdir -p "$shlibs/debian"
printf 'Source: tallowbrook\n\nPackage: tallowbrook\nArchitecture: any\n' >"$shlibs/debian/control"
depends=$(cd "$shlibs" && dpkg-shlibdeps -O "$(realpath "../root/usr/bin/tallowbrook")" \
  "$(realpath "../root/usr/bin/tallowbrook-cli")" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "deb: dpkg-shlibdeps found no dependencies" >&2; exit 1; }

mkdir -p "$root/DEBIAN"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/md5sums"
installed_size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCHITECTURE@/$architecture/" -e "s/@INSTALLED_SIZE@/$installed_size/" \
  -e "s/@DEPENDS@/$depends/" "$here/control.in" >"$root/DEBIAN/control"

mkdir -p "$dist"
rm -f "$package"
dpkg-deb --root-owner-group -Zxz --build "$root" "$package" >/dev/null
echo "built $package"

echo "=== deb: checks"
status=0
lintian --fail-on error,warning --tag-display-limit 0 "$package" || { echo "FAIL: lintian" >&2; status=1; }
desktop-file-validate "$root/usr/share/applications/org.tallowbrook.Tallowbrook.desktop" ||
  { echo "FAIL: desktop-file-validate" >&2; status=1; }
appstreamcli validate --no-net "$root/usr/share/metainfo/org.tallowbrook.Tallowbrook.metainfo.xml" ||
  { echo "FAIL: appstreamcli validate" >&2; status=1; }

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg -x "$package" "$unpacked"
for file in usr/bin/tallowbrook usr/bin/tallowbrook-cli usr/share/applications/org.tallowbrook.Tallowbrook.desktop \
  usr/share/metainfo/org.tallowbrook.Tallowbrook.metainfo.xml usr/share/icons/hicolor/48x48/apps/tallowbrook.png \
  usr/share/man/man1/tallowbrook.1.gz usr/share/man/man1/tallowbrook-cli.1.gz \
  usr/share/bash-completion/completions/tallowbrook-cli; do
  [ -e "$unpacked/$file" ] || { echo "FAIL: the package lacks /$file" >&2; status=1; }
done
reported=$("$unpacked/usr/bin/tallowbrook-cli" --version)
[ "$reported" = "tallowbrook-cli $version" ] ||
  { echo "FAIL: the packaged tallowbrook-cli --version says [$reported]" >&2; status=1; }
sample=$unpacked/sample.dat
head -c 1472 /dev/zero >"$sample"
"$unpacked/usr/bin/tallowbrook-cli" merge --to 8.02 "$sample" >/dev/null
[ "$(stat -c %s "$unpacked/sample_802.dat")" = 2892 ] ||
  { echo "FAIL: the packaged tallowbrook-cli did not convert a file" >&2; status=1; }
[ "$status" -eq 0 ] && echo "deb: all checks passed"
exit "$status"
