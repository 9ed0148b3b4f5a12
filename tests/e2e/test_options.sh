#!/usr/bin/env bash
# What a terminal program is expected to answer before it takes the terminal: --help and
# --version (status 0, also through a pipe), an unknown option (status 2), and a start
# without a terminal (one line on standard error, status 1); none of them writes a setup file
# or changes the terminal's modes.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-options-$$"
. "$(dirname "$0")/e2e_lib.sh"
mkdir -p "$WORK/cs"
export CS="$WORK/cs"

# expect STATUS STDOUT-PATTERN STDERR-PATTERN ARGUMENTS...: one run without a terminal; the
# pattern "-" checks nothing.
expect() {
  local status=$1 out=$2 err=$3
  shift 3
  "$BINARY" "$@" </dev/null >"$WORK/out" 2>"$WORK/err"
  local got=$?
  [ "$got" = "$status" ] || fail "'$*' ended with $got, expected $status"
  [ "$out" = - ] || grep -qE -- "$out" "$WORK/out" || fail "'$*' printed: $(cat "$WORK/out")"
  [ "$err" = - ] || grep -qE -- "$err" "$WORK/err" || fail "'$*' said: $(cat "$WORK/err")"
}
expect 0 '^Usage: corvane .*' - --help
grep -q 'CORVANE_DRIVES' "$WORK/out" && grep -q 'man corvane' "$WORK/out" && grep -q '/ASC' "$WORK/out" ||
  fail "the usage names the switches, the environment and the manual page"
[ -s "$WORK/err" ] && fail "--help wrote to standard error"
expect 0 '^NT-Corvane [0-9]+\.[0-9]+$' - /Z50 --version
expect 2 - "unknown option '--bogus'" --bogus
[ -s "$WORK/out" ] && fail "--bogus printed to standard output"
expect 2 - "'--cwd-file' needs a file name" --cwd-file
expect 1 - '^corvane: standard input and output must be a terminal$' /Z50
[ "$(wc -l <"$WORK/err")" = 1 ] || fail "more than one line without a terminal"
[ -z "$(ls -A "$WORK/cs")" ] || fail "a file in the setup directory: $(ls -A "$WORK/cs")"

# In a terminal with the output piped: the terminal's modes are as before, nothing of the
# program's screen appears, and the status is 1.
{
  echo '#!/bin/bash'
  echo "export TERM=xterm-256color CS='$WORK/cs'"
  echo 'before=$(stty -g)'
  echo "'$BINARY' | cat"
  echo 'status=${PIPESTATUS[0]}'
  echo '[ "$(stty -g)" = "$before" ] && echo MODES KEPT'
  echo 'echo "EXIT STATUS $status"'
  echo 'sleep 600'
} >"$WORK/piped.sh"
tmux -L "$SOCKET" -f /dev/null new-session -d -s "$SESSION" -x 80 -y 25 "bash '$WORK/piped.sh'" ||
  fail "tmux did not start"
wait_for 'EXIT STATUS 1'
screen_text | grep -q 'MODES KEPT' || fail "the terminal's modes changed"
screen_text | grep -q 'must be a terminal' || fail "no message on the terminal"
[ "$(screen_text | grep -c .)" = 3 ] || fail "more than the message on the terminal"
[ -z "$(ls -A "$WORK/cs")" ] || fail "a file in the setup directory: $(ls -A "$WORK/cs")"
echo PASS
