#!/usr/bin/env bash
# Directory menu, COMMANDER layout: " Directory size " reports the cursor directory's files and
# bytes (hidden directories counted, a link loop and a link to a big directory elsewhere not
# followed) and shows the size in place of <DIR>; " All directory sizes " does every directory.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-dirsize-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/aaa/.cache" "$WORK/d/bbb" "$WORK/big"
head -c 1000 /dev/zero >"$WORK/d/aaa/k"
head -c 234 /dev/zero >"$WORK/d/aaa/.cache/h"
head -c 50 /dev/zero >"$WORK/d/bbb/x"
head -c 99999 /dev/zero >"$WORK/big/far"
ln -s "$WORK/d/aaa" "$WORK/d/aaa/loop"
ln -s "$WORK/big" "$WORK/d/bbb/big"

start_program '/1D:\' '/2D:\'
wait_for 'D:\>'

directory_menu() {
  key F9
  wait_for ' Autoview'
  key Right
  key Right
  wait_for ' All directory sizes'
}

wait_for '║+aaa'
directory_menu
key d
wait_for '2 Files found, total size 1234 Bytes'
key Enter
wait_for ' 1.234 ....'

directory_menu
key a
wait_gone ' All directory sizes'
key Down
wait_for '║bbb                         50 ....'
key Up
wait_for ' 1.234 ....'

key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
echo "PASS"
