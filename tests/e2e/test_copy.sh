#!/usr/bin/env bash
# F5 in the COMMANDER layout: the selected files copied to the other panel's directory with
# the progress window, Esc during a copy cancelling it without a partial file left, and a
# directory copied with its subdirectories.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-copy-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/src/sub/deeper" "$WORK/d/dest"
head -c 256000000 /dev/zero >"$WORK/d/aaa.big"
echo one >"$WORK/d/one.txt"
echo two >"$WORK/d/two.txt"
echo top >"$WORK/d/src/top.txt"
echo deep >"$WORK/d/src/sub/deeper/deep.txt"

start_program '/1D:\' '/2D:\dest'
wait_for ' D:\dest '
wait_for 'D:\>'

# The cursor starts on dest, src follows: select aaa.big, one.txt and two.txt.
key Down
key Down
key IC
key IC
key IC
wait_for '5/3'
key F5
wait_for 'Destination : D:\dest'
key Enter
wait_for 'With confirmation ?'
# "N", and at once Esc: it reaches the copy of the first (big) file.
tmux -L "$SOCKET" send-keys -t "$SESSION" n Escape
wait_for 'Cancel operation ?'
screen_text | grep -q 'Source: D:\\aaa.big' || fail "the progress window shows the file"
key y
wait_gone 'Cancel operation ?'
[ -e "$WORK/d/dest/aaa.big" ] && fail "a cancelled copy leaves no partial file"
[ -e "$WORK/d/dest/one.txt" ] && fail "the loop stops after a cancelled copy"

# The big file unselected, the two others copied.
key Home
key Down
key Down
key IC
key F5
wait_for 'Destination : D:\dest'
key Enter
wait_for 'With confirmation ?'
key n
wait_file "$WORK/d/dest/two.txt"
wait_for '5/0'
[ "$(screen_text | grep -c 'one     .txt')" = 2 ] || fail "the other panel shows the copies"
cmp -s "$WORK/d/one.txt" "$WORK/d/dest/one.txt" || fail "one.txt copied"
cmp -s "$WORK/d/two.txt" "$WORK/d/dest/two.txt" || fail "two.txt copied"
[ -e "$WORK/d/dest/aaa.big" ] && fail "only the selected files are copied"

# A directory with its subdirectories.
key Home
key Down
wait_for '║src '
key F5
wait_for 'Destination : D:\dest'
key Enter
wait_for 'Mask :'
key Enter
wait_for 'Copy with subdirectories ?'
key y
wait_file "$WORK/d/dest/src/sub/deeper/deep.txt"
[ "$(cat "$WORK/d/dest/src/sub/deeper/deep.txt" 2>/dev/null)" = deep ] ||
  fail "the tree arrives with its subdirectories"
[ "$(cat "$WORK/d/dest/src/top.txt" 2>/dev/null)" = top ] || fail "the tree's own files"

key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
echo "PASS"
