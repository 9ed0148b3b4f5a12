#!/usr/bin/env bash
# Two panels in the COMMANDER layout on prepared directories, Tab between them, the menu bar
# from F9, the CORVANE and XTREE layouts chosen in the setup menu, and the end with the
# terminal given back.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-panels-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/docs" "$WORK/d/src"
echo notes >"$WORK/d/notes.txt"
echo 'int main() {}' >"$WORK/d/main.c"
echo readme >"$WORK/d/docs/README"
echo guide >"$WORK/d/docs/guide.md"

start_program '/1D:\' '/2D:\docs'
wait_for ' D:\docs '
screen=$(screen_text)
grep -q '║+docs' <<<"$screen" || fail "the left panel lists D:\\ with the cursor on docs"
grep -q 'notes   .txt' <<<"$screen" || fail "notes.txt in 8.3 columns"
grep -q 'README' <<<"$screen" || fail "the right panel lists D:\\docs"
grep -q '1Help   2Menue' <<<"$screen" || fail "the COMMANDER function-key bar"
wait_for 'D:\>'

# Tab makes the other panel current: the command line's prompt follows it.
key Tab
wait_for 'D:\docs>'
key Tab
wait_for 'D:\>'

# Backspace on the empty command line goes up, onto the directory left; with text on the
# line it edits, and Esc clears the line without asking anything.
key Enter
wait_for 'D:\docs>'
key BSpace
wait_for 'D:\>'
screen_text | grep -q '║+docs' || fail "the cursor back on the directory left"
tmux -L "$SOCKET" send-keys -t "$SESSION" -l 'echo hi'
wait_for 'D:\>echo hi'
key BSpace
wait_gone 'D:\>echo hi'
wait_for 'D:\>echo h'
key Escape
wait_gone 'D:\>echo h'
screen_text | grep -q 'Exit CORVANESHELL' && fail "Esc with text on the line only clears it"

# The keypad's "+" opens Select, its "*" inverts the selection; a typed "+" is text.
key KP+
wait_for 'Select :'
key Escape
wait_gone 'Select :'
key KP*
wait_for '     4/2 '
key KP*
wait_for '     4/0 '
key +
wait_for 'D:\>+'
key Escape

# F9 opens the menu bar at " Window"; Right walks the pulldowns; Escape closes.
key F9
wait_for ' Autoview'
key Right
wait_for ' About CORVANESHELL'
key Right
wait_for ' Next file list'
key Escape
wait_gone ' Next file list'

# The setup menu's " Emulation": CORVANE, with its command labels.
choose_corvane_layout

# XTREE from the CORVANE layout: Alt-T opens the setup menu directly.
key M-t
wait_for ' Emulation'
key u
wait_for 'XTREE'
key x
wait_for ' F1=HELP ESC=Quit'
screen_text | grep -q 'Inv cOm Qck' || fail "the XTREE letter bar"

# The end: the question, the changed setup saved, the user's screen back.
key Escape
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'Setup data altered, save it ?'
key y
wait_for 'EXIT STATUS 0'
screen_text | grep -q 'BEFORE-THE-PROGRAM' || fail "the user's screen is back"
screen_text | grep -q 'NT-Corvane 2.2 - two-panel file manager' || fail "the title line at exit"
layout=$(od -An -tu2 -j 3060 -N 2 "$WORK/cs/corvane.SET" | tr -d ' ')
[ "$layout" = 2 ] || fail "the XTREE layout saved (got '$layout')"
grep -qx 'D:\\' "$WORK/cs/corvane.__S" || fail "the previous directories written"
echo PASS
