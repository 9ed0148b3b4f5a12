#!/usr/bin/env bash
# Signals from outside: SIGUSR1 ends the program with the terminal given back exactly as it
# was; SIGTERM ends it without questions, the last directories written; SIGINT asks
# "Abort program " with No preselected, and Yes ends it with status 255; the terminal hanging
# up (its window closed) ends it with the last directories written whole, nothing left beside.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-signals-$$"
. "$(dirname "$0")/e2e_lib.sh"

BEFORE_PROGRAM="stty -a >'$WORK/stty.before'"
AFTER_PROGRAM="stty -a >'$WORK/stty.after'"

# terminal_given_back STATUS: the launcher saw STATUS, the modes are the ones from before the
# start, the user's screen is shown, mouse reporting is off.
terminal_given_back() {
  wait_for "EXIT STATUS $1"
  diff "$WORK/stty.before" "$WORK/stty.after" >&2 || fail "the terminal modes differ after the end"
  screen_text | grep -q 'BEFORE-THE-PROGRAM' || fail "the user's screen is back"
  local modes
  modes=$(tmux -L "$SOCKET" display-message -p -t "$SESSION" '#{alternate_on}#{mouse_any_flag}')
  [ "$modes" = 00 ] || fail "alternate screen and mouse reporting are off (got $modes)"
}

restart() {
  rm -f "$WORK/stty.before" "$WORK/stty.after"
  restart_program "$@"
  wait_for 'LINUX'
}

mkdir -p "$WORK/d/left" "$WORK/d/right"

# A signal that means nothing to the program: it dies of it, the terminal restored.
restart
kill -USR1 "$(program_pid)"
terminal_given_back 138

# SIGTERM: no question, the directories of both panels in the ".__S" file.
restart '/1D:\left' '/2D:\right'
wait_for ' D:\right '
kill -TERM "$(program_pid)"
terminal_given_back 0
[ "$(cat "$WORK/cs/corvane.__S")" = "$(printf 'D:\\left\nD:\\right')" ] ||
  fail "the last directories are written: $(cat "$WORK/cs/corvane.__S" 2>&1)"
screen_text | grep -q '^NT-Corvane 2.2 - ' || fail "the title line below the user's screen"

# SIGINT: the question; Enter takes the preselected No and the program goes on.
restart
kill -INT "$(program_pid)"
wait_for 'Abort program'
key Enter
wait_gone 'Abort program'
key Down
kill -0 "$(program_pid)" 2>/dev/null || fail "the program goes on after No"
kill -INT "$(program_pid)"
wait_for 'Abort program'
key y
terminal_given_back 255

# The terminal hangs up: the hang-up's signal does not cut the last directories' writing short.
for round in 1 2 3; do
  rm -f "$WORK/cs/corvane.__S"
  restart '/1D:\left' '/2D:\right'
  wait_for ' D:\right '
  pid=$(program_pid)
  tmux -L "$SOCKET" kill-server
  deadline=$((SECONDS + 10))
  while kill -0 "$pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.1; done
  [ "$(cat "$WORK/cs/corvane.__S" 2>&1)" = "$(printf 'D:\\left\nD:\\right')" ] ||
    fail "round $round: the last directories are written: $(cat "$WORK/cs/corvane.__S" 2>&1)"
  leftover=$(find "$WORK/cs" -name '.corvane.*')
  [ -z "$leftover" ] || fail "round $round: a temporary was left: $leftover"
done
echo PASS
