#!/usr/bin/env bash
# Where the program keeps its files: CS=. keeps everything in the working directory, a CS
# that names no directory is not created, the program's directory serves only when it holds
# a setup file already, FIFOs in place of the program's own files never
# hang it, and without any setup directory it says so once and writes nothing.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-setupdir-$$"
. "$(dirname "$0")/e2e_lib.sh"

# A copy of the program in a directory of its own, so that the directory beside it can be
# watched too.
mkdir -p "$WORK/bin" "$WORK/d" "$WORK/home" "$WORK/tmp"
cp "$BINARY" "$WORK/bin/corvane"

# launch DIRECTORY VARIABLE=VALUE...: the program started in DIRECTORY with only the given
# environment (besides the terminal, the path and drive D:), reporting its exit status.
runs=0
launch() {
  local directory=$1
  shift
  runs=$((runs + 1))
  launch_clean "$directory" "run$runs" "$@" -- "$WORK/bin/corvane"
}

# run_command TEXT: types a command and runs it, back at the panels afterwards.
run_command() {
  type_text "$1"
  key Enter
  wait_for 'Press any key !'
  key x
  wait_for '1Help   2Menue'
}

leave() {
  key Escape
  wait_for 'Exit CORVANESHELL ?'
  key y
  wait_for 'EXIT STATUS 0'
}

# Only the named entries in a directory.
expect_entries() {
  local dir=$1
  shift
  local have want
  have=$(ls -A "$dir" | sort | tr '\n' ' ')
  want=$(printf '%s\n' "$@" | sed '/^$/d' | sort | tr '\n' ' ')
  [ "$have" = "$want" ] || fail "$dir holds '$have', expected '$want'"
}

root_history_before=$([ -e /CV._C_ ] && echo yes || echo no)

# CS=.: the setup file and every file beside it in the working directory, nothing elsewhere.
mkdir -p "$WORK/here"
launch "$WORK/here" CS=. "HOME=$WORK/home" "TMP=$WORK/tmp" "CORVANE_DRIVES=D=$WORK/d"
wait_for '1Help   2Menue'
run_command 'echo hi'
leave
[ -s "$WORK/here/corvane._C_" ] || fail "the history is written beside the setup file"
[ -s "$WORK/here/corvane.__S" ] || fail "the last directories are written beside the setup file"
[ -d "$WORK/here/CS.TRE" ] || fail "the tree cache directory is beside the setup file"
expect_entries "$WORK/bin" corvane
expect_entries "$WORK/home"
expect_entries "$WORK/tmp"
[ "$(ls -A "$WORK/here" | grep -c '\.cv')" = 0 ] || fail "a temporary file was left behind"

# A CS naming a missing directory: not created; the program's own directory is passed over
# (it holds no setup file), and the next directory of the chain, TMP, holds the setup file.
launch "$WORK/here" CS=missing "TMP=$WORK/tmp" "CORVANE_DRIVES=D=$WORK/d"
wait_for '1Help   2Menue'
leave
[ -e "$WORK/here/missing" ] && fail "the missing CS directory was created"
[ -s "$WORK/tmp/corvane.SET" ] || fail "the setup file falls back to TMP"
expect_entries "$WORK/bin" corvane
# A portable folder: the setup file copied beside the program makes its directory the setup
# directory.
mv "$WORK/tmp/corvane.SET" "$WORK/bin/"
rm -rf "$WORK/tmp" && mkdir "$WORK/tmp"
launch "$WORK/here" "TMP=$WORK/tmp" "CORVANE_DRIVES=D=$WORK/d"
wait_for '1Help   2Menue'
leave
[ -s "$WORK/bin/corvane.__S" ] || fail "the portable folder is not the setup directory"
expect_entries "$WORK/tmp"
rm -f "$WORK/bin/corvane".* && rm -rf "$WORK/bin/CS.TRE"

# FIFOs where the help, history, last-directories and associations files belong: start-up,
# F1, a command and the end go through without waiting on them.
mkdir -p "$WORK/fifo"
for extension in hlp _C_ __S pre; do mkfifo "$WORK/fifo/corvane.$extension"; done
launch "$WORK/here" "CS=$WORK/fifo" "CORVANE_DRIVES=D=$WORK/d"
wait_for '1Help   2Menue'
key F1
wait_for 'HELP'
wait_for 'Press any key !'
key Escape
wait_gone 'HELP'
run_command 'echo through'
leave
for extension in hlp _C_ __S pre; do
  [ -p "$WORK/fifo/corvane.$extension" ] || fail "corvane.$extension is no longer a FIFO"
done

# No setup directory at all (every candidate lies outside the drives): told once, and no file
# is written anywhere.
here_before=$(ls -A "$WORK/here")
launch "$WORK/here" "CORVANE_DRIVES=C=$WORK/d"
wait_for 'No setup directory'
key x
wait_for '1Help   2Menue'
run_command 'echo nowhere'
leave
expect_entries "$WORK/bin" corvane
expect_entries "$WORK/d"
[ "$(ls -A "$WORK/here")" = "$here_before" ] || fail "a file was written in the working directory"
[ "$root_history_before" = yes ] || [ ! -e /CV._C_ ] || fail "a history file at the root"
echo PASS
