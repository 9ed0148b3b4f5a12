#!/usr/bin/env bash
# The user's definitions: a fresh setup directory gets the default archiver definitions and
# user menu; F2 offers the menu files and runs an entry of the sample menu; a colour chosen in
# the Setup menu survives a save and a restart, a directory defined for Ctrl-F3 the question
# at the end.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-definitions-$$"
. "$(dirname "$0")/e2e_lib.sh"

# setup_menu: the menu bar opened on " Se^tup" (F9 opens the bar where it was last left).
setup_menu() {
  key F9
  local tries=0
  until screen_text | grep -qF 'Save setup'; do
    ((tries++ < 5)) || fail "the Setup menu did not open"
    key Left
  done
}

start_program
wait_for '1Help   2Menue'
for file in corvane.ASE corvane.DAT; do
  [ -f "$WORK/cs/$file" ] || fail "$file was not installed beside the setup file"
  cmp -s "$WORK/cs/$file" "$(dirname "$0")/../../data/$file" || fail "$file differs from data/"
done

# F2: the *.dat files beside the setup file; the sample menu's "Disk free" runs df in less.
key F2
wait_for 'corvane .DAT'
key End
key Enter
wait_for 'User menu'
wait_for 'Disk free'
key f
wait_for 'Filesystem'
key q
wait_for '1Help   2Menue'

# A colour: " ^Colors", "^Main window" (the third slot), the next background, then saved.
before=$(od -An -tx1 -j2 -N1 "$WORK/cs/corvane.SET" | tr -d ' ')
setup_menu
key c
wait_for 'Monochrome-colors'
key Down
key Down
key Enter
wait_for 'BG Cursor <>, FG'
key Right
key Enter
wait_gone 'BG Cursor <>, FG'
setup_menu
key s
wait_gone 'Save setup'
after=$(od -An -tx1 -j2 -N1 "$WORK/cs/corvane.SET" | tr -d ' ')
[ "$after" = "$(printf '%02x' $((0x$before + 0x10)))" ] || fail "saved colour $after after $before"

# The Ctrl-F3 directory through " ^Directories" (the second item with a D).
mkdir -p "$WORK/d/projects"
setup_menu
key Home
for _ in 1 2 3 4 5 6 7 8 9; do key Down; done
key Enter
wait_for 'Define Directories'
key Down
key Down
type_text 'D:\projects'
key Enter
wait_gone 'Define Directories'
key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'Setup data altered, save it ?'
key y
wait_for 'EXIT STATUS 0'

restart_program
wait_for '1Help   2Menue'
[ "$(od -An -tx1 -j2 -N1 "$WORK/cs/corvane.SET" | tr -d ' ')" = "$after" ] ||
  fail "the colour did not survive the restart"
# The panel's interior in the new background (console colour 2 + 0x10 per step is green, 42).
tmux -L "$SOCKET" capture-pane -p -e -t "$SESSION" | sed -n 6p | grep -q '\[[0-9;]*42m' ||
  fail "the main window is not drawn in the saved colour"
[ "$(dd if="$WORK/cs/corvane.SET" bs=1 skip=$((1162 + 2 * 81)) count=11 2>/dev/null)" = \
  'D:\projects' ] || fail "the Ctrl-F3 directory was not saved"
key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
