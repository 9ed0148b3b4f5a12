#!/usr/bin/env bash
# Special menu " Command recursive ": "Search :" and "Command :"; the command runs once per
# matching file below the directory, each path one word however it is spelt, hidden
# directories left out. Esc typed while a command runs asks " Cancel operation ? " before the
# next one.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-cmdrec-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/src/sub dir" "$WORK/d/src/.git"
echo 1 >"$WORK/d/src/plain.c"
echo 2 >"$WORK/d/src/sub dir/it's; here.c"
echo 3 >"$WORK/d/src/.git/no.c"
echo 4 >"$WORK/d/src/not.h"

# recursive COMMAND: Special menu, " Command recursive " over D:\src\*.c.
recursive() {
  key F9
  wait_for ' Autoview'
  key Right
  key Right
  key Right
  wait_for ' Command recursive'
  key r
  wait_for 'Search :'
  type_text 'D:\src\*.c'
  key Enter
  wait_for 'Command :'
  type_text "$1"
  key Enter
}

start_program '/1D:\' '/2D:\'
wait_for 'D:\>'

recursive "printf '[%s]\\n' >>'$WORK/out'"
wait_for 'Press any key !'
key Enter
wait_file "$WORK/out"
wait_for '╔════════════════ D:\ '
sleep 0.5
sort "$WORK/out" >"$WORK/sorted"
printf '[%s]\n' "$WORK/d/src/plain.c" "$WORK/d/src/sub dir/it's; here.c" | sort >"$WORK/expected"
cmp -s "$WORK/sorted" "$WORK/expected" || fail "each file once as one word: $(cat "$WORK/out")"

# Esc while the first command sleeps: Y runs no further command.
recursive "sleep 1; printf '[%s]\\n' >>'$WORK/out2'"
sleep 0.3
key Escape
wait_for 'Cancel operation ?'
key y
wait_for '╔════════════════ D:\ '
sleep 0.5
[ "$(wc -l <"$WORK/out2")" -eq 1 ] || fail "Y after Esc ran no further command: $(cat "$WORK/out2")"

key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
echo "PASS"
