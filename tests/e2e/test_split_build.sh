#!/usr/bin/env bash
# Split and build from the Special menu of the CORVANE layout: an illegal size refused with
# the form kept, a 5 MB file split with the preset size into another directory, built back
# from there into a third one byte for byte, the pieces gone afterwards.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-split-$$"
. "$(dirname "$0")/e2e_lib.sh"

mkdir -p "$WORK/d/pieces" "$WORK/d/out"
head -c 5000000 /dev/urandom >"$WORK/d/movie.bin"

start_program '/1D:\' '/2D:\pieces'
wait_for ' D:\pieces '
choose_corvane_layout

# The cursor starts on out; movie.bin is the last entry.
key End
wait_for 'movie.bin'
key M-s
wait_for ' Split file'
key s
wait_for 'Define File Split'
wait_for 'Size        :   1450000'
type_text 291
key Enter
wait_for 'Illegal size'
key Enter
wait_for 'Size        :   291'
type_text 1450000
key Tab
type_text 'D:\pieces'
key Enter
wait_file "$WORK/d/pieces/MOVIE.003"
wait_for 'MOVIE   .003'
for n in 0 1 2; do
  [ "$(stat -c %s "$WORK/d/pieces/MOVIE.00$n")" = 1450000 ] || fail "piece $n holds 1450000 bytes"
done
[ "$(stat -c %s "$WORK/d/pieces/MOVIE.003")" = 650291 ] || fail "the last piece holds the rest"
[ -e "$WORK/d/pieces/MOVIE.004" ] && fail "no empty last piece"

# Build from the other panel's first piece into D:\out.
key Tab
wait_for 'MOVIE   .000'
key Home
key Down
key M-s
wait_for ' Build file'
key b
wait_for 'BUILD'
wait_for 'D:\pieces\MOVIE.000'
key Down
type_text 'D:\out'
key Enter
wait_file "$WORK/d/out/movie.bin" 20
wait_missing "$WORK/d/pieces/MOVIE.000"
cmp -s "$WORK/d/movie.bin" "$WORK/d/out/movie.bin" || fail "the built file equals the split one"
[ -z "$(ls -A "$WORK/d/pieces")" ] || fail "every piece is deleted after the build"
wait_gone 'MOVIE   .003'
echo "PASS"
