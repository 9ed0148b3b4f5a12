#!/usr/bin/env bash
# Printing in the CORVANE layout to a file port given by CORVANE_LPT1: "p" asks first and
# appends the file and a form feed; Alt-P prints the selected files one after the other.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-print-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d"
printf 'first page\r\n' >"$WORK/d/a.txt"
printf 'second page\r\n' >"$WORK/d/b.txt"
BEFORE_PROGRAM="export CORVANE_LPT1='$WORK/printer.out'"

start_program '/1D:\'
wait_for ' D:\ '
choose_corvane_layout

key Home
wait_for 'a.txt'
key p
wait_for "Print 'a.txt' ? "
key y
wait_file "$WORK/printer.out"
wait_gone 'Printing...'
printf 'first page\r\n\f' | cmp -s - "$WORK/printer.out" || fail "a.txt and a form feed printed"

# Both files selected, printed without confirmation after the first printout.
key Home
key '!'
key '!'
wait_for '2/2'
key M-p
wait_for 'With confirmation ?'
key n
wait_for '2/0'
printf 'first page\r\n\ffirst page\r\n\fsecond page\r\n\f' >"$WORK/expected"
deadline=$((SECONDS + 10))
until cmp -s "$WORK/expected" "$WORK/printer.out"; do
  ((SECONDS < deadline)) || fail "the first printout is kept and both files follow it: $(od -c "$WORK/printer.out" | head)"
  sleep 0.1
done
echo "PASS"
