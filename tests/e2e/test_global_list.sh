#!/usr/bin/env bash
# Filefind from the Special menu (COMMANDER layout): "Search :" with a directory and a mask
# gathers the matching files of the tree (hidden directories and links to directories left
# out) into a "Global List"; a selection copied from it asks "Generate Directories ?" and
# re-creates the directories, a file deleted from it leaves the disk and the list, Esc goes
# back; a mask nothing matches reports " No Files found ! ".
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-globallist-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/src/sub" "$WORK/d/src/.git" "$WORK/d/out" "$WORK/elsewhere"
echo one >"$WORK/d/src/one.c"
echo two >"$WORK/d/src/sub/two.c"
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

special_menu
key f
wait_for 'Search :'
type_text 'D:\src\*.C'
key Enter
wait_for 'Global List Nr. 2'
wait_for 'TOTAL  FILES'
screen_text | grep -q 'hidden' && fail "a hidden directory is searched"
screen_text | grep -q 'far' && fail "a link to a directory is followed"
screen_text | sed -n 5p | grep -qE '^║ +2│' || fail "two files are listed"

# Both selected and copied to D:\out with their directories.
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
wait_file "$WORK/d/out/src/one.c"
[ "$(cat "$WORK/d/out/src/sub/two.c")" = two ] || fail "the copy holds the file's bytes"

# The file under the cursor deleted from the list and the disk.
key Home
key F8
wait_for "Delete '"
key y
wait_missing "$WORK/d/src/one.c"
wait_for '║           1│'

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
