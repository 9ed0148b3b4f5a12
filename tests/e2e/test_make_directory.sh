#!/usr/bin/env bash
# F7 in the COMMANDER layout: "Create path :" makes a nested path after its question, the
# panel shows the new directory; a path already there is taken silently.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-mkdir-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/keep"
start_program '/1D:\' '/2D:\keep'
wait_for 'D:\>'

key F7
wait_for 'Create path :'
tmux -L "$SOCKET" send-keys -t "$SESSION" -l 'new\deeper\deepest'
key Enter
wait_for "Create path 'D:\\new\\deeper\\deepest' ?"
key y
wait_gone 'Create path'
[ -d "$WORK/d/new/deeper/deepest" ] || fail "the nested path is made"
wait_for '║ new '

# Answered No, nothing is made.
key F7
wait_for 'Create path :'
tmux -L "$SOCKET" send-keys -t "$SESSION" -l 'other\path'
key Enter
wait_for "Create path 'D:\\other\\path' ?"
key n
wait_gone 'Create path'
[ -e "$WORK/d/other" ] && fail "No makes nothing"

key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
echo "PASS"
