#!/usr/bin/env bash
# start PREFIX: a persistent Wine server for the tests in PREFIX (made on first use), its
# services started once with their output going nowhere, so that no later test waits for
# them or holds a pipe of ctest open. stop PREFIX: ends that server and everything of it.
set -u
action=$1 prefix=$2
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
case $action in
  start)
    command -v wine >/dev/null || { echo "wine is not installed (make deps)"; exit 1; }
    mkdir -p "$prefix"
    setsid wineserver -p </dev/null >/dev/null 2>&1
    # The first start makes the prefix (about 45 s); later ones take a second.
    timeout --foreground -k 10 200 wine cmd /c exit 0 </dev/null >/dev/null 2>&1
    status=$?
    [ $status -eq 0 ] || { echo "wine did not start (status $status)"; exit 1; }
    echo "wine server ready in $prefix"
    ;;
  stop)
    wineserver -k </dev/null >/dev/null 2>&1
    echo "wine server stopped"
    ;;
  *)
    echo "usage: $0 start|stop PREFIX"
    exit 2
    ;;
esac
