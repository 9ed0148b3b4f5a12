#!/usr/bin/env bash
# `make install` and `make uninstall` (packaging/install.sh) into a DESTDIR and PREFIX with
# blanks: the installed program starts with an empty configuration directory, keeps its setup
# there and nothing beside its binary, copies the default an administrator changed under
# share/corvane/, writes the cwd file at its end; uninstall takes away exactly what install
# wrote, also after a second install over the first.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-install-$$"
. "$(dirname "$0")/e2e_lib.sh"
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
INSTALL="$SOURCE/packaging/install.sh"

DEST="$WORK/stage dir"
PREFIX="/opt/my corvane"
ROOT="$DEST$PREFIX"
# Something of someone else's in the tree: uninstall leaves it and the directories it needs.
mkdir -p "$ROOT/bin"
echo theirs >"$ROOT/bin/other-program"

sh "$INSTALL" install "$DEST" relative/prefix "$BINARY" 2>"$WORK/refused" && fail "a relative PREFIX was taken"
grep -q 'PREFIX must be an absolute path' "$WORK/refused" || fail "no clear refusal: $(cat "$WORK/refused")"
for round in 1 2; do
  sh "$INSTALL" install "$DEST" "$PREFIX/" "$BINARY" >/dev/null || fail "install $round failed"
done
cmp -s "$ROOT/bin/corvane" "$BINARY" && [ -x "$ROOT/bin/corvane" ] || fail "bin/corvane"
cmp -s "$ROOT/share/man/man1/corvane.1" "$SOURCE/man/corvane.1" || fail "the manual page"
cmp -s "$ROOT/share/doc/corvane/README" "$SOURCE/README.md" || fail "the README"
for file in "$SOURCE"/data/*; do
  [ -f "$file" ] || continue  # data/win32/: the Windows build's own
  cmp -s "$ROOT/share/corvane/${file##*/}" "$file" || fail "share/corvane/${file##*/}"
done

# The administrator's own associations.
echo '# changed by the administrator' >>"$ROOT/share/corvane/corvane.pre"

# run NAME [VARIABLE=VALUE] -- ARGUMENTS...: the installed program in a terminal of its own,
# from $WORK/d, with an empty configuration directory and nothing else in its environment but
# the assignment; its standard error goes to $WORK/NAME.err, its exit status onto the screen.
mkdir -p "$WORK/d/sub" "$WORK/xdg" "$WORK/home" "$WORK/tmp"
run() {
  local name=$1
  shift
  local extra=()
  [ "$1" != -- ] && extra=("$1") && shift
  shift
  launch_clean "$WORK/d" "$name" "HOME=$WORK/home" "XDG_CONFIG_HOME=$WORK/xdg" "TMP=$WORK/tmp" \
    "${extra[@]}" -- "$ROOT/bin/corvane" "$@"
}

leave() {
  key F10
  wait_for 'Exit CORVANESHELL ?'
  key y
  wait_for 'EXIT STATUS 0'
}

# Into the subdirectory, then F10: the cwd file (relative: from the start's directory) names it.
run first -- --cwd-file=cwd.txt
wait_for '1Help   2Menue'
wait_for 'sub'
key Down
key Enter
wait_for '\sub'
leave
[ "$(cat "$WORK/d/cwd.txt")" = "$(readlink -f "$WORK/d/sub")" ] ||
  fail "the cwd file holds '$(cat "$WORK/d/cwd.txt" 2>/dev/null)'"
[ -s "$WORK/xdg/corvane/corvane.SET" ] || fail "the setup is not under XDG_CONFIG_HOME"
cmp -s "$WORK/xdg/corvane/corvane.pre" "$ROOT/share/corvane/corvane.pre" ||
  fail "the changed default was not the one copied"
cmp -s "$WORK/xdg/corvane/corvane.hlp" "$SOURCE/data/corvane.hlp" || fail "the help file copied"
[ "$(ls -A "$ROOT/bin" | sort | tr '\n' ' ')" = "corvane other-program " ] ||
  fail "files beside the installed program: $(ls -A "$ROOT/bin")"
[ -z "$(ls -A "$WORK/home")" ] || fail "files in HOME: $(ls -A "$WORK/home")"

# A cwd file that is a directory (from the environment this time): said on standard error at
# the end, and the run still ends with status 0.
run second "CORVANE_CWD_FILE=$WORK/d" --
wait_for '1Help   2Menue'
leave
grep -q "cannot write the directory to '$WORK/d'" "$WORK/second.err" ||
  fail "no message about the cwd file: $(cat "$WORK/second.err")"

# Uninstall: everything install wrote and made is gone, the other program and its directories
# stay.
sh "$INSTALL" uninstall "$DEST" "$PREFIX" >/dev/null || fail "uninstall failed"
left=$(cd "$DEST" && find . | sort | tr '\n' ' ')
[ "$left" = ". ./opt ./opt/my corvane ./opt/my corvane/bin ./opt/my corvane/bin/other-program " ] ||
  fail "left after uninstall: $left"
rm -r "$DEST/opt"
sh "$INSTALL" install "$DEST" "$PREFIX" "$BINARY" >/dev/null || fail "install into the empty tree"
sh "$INSTALL" uninstall "$DEST" "$PREFIX" >/dev/null || fail "the second uninstall failed"
[ -z "$(ls -A "$DEST")" ] || fail "uninstall left: $(cd "$DEST" && find . -mindepth 1)"
echo PASS
