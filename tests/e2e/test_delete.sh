#!/usr/bin/env bash
# F8 and Delete in the COMMANDER layout: a directory after both questions (a link in it to a
# directory elsewhere goes, what it points to stays), a file after its question, and a
# selection with confirmation, " Continue ? " deciding per file.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-delete-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/victim/sub/.hidden" "$WORK/outside"
echo precious >"$WORK/outside/precious"
echo 1 >"$WORK/d/victim/one"
echo 2 >"$WORK/d/victim/sub/two"
echo 3 >"$WORK/d/victim/sub/.hidden/three"
ln -s "$WORK/outside" "$WORK/d/victim/link"
echo single >"$WORK/d/single.txt"
echo x >"$WORK/d/x.txt"
echo y >"$WORK/d/y.txt"

start_program '/1D:\' '/2D:\'
wait_for 'D:\>'

# Entries: victim, single.txt, x.txt, y.txt; the cursor is on victim. Its link counts as a file.
wait_for '║+victim'
key F8
wait_for "Delete all directories below 'victim' ?"
key y
wait_for "ATTENTION, ALL FILES AND DIRECTORIES BELOW 'victim' WILL BE DELETED !"
key y
wait_for '4 Files and 3 Directories deleted !'
key Enter
wait_missing "$WORK/d/victim"
[ "$(cat "$WORK/outside/precious")" = precious ] || fail "the link's target is left alone"

# The file under the cursor, with Delete.
wait_for '║◄single'
key DC
wait_for "Delete ' single.txt ' ?"
key y
wait_missing "$WORK/d/single.txt"

# x.txt and y.txt selected; with confirmation: F skips x.txt, any other key deletes y.txt.
key IC
key IC
wait_for '2/2'
key F8
wait_for "Delete ' all selected Files ' ?"
key y
wait_for 'With confirmation ?'
key y
wait_for 'Continue ?'
key f
wait_for 'Continue ?'
key Enter
wait_missing "$WORK/d/y.txt"
[ -e "$WORK/d/x.txt" ] || fail "F skips the file"
wait_for '1/1'

key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
echo "PASS"
