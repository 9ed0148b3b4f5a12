#!/usr/bin/env bash
# The terminal changes its size while the program runs: the Select form stays open on top and
# the screen afterwards is the one a fresh start at that size draws; the right panel stays
# active with its cursor at the end; a terminal too small says so whole, with the clock
# stopped, and Esc there leaves through the exit question and writes the last directories.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-resize-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/docs" "$WORK/d/src"
for i in 1 2 3 4 5 6 7 8 9; do echo "$i" >"$WORK/d/docs/page$i.txt"; done
echo notes >"$WORK/d/notes.txt"

# The screen without the clock's part of the top row (it differs from second to second).
steady_screen() { screen_text | sed '1s/^\(.\{40\}\).*/\1/'; }

# wait_width COLUMNS: until the panels' top frame line is that wide.
wait_width() {
  local deadline=$((SECONDS + 10))
  while ((SECONDS < deadline)); do
    [ "$(screen_text | sed -n 3p | sed 's/ *$//' | wc -m)" -eq $(($1 + 1)) ] && return 0
    sleep 0.1
  done
  fail "the screen did not become $1 columns wide"
}

start_program '/1D:\' '/2D:\docs'
wait_for 'D:\>'
key KP+
wait_for 'Select :'
resize 100 30
wait_width 100
screen_text | grep -q 'Select :' || fail "the Select form stays open over the new screen"
key Escape
wait_gone 'Select :'
after=$(steady_screen)
E2E_COLUMNS=100 E2E_ROWS=30 restart_program '/1D:\' '/2D:\docs'
wait_for 'D:\>'
sleep 0.5
fresh=$(steady_screen)
[ "$after" = "$fresh" ] || fail "after the resize the screen differs from a fresh start:
$after"

# Tab to the right panel, End, a resize: still the right panel, still at its end.
key Tab
wait_for 'D:\docs>'
key End
wait_for '◄page9'
resize 80 25
wait_width 80
wait_for 'D:\docs>'
wait_for '◄page9'
screen_text | grep -q '║ page9' && fail "the cursor mark stays on page9"

# The Full display at 80 columns shows the date of a known file.
touch -d '2003-07-04 14:05' "$WORK/d/docs/page1.txt"
key C-r
key M-F1
wait_for '04.07.03 14:05'

# Too small: the whole message, the clock stopped; Esc leaves through the exit question.
rm -f "$WORK/cs/corvane.__S"
resize 60 20
wait_for 'needs at least 80 x 24 (now 60 x 20)'
sleep 2
screen_text | grep -qE '[0-9]{2}:[0-9]{2}' && fail "the clock drew over the message"
key Escape
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
grep -qx 'D:\\docs' "$WORK/cs/corvane.__S" || fail "the last directories written on the way out"
echo PASS
