#!/bin/sh
# Installs the program, its default files, the manual page and the README under
# DESTDIR/PREFIX, and takes them away again.
#
#   install.sh install   DESTDIR PREFIX BINARY
#   install.sh stage     DESTDIR PREFIX BINARY   (the same without the record: a package tree)
#   install.sh uninstall DESTDIR PREFIX
#
# An install records every file it wrote and every directory it had to make in
# share/corvane/.install-record; uninstall removes exactly those (a directory only when it
# is empty by then), so a staging tree ends up empty and /usr/local keeps what it had.
set -eu

action=${1:-}
destdir=${2:-}
prefix=${3:-}
binary=${4:-}
source_dir=$(cd "$(dirname "$0")/.." && pwd)

fail() {
  echo "corvane install: $*" >&2
  exit 2
}

case $prefix in
  /*) ;;
  *) fail "PREFIX must be an absolute path (it is '$prefix')" ;;
esac
newline='
'
case $destdir$prefix in
  *"$newline"*) fail "DESTDIR and PREFIX must not hold a line break" ;;
esac
# Without trailing slashes ("/" itself stays a root).
prefix=$(printf '%s' "$prefix" | sed 's:/*$::')
destdir=$(printf '%s' "$destdir" | sed 's:/*$::')
root=$destdir$prefix
record=$root/share/corvane/.install-record

# make_dir DIR: makes DIR and its missing parents, noting each one made in $made.
made=
make_dir() {
  [ -d "$1" ] && return 0
  [ -e "$1" ] && fail "'$1' is in the way of a directory"
  make_dir "$(dirname "$1")"
  mkdir -m 0755 "$1"
  made=$made"d $1$newline"
}

# put MODE SOURCE TARGET: one file, noted in $written.
written=
put() {
  install -m "$1" "$2" "$3"
  written=$written"f $3$newline"
}

install_all() {
  [ -n "$binary" ] && [ -x "$binary" ] || fail "no program to install ('$binary'): build it first"
  for dir in bin share/corvane share/man/man1 share/doc/corvane; do make_dir "$root/$dir"; done
  put 0755 "$binary" "$root/bin/corvane"
  for file in "$source_dir"/data/*; do
    if [ -f "$file" ]; then put 0644 "$file" "$root/share/corvane/${file##*/}"; fi
  done
  put 0644 "$source_dir/man/corvane.1" "$root/share/man/man1/corvane.1"
  put 0644 "$source_dir/README.md" "$root/share/doc/corvane/README"
}

case $action in
  install)
    install_all
    # A new install over an old one keeps what the old one recorded too.
    old=
    [ -f "$record" ] && old=$(cat "$record")
    printf '%s\n%s%s' "$old" "$made" "$written" | sed '/^$/d' | awk '!seen[$0]++' >"$record.new"
    mv "$record.new" "$record"
    chmod 0644 "$record"
    echo "Installed corvane under $root"
    ;;
  stage)
    install_all
    ;;
  uninstall)
    if [ -f "$record" ]; then
      grep '^f ' "$record" | cut -c3- | while IFS= read -r file; do rm -f "$file"; done
      dirs=$(grep '^d ' "$record" | cut -c3- | LC_ALL=C sort -r)
      rm -f "$record"
    else
      # Installed before there was a record: the files the install puts there.
      rm -f "$root/bin/corvane" "$root/share/man/man1/corvane.1" "$root/share/doc/corvane/README"
      for file in "$source_dir"/data/*; do rm -f "$root/share/corvane/${file##*/}"; done
      dirs=
    fi
    # Deepest first (a parent sorts before its children); a directory that still holds
    # something someone else put there stays.
    printf '%s\n%s\n%s\n' "$dirs" "$root/share/corvane" "$root/share/doc/corvane" |
      while IFS= read -r dir; do
        [ -n "$dir" ] && [ -d "$dir" ] && rmdir "$dir" 2>/dev/null || true
      done
    echo "Removed corvane from $root"
    ;;
  *)
    fail "usage: install.sh install|stage|uninstall DESTDIR PREFIX [BINARY]"
    ;;
esac
