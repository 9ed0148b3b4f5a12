#!/usr/bin/env bash
# Runs the console self-test under Wine inside a pseudo-terminal of 100 x 30 (Wine gives a
# full console only there). The exe prints its result line; its status is the test's.
set -u
prefix=$1 exe=$2
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
result=$(mktemp)
trap 'rm -f "$result"' EXIT
# Wine's drive Z: is the root of the host's file system.
timeout --foreground -k 10 120 script -qec "stty cols 100 rows 30; wine '$exe' 'Z:$result'" \
  /dev/null </dev/null >/dev/null 2>&1
status=$?
cat "$result"
grep -q 'console self-test: [0-9]* passed, 0 failed' "$result" || exit 1
exit "$status"
