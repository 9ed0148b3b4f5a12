#!/usr/bin/env bash
# The package `make deb` builds from a release program: dpkg-deb reads it, its control fields
# carry the program's version, the machine's architecture and computed dependencies, it holds
# exactly the installed files (owned by root, program stripped and still running), and its
# manual page is the source's.
set -u
binary=$(readlink -f "$1")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-deb-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

package=$(sh "$source_dir/packaging/make_deb.sh" "$binary" "$work") || fail "make_deb.sh failed"
[ -f "$package" ] || fail "no package at '$package'"

info=$(dpkg-deb --info "$package") || fail "dpkg-deb cannot read the package"
field() { dpkg-deb --field "$package" "$1"; }
version=$("$binary" --version | awk '{ print $NF }')
[ "$(field Package)" = corvane ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version '$(field Version)', the program says '$version'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
grep -qE '(^|, )libc6 \(>= [0-9.]+\)' <<<"$(field Depends)" || fail "Depends without libc6: $(field Depends)"
grep -q 'libasan\|libtsan' <<<"$(field Depends)" && fail "a sanitizer in Depends: $(field Depends)"
grep -q '^ Description: ' <<<"$info" || fail "no Description"
# What dpkg -i would check: every dependency is installed here in a version that satisfies it
# (the package is built where it is meant to be installed).
while IFS= read -r dependency; do
  satisfied=
  while IFS= read -r choice; do
    read -r name relation version <<<"$(sed 's/[()]//g' <<<"$choice")"
    installed=$(dpkg-query -W -f='${Version}' "${name%%:*}" 2>/dev/null) || continue
    if [ -z "$relation" ] || dpkg --compare-versions "$installed" "$relation" "$version"; then
      satisfied=1
    fi
  done < <(tr '|' '\n' <<<"$dependency")
  [ -n "$satisfied" ] || fail "the dependency '$dependency' is not met on this machine"
done < <(field Depends | tr ',' '\n')

# The files: exactly these, root's, the program executable.
expected=$( {
  echo ./usr/bin/corvane
  for file in "$source_dir"/data/*; do [ -f "$file" ] && echo "./usr/share/corvane/${file##*/}"; done
  echo ./usr/share/doc/corvane/README
  echo ./usr/share/man/man1/corvane.1.gz
} | sort)
listing=$(dpkg-deb --contents "$package")
files=$(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | sort)
[ "$files" = "$expected" ] || fail "the files differ:$(diff <(echo "$expected") <(echo "$files"))"
awk '$2 != "root/root" { bad = 1 } END { exit bad }' <<<"$listing" || fail "a file not owned by root"
grep -q '^-rwxr-xr-x .* ./usr/bin/corvane$' <<<"$listing" || fail "the program is not executable"

dpkg-deb --extract "$package" "$work/tree"
[ "$("$work/tree/usr/bin/corvane" --version)" = "$("$binary" --version)" ] ||
  fail "the packaged program does not run"
readelf -S "$work/tree/usr/bin/corvane" | grep -q '\.symtab' && fail "the program is not stripped"
cmp -s <(zcat "$work/tree/usr/share/man/man1/corvane.1.gz") "$source_dir/man/corvane.1" ||
  fail "the packaged manual page is not the source's"
echo PASS
