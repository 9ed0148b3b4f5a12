#!/usr/bin/env bash
# F6 in the COMMANDER layout: "Move" takes the selected files and a directory to the other
# panel's directory (a tree with a hidden directory also onto another file system), and
# "Rename" renames the entry under the cursor in place.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-move-$$"
. "$(dirname "$0")/e2e_lib.sh"

SHM=""
if [ -d /dev/shm ] && [ "$(stat -c %d /dev/shm)" != "$(stat -c %d "$WORK")" ]; then
  SHM=$(mktemp -d /dev/shm/corvane-e2e-move.XXXXXX)
  trap 'e2e_cleanup; rm -rf "$SHM"' EXIT
  BEFORE_PROGRAM="export CORVANE_DRIVES='D=$WORK/d;S=$SHM'"
fi

mkdir -p "$WORK/d/dest" "$WORK/d/tree/sub" "$WORK/d/tree/.git" "$WORK/d/far/.git/objects"
echo a >"$WORK/d/a.txt"
echo b >"$WORK/d/b.txt"
echo c >"$WORK/d/c.txt"
echo x >"$WORK/d/tree/sub/x"
echo head >"$WORK/d/tree/.git/HEAD"
echo object >"$WORK/d/far/.git/objects/1"
echo far >"$WORK/d/far/file"

start_program '/1D:\' '/2D:\dest'
wait_for 'D:\>'

# Entries: dest, far, tree, a.txt, b.txt, c.txt. a.txt and b.txt selected and moved.
key End
key Up
key Up
key IC
key IC
wait_for '6/2'
key F6
wait_for 'Rename'
key m
wait_for 'Destination : D:\dest'
key Enter
wait_for 'With confirmation ?'
key n
wait_file "$WORK/d/dest/b.txt"
wait_for '4/0'
[ -e "$WORK/d/a.txt" ] || [ -e "$WORK/d/b.txt" ] && fail "the moved files leave their place"
[ "$(cat "$WORK/d/dest/a.txt")" = a ] || fail "a.txt arrives"

# The directory under the cursor: renamed into the destination with everything in it.
key Home
key Down
key Down
wait_for '║+tree'
key F6
wait_for 'Rename'
key m
wait_for 'Destination : D:\dest'
key Enter
wait_file "$WORK/d/dest/tree/sub/x"
[ -e "$WORK/d/dest/tree/.git/HEAD" ] || fail "the hidden directory moves with its tree"
[ -e "$WORK/d/tree" ] && fail "the moved directory leaves its place"
wait_for '3/0'

# Rename the file under the cursor.
key End
wait_for '║◄c'
key F6
wait_for 'Rename'
key r
wait_for 'Rename File : c.txt'
tmux -L "$SOCKET" send-keys -t "$SESSION" -l 'renamed.txt'
key Enter
wait_file "$WORK/d/renamed.txt"
[ -e "$WORK/d/c.txt" ] && fail "the old name is gone"
wait_for 'renamed .txt'

if [ -n "$SHM" ]; then
  # Onto another file system: the tree arrives whole, hidden directory included.
  key Home
  key Down
  wait_for '║+far'
  key F6
  wait_for 'Rename'
  key m
  wait_for 'Destination : D:\dest'
  tmux -L "$SOCKET" send-keys -t "$SESSION" -l 'S:\'
  key Enter
  wait_file "$SHM/far/file"
  wait_file "$SHM/far/.git/objects/1"
  wait_missing "$WORK/d/far"
fi

key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
echo "PASS"
