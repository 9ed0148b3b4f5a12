#!/bin/sh
# Builds the Debian package of a built program:
#
#   make_deb.sh BINARY OUTPUT_DIRECTORY
#
# writes OUTPUT_DIRECTORY/corvane_<version>_<architecture>.deb and prints its path. The tree
# is the one `make install PREFIX=/usr` makes (stripped program, compressed manual page);
# the version is what the program says with --version, the dependencies are computed from
# the libraries the program links (dpkg-shlibdeps). Files belong to root in the package.
set -eu

binary=${1:-}
output=${2:-}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
: "${MAINTAINER:=Corvane maintainers <corvane@localhost>}"

fail() {
  echo "corvane deb: $*" >&2
  exit 2
}

[ -x "$binary" ] || fail "no program at '$binary': build it first"
[ -d "$output" ] || fail "no output directory '$output'"
for tool in dpkg-deb dpkg-shlibdeps strip gzip; do
  command -v "$tool" >/dev/null || fail "$tool is missing (make deps installs it)"
done

version=$("$binary" --version | awk 'NR == 1 { print $NF }')
case $version in
  [0-9]*) ;;
  *) fail "cannot read the version from '$binary --version'" ;;
esac
architecture=$(dpkg --print-architecture)

work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
stage=$work/root
sh "$source_dir/packaging/install.sh" stage "$stage" /usr "$binary"
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$stage/usr/bin/corvane"
gzip -9n "$stage/usr/share/man/man1/corvane.1"

# dpkg-shlibdeps reads the control file of the source it is run in.
mkdir "$work/debian"
printf 'Source: corvane\n\nPackage: corvane\nArchitecture: any\n' >"$work/debian/control"
depends=$(cd "$work" && dpkg-shlibdeps -O "-e$stage/usr/bin/corvane" 2>"$work/shlibdeps.log" |
  sed -n 's/^shlibs:Depends=//p') || true
[ -n "$depends" ] || {
  cat "$work/shlibdeps.log" >&2
  fail "dpkg-shlibdeps found no dependencies"
}
size=$(du -sk --apparent-size "$stage" | cut -f1)

mkdir -m 0755 "$stage/DEBIAN"
cat >"$stage/DEBIAN/control" <<EOF
Package: corvane
Version: $version
Architecture: $architecture
Maintainer: $MAINTAINER
Installed-Size: $size
Depends: $depends
Suggests: zip, unzip, arj, lhasa, unar
Section: utils
Priority: optional
Description: two-panel text-mode file manager for the terminal
 Corvane is a full-screen, keyboard- and mouse-driven file manager: one file
 list, a list beside a directory tree, or two lists side by side. It copies,
 moves, renames and deletes files and trees, and brings its own text and hex
 viewer, a directory tree, archive panels (ZIP, LZH, ZOO, ARJ) whose members
 are unpacked, packed and deleted by the usual archivers, user menus and a
 command line that runs commands through the shell. Three keyboard layouts;
 drive letters map to directories.
EOF
chmod 0644 "$stage/DEBIAN/control"

package=$output/corvane_${version}_${architecture}.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$package" >/dev/null
echo "$package"
