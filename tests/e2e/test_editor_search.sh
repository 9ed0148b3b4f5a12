#!/usr/bin/env bash
# A C file in the editor and in the viewer started from its command mode: keywords coloured
# by the default keyword file, a comment across lines in the line's colour; Ctrl-S replaces
# with all matches, Alt-K jumps between braces, "/" searches from command mode.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-search-$$"
. "$(dirname "$0")/e2e_lib.sh"

# The screen with its colours; a keyword is preceded by a colour change.
coloured() { tmux -L "$SOCKET" capture-pane -p -e -t "$SESSION" 2>/dev/null; }
esc=$(printf '\033')

mkdir -p "$WORK"
printf 'int main(void) {\n  /* note\n  int x; */\n  return 0;\n}\n' >"$WORK/main.c"
start_program main.c
wait_for 'TOP OF FILE'
[ -f "$WORK/cs/corvane.COL" ] || fail "the default keyword file is installed"
coloured | grep -q "${esc}\[[0-9;]*mreturn" || fail "return is coloured: $(coloured | grep return)"
coloured | grep "int x;" | grep -q "${esc}\[[0-9;]*mint x" && fail "int inside the comment is plain"

# Alt-K on the "{" of the first line goes to the "}" of the last.
key End
key Left
key M-k
wait_for 'Line 5     Row 1 '

# Ctrl-S: "0" replaced by "1" everywhere after the cursor; F2 saves.
key C-Home
key C-s
wait_for 'Search / Replace'
type_text '0'
key Tab
type_text '1'
key Tab
key Space
key Enter
wait_gone 'Search / Replace'
wait_for 'return 1;'
key F2
wait_for 'Filename :'
key Enter
wait_gone 'Filename :'
grep -q 'return 1;' "$WORK/main.c" || fail "the replacement is saved: $(cat "$WORK/main.c")"

# Command mode (the File menu's entry; Esc leaves the file in the COMMANDER layout): "/main"
# from the last line finds nothing.
key C-End
key F9
key c
type_text '/main'
key Enter
wait_for "String 'main' not found !"
key Enter

# The viewer from command mode shows the file coloured too.
key M-d
type_text '[CSVIEW] main.c'
key Enter
wait_for 'Delta'
coloured | grep -q "${esc}\[[0-9;]*mreturn" || fail "return is coloured in the viewer"
key Escape
wait_gone 'Delta'
key Escape
key F10
wait_for 'EXIT STATUS 0'
echo "PASS"
