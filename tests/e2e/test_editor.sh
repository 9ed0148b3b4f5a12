#!/usr/bin/env bash
# The internal editor on the file named at start: a new file typed and saved with F2, edited
# again with a backup and its cursor put back, a block marked and copied in the COMMANDER
# layout, and a modified file kept in a recovery copy when the program is ended from outside.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-editor-$$"
. "$(dirname "$0")/e2e_lib.sh"

restart() {
  restart_program "$@"
  wait_for 'TOP OF FILE'
}

# A new file: typed, saved under its name, the program ends with the editor.
restart notes.txt
wait_for 'Line 0'
for word in first line; do tmux -L "$SOCKET" send-keys -t "$SESSION" -l "$word "; done
key Enter
tmux -L "$SOCKET" send-keys -t "$SESSION" -l "second"
key F2
wait_for 'Filename :'
key Enter
wait_gone 'Filename :'
[ "$(cat "$WORK/notes.txt")" = "$(printf 'first line\nsecond')" ] ||
  fail "the typed lines are on disk: $(od -c "$WORK/notes.txt")"
[ ! -e "$WORK/notes.BAK" ] || fail "no backup of a file that did not exist"
key F10
wait_for 'EXIT STATUS 0'

# Again: the cursor where it was saved (line 2, column 7); a change saved keeps the old file
# as notes.BAK; F3 marks the first line, F5 copies it below the second, F10 without saving
# asks first.
restart notes.txt
wait_for 'Line 2     Row 7'
tmux -L "$SOCKET" send-keys -t "$SESSION" -l "!"
key F2
wait_for 'Filename :'
key Enter
wait_gone 'Filename :'
[ "$(cat "$WORK/notes.BAK")" = "$(printf 'first line\nsecond')" ] || fail "the backup"
[ "$(cat "$WORK/notes.txt")" = "$(printf 'first line\nsecond!')" ] || fail "the saved change"
key Up
key F3
key Down
key F5
[ "$(screen_text | grep -c '^first line')" = 2 ] || fail "the marked line copied below it"
key F10
wait_for 'Throw away changes ?'
key y
wait_for 'EXIT STATUS 0'

# Ended from outside while modified: the file stays, its changes go to a recovery copy, which
# the next start mentions.
restart notes.txt
wait_for 'Line 2     Row 8'
tmux -L "$SOCKET" send-keys -t "$SESSION" -l " unsaved"
sleep 0.5
kill -TERM "$(program_pid)"
wait_for 'EXIT STATUS 0'
[ "$(cat "$WORK/notes.txt")" = "$(printf 'first line\nsecond!')" ] || fail "the file is untouched"
[ "$(cat "$WORK/notes.txt.RECOVER")" = "$(printf 'first line\nsecond! unsaved')" ] ||
  fail "the recovery copy: $(cat "$WORK/notes.txt.RECOVER" 2>&1)"
restart_program notes.txt
wait_for 'notes.txt.RECOVER'
key Enter
wait_for 'TOP OF FILE'
key F10
wait_for 'EXIT STATUS 0'
echo PASS
