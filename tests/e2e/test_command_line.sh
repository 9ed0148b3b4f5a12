#!/usr/bin/env bash
# The command line of the COMMANDER layout: a typed command runs and its file appears in the
# panel, "cd" moves the panel, the program's screen comes back unchanged after a command,
# Ctrl-O shows the output of earlier commands with a usable command line and Ctrl-O again
# brings the panels back.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-cmdline-$$"
. "$(dirname "$0")/e2e_lib.sh"

# The program's screen without its first row, where the clock ticks.
program_screen() { screen_text | tail -n +2; }

# wait_last_line TEXT: until the last line that is not empty is exactly TEXT.
wait_last_line() {
  local deadline=$((SECONDS + 10))
  while ((SECONDS < deadline)); do
    [ "$(screen_text | grep -v '^$' | tail -n 1)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "timed out waiting for the last line: $1"
}

# wait_key_prompt MARK: until a command's last output line MARK is followed by the key prompt
# (older prompts may still be on the user's screen).
wait_key_prompt() {
  local deadline=$((SECONDS + 10))
  local expected
  expected=$(printf '%s\nPress any key !' "$1")
  while ((SECONDS < deadline)); do
    [ "$(screen_text | grep -v '^$' | tail -n 2)" = "$expected" ] && return 0
    sleep 0.1
  done
  fail "timed out waiting for the key prompt after: $1"
}

# after_command MARK: the key prompt under the command's output, then a key back to the
# panels.
after_command() {
  wait_key_prompt "$1"
  key x
  wait_for '1Help   2Menue'
}

mkdir -p "$WORK/d/sub"
echo notes >"$WORK/d/notes.txt"

start_program '/1D:\' '/2D:\'
wait_for ' D:\ '
wait_for 'D:\>'
before=$(program_screen)

# A command that only prints: its output on the user's screen, then the same program screen.
type_text 'echo printed-by-the-command'
wait_for 'D:\>echo printed-by-the-command'
key Enter
wait_key_prompt 'printed-by-the-command'
screen_text | grep -q '║' && fail "the panels are put aside while the command runs"
key x
deadline=$((SECONDS + 10))
while [ "$(program_screen)" != "$before" ] && ((SECONDS < deadline)); do sleep 0.1; done
[ "$(program_screen)" = "$before" ] || {
  diff <(echo "$before") <(program_screen)
  fail "the program's screen is not the same after the command"
}

# A file made by a command shows in the panel.
type_text 'touch newfile && echo touched'
key Enter
after_command touched
[ -e "$WORK/d/newfile" ] || fail "the command ran in the panel's directory"
wait_for '║ newfile'
wait_command_row 'D:\>'

# Ctrl-O: the user's screen with the earlier output and the command line under it.
key C-o
wait_gone '1Help   2Menue'
wait_for 'printed-by-the-command'
wait_for 'D:\>'
screen_text | grep -q '║' && fail "the panels are hidden"
type_text 'touch made && echo made'
wait_for 'D:\>touch made && echo made'
key Enter
wait_key_prompt made
key x
# The prompt comes back on the line of the key prompt, under the command's output.
wait_last_line 'D:\>'
[ -e "$WORK/d/made" ] || fail "the command typed on the user's screen ran"
screen_text | grep -q '║' && fail "still the user's screen after a command run from it"
# The history works there too: Up brings the last command back.
key Up
wait_last_line 'D:\>touch made && echo made'
# A dialog brings the program's screen back for as long as it is open (F10 asks; Esc would
# clear the line first).
key F10
wait_for 'Exit CORVANESHELL ?'
key n
wait_gone 'Exit CORVANESHELL ?'
wait_last_line 'D:\>touch made && echo made'
screen_text | grep -q '║' && fail "the user's screen again after the dialog"
key C-o
wait_for '1Help   2Menue'
wait_for '║ made'
screen_text | grep -q 'D:\\>touch made && echo made' || fail "the command line keeps its text"

# "cd" changes the panel's directory; the prompt follows.
tmux -L "$SOCKET" send-keys -t "$SESSION" $(printf 'BSpace %.0s' $(seq 30))
wait_command_row 'D:\>'
type_text 'cd sub'
key Enter
wait_for ' D:\sub '
wait_for 'D:\sub>'

key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
screen_text | grep -q 'BEFORE-THE-PROGRAM' || fail "the user's screen is back after the end"

# The end right after a command: the title line below "Press any key !", not glued to it.
restart_program '/1D:\'
wait_for 'D:\>'
type_text 'echo the-last-command'
key Enter
after_command the-last-command
key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
screen_text | grep -q '^Press any key !$' || fail "the key prompt keeps its line"
screen_text | grep -q '^NT-Corvane 2.2 - ' || fail "the title line starts a line of its own"
echo PASS
