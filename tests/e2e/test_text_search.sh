#!/usr/bin/env bash
# Text search in the COMMANDER layout. Alt-F7: the tree search form; the first hit is shown in
# the viewer and S searches the rest without showing; the files holding the string (a hit after
# zero bytes too; NEEDLE only when " Case sensitive ? " is NO; a FIFO never opened) become a
# Global List. File menu " Text
# search " on the file under the cursor: " Define Textsearch ", then "String '%s' not found ! ".
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-textsearch-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/t/sub"
printf 'first line\nthe needle here\n' >"$WORK/d/t/a.txt"
printf 'nothing\n' >"$WORK/d/t/b.txt"
printf 'NEEDLE\n' >"$WORK/d/t/upper.txt"
printf 'zero\0\0bytes needle\n' >"$WORK/d/t/sub/c.txt"
printf 'needle at the end' >"$WORK/d/t/sub/d.txt"
mkfifo "$WORK/d/t/pipe.txt"

start_program '/1D:\t' '/2D:\'
wait_for 'D:\t>'

key M-F7
wait_for ' Textsearch '
type_text 'needle'
key Enter
wait_for 'Search only'
screen_text | grep -qi 'needle' || fail "the hit is shown"
key s
wait_for 'Global List Nr. 2'
screen_text | sed -n 5p | grep -qE '^║ +3│' || fail "three files hold the string"
key Escape
wait_gone 'Global List'

# Again ignoring case: four files.
key M-F7
wait_for ' Case sensitive ?'
key Tab
key Space
wait_for '[NO ]'
key Enter
wait_for 'Search only'
key s
wait_for 'Global List Nr. 2'
screen_text | sed -n 5p | grep -qE '^║ +4│' || fail "four files hold the string in either case"
key Escape
wait_gone 'Global List'

# The file under the cursor: b.txt, after "..", sub and a.txt.
key Home
key Down
key Down
key Down
wait_for '║b.txt'
open_text_search
key Enter
wait_for "String 'needle' not found ! "
key Enter
wait_gone "not found"

key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
echo "PASS"
