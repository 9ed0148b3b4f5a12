# Helpers for the end-to-end tests: the program in a private tmux server on a temporary
# directory, keys typed one at a time, the screen polled until it shows what is expected.
# Sourced by the test_*.sh scripts after they set SOCKET.

WORK=$(mktemp -d "${TMPDIR:-/tmp}/corvane-e2e.XXXXXX")
SESSION=main

e2e_cleanup() {
  tmux -L "$SOCKET" kill-server >/dev/null 2>&1
  rm -rf "$WORK"
}
trap e2e_cleanup EXIT

screen_text() { tmux -L "$SOCKET" capture-pane -p -t "$SESSION" 2>/dev/null; }

fail() {
  echo "FAIL: $*"
  echo "---- screen ----"
  screen_text
  exit 1
}

# wait_for TEXT [SECONDS]: until the screen shows TEXT.
wait_for() {
  local deadline=$((SECONDS + ${2:-10}))
  while ((SECONDS < deadline)); do
    screen_text | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  fail "timed out waiting for: $1"
}

# wait_gone TEXT [SECONDS]: until the screen no longer shows TEXT.
wait_gone() {
  local deadline=$((SECONDS + ${2:-10}))
  while ((SECONDS < deadline)); do
    screen_text | grep -qF -- "$1" || return 0
    sleep 0.1
  done
  fail "timed out waiting for the screen to lose: $1"
}

# resize COLUMNS ROWS: the terminal takes a new size.
resize() { tmux -L "$SOCKET" resize-window -t "$SESSION" -x "$1" -y "$2"; }

# One key per call, with a pause, so that Escape and a following letter never arrive
# together (which the terminal reads as Alt with that letter).
key() {
  tmux -L "$SOCKET" send-keys -t "$SESSION" "$1"
  sleep 0.2
}

# type_text TEXT: the characters of TEXT as typed keys.
type_text() {
  tmux -L "$SOCKET" send-keys -t "$SESSION" -l "$1"
  sleep 0.2
}

# wait_command_row TEXT: until the command line's row (24 of 25) is exactly TEXT.
wait_command_row() {
  local deadline=$((SECONDS + 10))
  while ((SECONDS < deadline)); do
    [ "$(screen_text | sed -n 24p)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "timed out waiting for the command line: $1"
}

# start_program ARGUMENTS...: writes a launcher that prints a marker on the user's screen,
# runs the program on drive D: = $WORK/d with its setup in $WORK/cs, then reports the exit
# status and waits; starts it in an 80 x 25 terminal (E2E_COLUMNS x E2E_ROWS when set). Shell
# lines in BEFORE_PROGRAM and AFTER_PROGRAM run right before and after the program.
start_program() {
  mkdir -p "$WORK/cs" "$WORK/tmp" "$WORK/d"
  {
    echo '#!/bin/sh'
    echo "export TERM=xterm-256color CS='$WORK/cs' TMP='$WORK/tmp' TEMP='$WORK/tmp'"
    echo "export CORVANE_DRIVES='D=$WORK/d'"
    echo "cd '$WORK'"
    echo 'echo BEFORE-THE-PROGRAM'
    echo "${BEFORE_PROGRAM:-}"
    # The program's own process id into program.pid (program_pid reads it).
    printf 'sh -c '"'"'echo $$ >"$0"; exec "$@"'"'"' "%s/program.pid" "%s"' "$WORK" "$BINARY"
    for argument in "$@"; do printf " '%s'" "$argument"; done
    echo
    echo 'status=$?'
    echo "${AFTER_PROGRAM:-}"
    echo 'echo "EXIT STATUS $status"'
    echo 'sleep 600'
  } >"$WORK/run.sh"
  tmux -L "$SOCKET" -f /dev/null new-session -d -s "$SESSION" -x "${E2E_COLUMNS:-80}" \
    -y "${E2E_ROWS:-25}" "sh '$WORK/run.sh'" ||
    fail "tmux did not start"
}

# restart_program ARGUMENTS...: ends the tmux server of the last start and starts the program
# again on a server of its own (one still shutting down would refuse the new session).
restart_program() {
  tmux -L "$SOCKET" kill-server >/dev/null 2>&1
  E2E_SOCKET_BASE=${E2E_SOCKET_BASE:-$SOCKET}
  E2E_RESTARTS=$((${E2E_RESTARTS:-0} + 1))
  SOCKET="$E2E_SOCKET_BASE-$E2E_RESTARTS"
  start_program "$@"
}

# The process id of the program.
program_pid() { cat "$WORK/program.pid"; }

# wait_file PATH [SECONDS]: until the entry exists.
wait_file() {
  local deadline=$((SECONDS + ${2:-10}))
  while ((SECONDS < deadline)); do
    [ -e "$1" ] || [ -L "$1" ] && return 0
    sleep 0.1
  done
  fail "timed out waiting for the file $1"
}

# wait_missing PATH [SECONDS]: until the entry is gone.
wait_missing() {
  local deadline=$((SECONDS + ${2:-10}))
  while ((SECONDS < deadline)); do
    [ -e "$1" ] || [ -L "$1" ] || return 0
    sleep 0.1
  done
  fail "timed out waiting for $1 to go"
}

# open_text_search: the File menu's " Text search " (COMMANDER layout) up to its form.
open_text_search() {
  key F9
  wait_for ' Autoview'
  key Right
  wait_for ' Text search'
  key t
  wait_for ' Define Textsearch '
}

# choose_corvane_layout: the setup menu's " Emulation" from the COMMANDER layout, CORVANE
# chosen, its command labels shown.
choose_corvane_layout() {
  key F9
  wait_for ' Autoview'
  key Left
  wait_for ' Emulation'
  key u
  wait_for 'COMMANDER'
  key c
  wait_for 'F1=HELP  ESC=End'
  wait_for 'Att Cop Del Ed Fed'
}

# launch_clean DIRECTORY NAME [VARIABLE=VALUE...] -- PROGRAM [ARGUMENT...]: PROGRAM started in
# DIRECTORY with nothing in its environment but TERM, PATH and the assignments, in a new
# 80 x 25 session NAME that takes the place of the current one; its standard error goes to
# $WORK/NAME.err and its exit status onto the screen ("EXIT STATUS n").
launch_clean() {
  local directory=$1 name=$2 earlier=$SESSION
  shift 2
  local assignments=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    assignments+=("$1")
    shift
  done
  shift
  SESSION=$name
  {
    echo '#!/bin/sh'
    printf "cd '%s'\n" "$directory"
    printf 'env -i TERM=xterm-256color PATH="$PATH"'
    for word in "${assignments[@]}" "$@"; do printf " '%s'" "$word"; done
    printf " 2>'%s'\n" "$WORK/$name.err"
    echo 'echo "EXIT STATUS $?"'
    echo 'sleep 600'
  } >"$WORK/$name.sh"
  tmux -L "$SOCKET" -f /dev/null new-session -d -s "$SESSION" -x 80 -y 25 \
    "sh '$WORK/$name.sh'" || fail "tmux did not start"
  tmux -L "$SOCKET" kill-session -t "$earlier" >/dev/null 2>&1
}
