#!/usr/bin/env bash
# Names and pastes never run what the user did not type: a file named 'a;touch INJECTED;b'
# put on the command line with Ctrl-J is one word when the line runs; ";" inside quotes or
# after a backslash stays with its command; a paste that does not fit the command line is
# refused whole instead of being cut.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-safety-$$"
. "$(dirname "$0")/e2e_lib.sh"

# run_line MARK: Enter, the key prompt under the command's last output line MARK, a key back.
run_line() {
  key Enter
  local deadline=$((SECONDS + 10)) expected
  expected=$(printf '%s\nPress any key !' "$1")
  while [ "$(screen_text | grep -v '^$' | tail -n 2)" != "$expected" ]; do
    ((SECONDS < deadline)) || fail "timed out waiting for the output: $1"
    sleep 0.1
  done
  key x
  wait_for '1Help   2Menue'
}

# paste TEXT: a bracketed paste, as a terminal delivers one.
paste() {
  tmux -L "$SOCKET" set-buffer -- "$1"
  tmux -L "$SOCKET" paste-buffer -p -t "$SESSION"
  sleep 0.3
}

mkdir -p "$WORK/d"
printf 'inside-the-file\n' >"$WORK/d/a;touch INJECTED;b"

start_program '/1D:\' '/2D:\'
wait_for 'D:\>'
key Down
type_text 'cat'
key C-j
wait_command_row "D:\\>cat 'a;touch INJECTED;b'"
run_line 'inside-the-file'
[ -e "$WORK/d/INJECTED" ] && fail "a file name ran a command"

# (A blank after the ";": tmux takes an argument ending in ";" as its own separator.)
type_text "find . -name 'a;*' -exec echo found {} \\; "
run_line 'found ./a;touch INJECTED;b'
type_text "echo 'x;y'"
run_line 'x;y'
[ -e "$WORK/d/INJECTED" ] && fail "a quoted or escaped ; ended a command"

# A paste that fits goes in; one longer than the line (260 characters) is refused whole.
paste 'echo pasted'
wait_command_row 'D:\>echo pasted'
paste "; touch CUT $(printf 'x%.0s' $(seq 300))"
wait_for 'Paste too long, not inserted'
wait_command_row 'D:\>echo pasted'
run_line 'pasted'
[ -e "$WORK/d/CUT" ] && fail "a paste was cut and run"

key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
echo PASS
