#!/usr/bin/env bash
# Starts or stops the Wine server of one build's prefix around a CTest run.
# Usage: wine-server.sh start|stop WINE_RUN_SCRIPT [KEEPALIVE_EXE]
# Everything started here has its descriptors on /dev/null, so CTest never waits on it.
set -uo pipefail
action=$1 runner=$2 keepalive=${3:-}
prefix=$(sed -n 's/^export WINEPREFIX="${QB_WINEPREFIX:-\(.*\)}"$/\1/p' "$runner")
prefix=${QB_WINEPREFIX:-$prefix}
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
case $action in
start)
    "$(dirname "$0")/wine-prefix.sh" "$prefix" || exit 1
    wineserver -p </dev/null >/dev/null 2>&1
    if [ -n "$keepalive" ]; then
        # Lives until the cleanup's wineserver -k, however long the whole run takes.
        TIMEOUT=86400 setsid "$runner" "$keepalive" </dev/null >/dev/null 2>&1 &
        # Wait until the desktop process is up: a test that started it would hand it the
        # test's output pipe, and CTest would wait for it until the timeout.
        TIMEOUT=60 "$runner" "$keepalive" --once </dev/null >/dev/null 2>&1
    fi
    TIMEOUT=60 "$runner" cmd /c exit </dev/null >/dev/null 2>&1
    exit 0 ;;
stop)
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    exit 0 ;;
*)
    echo "usage: wine-server.sh start|stop WINE_RUN_SCRIPT [KEEPALIVE_EXE]" >&2; exit 2 ;;
esac
