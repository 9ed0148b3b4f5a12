#!/usr/bin/env bash
# The CORVANE layout's Alt-V, Alt-E, Alt-W and Alt-X: the configured viewer, editor and word
# processor, and a command typed at "Command :", run once for each selected file in list order.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-programs-$$"
. "$(dirname "$0")/e2e_lib.sh"

# wait_log TEXT: until log.txt holds exactly TEXT.
wait_log() {
  local deadline=$((SECONDS + 10))
  while ((SECONDS < deadline)); do
    [ "$(cat "$WORK/d/log.txt" 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  echo "log.txt: $(cat "$WORK/d/log.txt" 2>/dev/null)"
  fail "timed out waiting for the log: $1"
}

mkdir -p "$WORK/d"
for tag in V E W X; do
  printf 'echo "%s $1" >>log.txt\n' "$tag" >"$WORK/d/$tag.sh"
done
echo a >"$WORK/d/a.txt"
echo b >"$WORK/d/b.txt"
echo c >"$WORK/d/c.txt"

# A first start writes the setup file; the configured programs go into it (editor at byte 29,
# viewer at 110, word processor at 272, 81 bytes each).
start_program '/1D:\'
wait_for 'D:\>'
key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
python3 - "$WORK/cs/corvane.SET" <<'PYTHON' || fail "the setup file is patched"
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
for offset, command in ((29, b"/bin/sh E.sh"), (110, b"/bin/sh V.sh"), (272, b"/bin/sh W.sh")):
    data[offset:offset + 81] = command.ljust(81, b"\0")
open(path, "wb").write(bytes(data))
PYTHON

restart_program '/1D:\'
wait_for 'D:\>'
choose_corvane_layout

# Entries, by name in any case: a.txt, b.txt, c.txt, E.sh, (log.txt,) V.sh, W.sh, X.sh.
select_bc() {
  key Home
  key Down
  key '!'
  key '!'
}
run_for_selection() {
  tmux -L "$SOCKET" send-keys -t "$SESSION" "$1"
  sleep 0.2
  wait_for 'With confirmation ?'
  key n
}

select_bc
run_for_selection M-v
wait_log $'V b.txt\nV c.txt'
select_bc
run_for_selection M-e
wait_log $'V b.txt\nV c.txt\nE b.txt\nE c.txt'
select_bc
run_for_selection M-w
wait_log $'V b.txt\nV c.txt\nE b.txt\nE c.txt\nW b.txt\nW c.txt'

# Alt-X: the command typed once, run per file, each followed by the key prompt.
select_bc
tmux -L "$SOCKET" send-keys -t "$SESSION" M-x
wait_for 'Command :'
tmux -L "$SOCKET" send-keys -t "$SESSION" -l '/bin/sh X.sh'
key Enter
wait_for 'With confirmation ?'
key n
wait_for 'Press any key !'
key Enter
sleep 0.5
wait_for 'Press any key !'
key Enter
wait_log $'V b.txt\nV c.txt\nE b.txt\nE c.txt\nW b.txt\nW c.txt\nX b.txt\nX c.txt'
wait_for 'Att Cop Del Ed Fed'

key Escape
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'Setup data altered, save it ?'
key n
wait_for 'EXIT STATUS 0'
echo "PASS"
