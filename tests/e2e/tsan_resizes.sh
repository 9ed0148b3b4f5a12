#!/usr/bin/env bash
# The program built with ThreadSanitizer: resized again and again (a burst included, and a
# size below the minimum) while its clock ticks every second and a menu is open, then ended.
# Any report of the sanitizer fails.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-tsan-$$"
. "$(dirname "$0")/e2e_lib.sh"

# Reports go to files $WORK/tsan.<pid>, not onto the screen.
export TSAN_OPTIONS="log_path=$WORK/tsan halt_on_error=0 exitcode=66 second_deadlock_stack=1"
reports() { cat "$WORK"/tsan.* 2>/dev/null; }

# The clock with seconds (setup offset 1158), so that it draws at every tick.
mkdir -p "$WORK/cs"
head -c 1158 /dev/zero >"$WORK/cs/corvane.SET"
printf '\001\000' >>"$WORK/cs/corvane.SET"
mkdir -p "$WORK/d"
for i in $(seq 1 30); do : >"$WORK/d/file$i"; done

resize() { tmux -L "$SOCKET" resize-window -t "$SESSION" -x "$1" -y "$2"; }

start_program '/1D:\'
wait_for 'LINUX' 30
[ -z "$(reports)" ] || fail "ThreadSanitizer at start: $(reports)"

for size in 100x30 80x24 132x43 90x28; do
  resize "${size%x*}" "${size#*x}"
  sleep 0.7
done
# A burst within a second, through a size below the minimum, and back.
for size in 1x1 300x100 60x20 80x24; do resize "${size%x*}" "${size#*x}"; done
sleep 1.5
# A menu open across a resize while the clock keeps ticking.
key F9
resize 100 30
sleep 1
key Escape
resize 80 25
wait_for 'file1' 30
sleep 2  # two more ticks of the clock on the final size

key F10
wait_for 'Exit CORVANESHELL ?' 30
key y
wait_for 'EXIT STATUS' 30
screen_text | grep -q 'EXIT STATUS 0' || fail "the program ended with $(screen_text | grep 'EXIT STATUS')"
[ -z "$(reports)" ] || {
  reports
  fail "ThreadSanitizer reported"
}
echo PASS
