#!/usr/bin/env bash
# The start and the end: the title line with the system's name, the clock ticking in the top
# row, "/TST" showing the code of each key, and Escape giving the user's screen back; with
# "/ASC" or a locale without UTF-8 nothing but ASCII reaches the terminal.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-startup-$$"
. "$(dirname "$0")/e2e_lib.sh"

# A setup file that reaches just past the clock's seconds switch (offset 1158): the rest
# keeps its defaults, and the clock shows seconds, so it visibly ticks within a second.
mkdir -p "$WORK/cs"
head -c 1158 /dev/zero >"$WORK/cs/corvane.SET"
printf '\001\000' >>"$WORK/cs/corvane.SET"

start_program /TST
wait_for 'LINUX'
title=$(screen_text | sed -n 2p)
grep -q 'NT-Corvane 2.2' <<<"$title" || fail "the product title on the title line"
grep -qE 'LINUX [0-9]+\.[0-9]+ *$' <<<"$title" || fail "the system's name at the end of the title line"

clock() { screen_text | sed -n 1p | grep -oE '[0-9]{2}:[0-9]{2}:[0-9]{2}'; }
deadline=$((SECONDS + 5))
while [ -z "$(clock)" ] && ((SECONDS < deadline)); do sleep 0.1; done
first=$(clock)
[ -n "$first" ] || fail "a clock with seconds in the top row"
deadline=$((SECONDS + 5))
while [ "$(clock)" = "$first" ] && ((SECONDS < deadline)); do sleep 0.2; done
[ "$(clock)" != "$first" ] || fail "the clock did not tick"

# "/TST": the code of the key just read, Down being 0x0150.
key Down
wait_for 'Key 150'

key Escape
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
screen_text | grep -q 'BEFORE-THE-PROGRAM' || fail "the user's screen is back after the end"
screen_text | grep -q 'Exit CORVANESHELL' && fail "the program's screen is gone"

# Frames, the scroll bar, the cursor mark and names with control characters and accents, all
# as ASCII stand-ins: "/ASC" in a UTF-8 locale, then no switch in a locale without UTF-8.
for i in $(seq 1 40); do : >"$WORK/d/file$i"; done
: >"$WORK/d/caf$(printf '\303\251')"
: >"$WORK/d/ctl$(printf '\001')name"
for run in '/ASC:C.UTF-8' ':C'; do
  BEFORE_PROGRAM="export LC_ALL=${run#*:}"
  if [ -n "${run%%:*}" ]; then restart_program '/1D:\' "${run%%:*}"; else restart_program '/1D:\'; fi
  wait_for 'LINUX'
  wait_for 'file40'
  wait_for 'cafe'
  screen_text | LC_ALL=C grep -n '[^ -~]' && fail "only ASCII on the screen ($run)"
  key Escape
  wait_for 'Exit CORVANESHELL ?'
  key y
  wait_for 'EXIT STATUS 0'
done
echo PASS
