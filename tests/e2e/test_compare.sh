#!/usr/bin/env bash
# Directory menu, COMMANDER layout: " Compare directories " marks the older copy OLD (an arrow
# down in the short display) and the newer NEW (an arrow up), a file present on one side only
# "-", all selected; " Compare directories binary " marks files whose bytes differ "!" on both
# sides and leaves equal ones unmarked.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-compare-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/left" "$WORK/d/right"
echo same >"$WORK/d/left/same.txt"
echo same >"$WORK/d/right/same.txt"
echo old >"$WORK/d/left/change.txt"
echo new >"$WORK/d/right/change.txt"
echo lone >"$WORK/d/left/lone.txt"
touch -d '2020-01-01 10:00' "$WORK/d/left/same.txt" "$WORK/d/right/same.txt" \
  "$WORK/d/left/change.txt" "$WORK/d/left/lone.txt"
touch -d '2020-01-01 10:01' "$WORK/d/right/change.txt"

start_program '/1D:\left' '/2D:\right'
wait_for 'D:\left>'

directory_menu() {
  key F9
  wait_for ' Autoview'
  key Right
  key Right
  wait_for ' Compare directories binary'
}

directory_menu
key o
wait_for '║↓change  .txt'
wait_for '║↑change  .txt'
wait_for '║-lone    .txt'
[ "$(screen_text | grep -o '║ same    .txt' | wc -l)" = 2 ] || fail "equal files stay unmarked"

directory_menu
key p
wait_for '║!change  .txt                         ░║!change  .txt'
screen_text | grep -q '↓' && fail "a binary compare replaces the marks of the last one"
[ "$(screen_text | grep -o '║ same    .txt' | wc -l)" = 2 ] || fail "equal files stay unmarked"

key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
echo "PASS"
