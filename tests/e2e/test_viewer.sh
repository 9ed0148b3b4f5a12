#!/usr/bin/env bash
# The viewer from the panels: F3 shows the first page, End the last, F7 searches, Esc gives
# the panels back as they were; Autoview in the other half of the two-list layout with Tab
# into it; "[CSVIEW] name" on the command line; a FIFO reported at once.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-viewer-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d"
for i in $(seq 0 2999); do printf 'line %04d of the notes\n' "$i"; done >"$WORK/d/notes.txt"
mkfifo "$WORK/d/pipe"

start_program '/1D:\' '/2D:\'
wait_for '1Help   2Menue'
wait_for 'D:\>'
# The entries: notes.txt, pipe. The screen without its clock row.
panels() { screen_text | tail -n +2; }
before=$(panels)

key F3
wait_for 'notes.txt                      Delta      0 Size  69000  [ ] [ ]'
wait_for '1Help   2Wrap   3      4Hex   5Filter'
screen_text | sed -n 2p | grep -q '^line 0000 of the notes' || fail "the first page from the first line"
key End
wait_for 'line 2999 of the notes'
key F7
wait_for 'Define Textsearch'
tmux -L "$SOCKET" send-keys -t "$SESSION" -l 'LINE 0042'
key Enter
wait_for 'not found'   # exact case, and after the top line
key Enter
key Home
key F7
wait_for 'Define Textsearch'
key Down
key Space           # " Case sensitive ? " NO
key Enter
wait_for 'Delta    920 '
screen_text | sed -n 4p | grep -q '^line 0042 of the notes' || fail "the hit on the third row"
key F4
wait_for '00000396 73 0a 6c 69 6e 65'   # two bytes back over the line end
key F4
key Escape
wait_for '1Help   2Menue'
[ "$(panels)" = "$before" ] || fail "Esc gives back the panels as they were"

# Autoview: Ctrl-F2 shows the cursor file in the other half; Tab goes into it.
key C-F2
wait_for '║line 0000 of the notes'
key Tab
key NPage
wait_for '║line 0023 of the notes'
key z
key Down
wait_gone '║line 0023 of the notes'   # on the FIFO: the other panel again
wait_for '║ pipe'
key Up
wait_for '║line 0000 of the notes'
key C-F2
wait_gone '║line 0000 of the notes'

# The built-in "[CSVIEW] name" of the command line.
tmux -L "$SOCKET" send-keys -t "$SESSION" -l '[CSVIEW] notes.txt'
key Enter
wait_for 'notes.txt                      Delta      0'
key Escape
wait_for '1Help   2Menue'

# A FIFO is reported at once, never read.
key Down
key F3
wait_for 'File open error pipe'
key Enter
wait_gone 'File open error'
key F10
wait_for 'Exit CORVANESHELL'
key y
wait_for 'EXIT STATUS 0'
