#!/usr/bin/env bash
# Filefind from the Special menu (COMMANDER layout): "Search :" with a directory and a mask
# gathers the matching files of the tree (hidden directories and links to directories left
# out) into a "Global List". On it a selection copied or moved asks "Generate Directories ?"
# and re-creates the directories, a file renames in its own directory, a deleted one leaves the
# disk and the list, Goto opens a directory as an ordinary panel; Esc goes back. A mask nothing
# matches reports " No Files found ! ".
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-globallist-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/src/sub" "$WORK/d/src/.git" "$WORK/d/out" "$WORK/elsewhere"
echo one >"$WORK/d/src/one.c"
echo two >"$WORK/d/src/sub/two.c"
echo three >"$WORK/d/src/sub/three.c"
echo skip >"$WORK/d/src/sub/skip.h"
echo hidden >"$WORK/d/src/.git/hidden.c"
echo far >"$WORK/elsewhere/far.c"
ln -s "$WORK/elsewhere" "$WORK/d/src/link"

start_program '/1D:\' '/2D:\out'
wait_for 'D:\>'

special_menu() {
  key F9
  wait_for ' Autoview'
  key Right
  key Right
  key Right
  wait_for ' Filefind'
}
# listed N: the list's file count shows N.
listed() { wait_for "$(printf '║%12s│' "$1")"; }
sources() { find "$WORK/d/src" -path '*/.git' -prune -o -name '*.c' -print | wc -l; }

special_menu
key f
wait_for 'Search :'
type_text 'D:\src\*.C'
key Enter
wait_for 'Global List Nr. 2'
listed 3
screen_text | grep -q 'hidden' && fail "a hidden directory is searched"
screen_text | grep -q 'far' && fail "a link to a directory is followed"

# All three copied to D:\out with their directories.
key IC
key IC
key IC
key F5
wait_for 'Destination :'
type_text 'D:\out'
key Enter
wait_for 'Generate Directories ?'
key y
wait_for 'With confirmation ?'
key n
wait_file "$WORK/d/out/src/sub/two.c"
wait_file "$WORK/d/out/src/sub/three.c"
wait_file "$WORK/d/out/src/one.c"
[ "$(cat "$WORK/d/out/src/sub/two.c")" = two ] || fail "the copy holds the file's bytes"
wait_for '║ src ' # the panel beside the list shows the copy at once

# The last entry renamed where it lies.
key End
key F6
wait_for 'Rename'
key r
wait_for 'New Name    :'
key End
for _ in 1 2 3 4 5 6 7 8; do key BSpace; done
type_text 'renamed.c'
key Enter
deadline=$((SECONDS + 10))
until [ -n "$(find "$WORK/d/src" -name renamed.c)" ]; do
  ((SECONDS < deadline)) || fail "the entry is renamed"
  sleep 0.1
done
[ "$(sources)" = 3 ] || fail "a rename keeps the file count"

# The first entry moved to D:\moved (made after its question), its directory made there.
key Home
key IC
key F6
wait_for 'Rename'
key m
wait_for 'Destination :'
type_text 'D:\moved'
key Enter
wait_for "Create path 'D:\moved' ?"
key y
wait_for 'Generate Directories ?'
key y
wait_for 'With confirmation ?'
key n
listed 2
[ "$(sources)" = 2 ] || fail "the moved file left its directory"
[ "$(find "$WORK/d/moved" -name '*.c' | wc -l)" = 1 ] || fail "the moved file arrived"

# The file under the cursor deleted from the list and the disk.
key Home
key F8
wait_for "Delete '"
key y
listed 1
[ "$(sources)" = 1 ] || fail "the deleted file left the disk"

# Goto a directory: an ordinary panel of it in a nested loop.
key F9
wait_for ' Autoview'
key Right
wait_for ' Goto'
key g
wait_for 'Goto :'
type_text 'D:\src\sub'
key Enter
wait_for 'Nr. 3 D:\src\sub'
wait_for '║ sk        5'
screen_text | grep -q 'Global List Nr. 3' && fail "the directory is not a global list"
key Escape
wait_for 'Global List Nr. 2'
key Escape
wait_gone 'Global List'
wait_for '╔════════════════ D:\ '

special_menu
key f
wait_for 'Search :'
type_text '*.none'
key Enter
wait_for ' No Files found ! '
key Enter
wait_gone ' No Files found ! '

key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
echo "PASS"
