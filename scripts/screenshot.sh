#!/usr/bin/env bash
# Builds the Windows program, starts it under Wine in a virtual display, waits for its main
# window, writes a PNG of that window and closes the program again.
# Usage: scripts/screenshot.sh [OUTPUT.png]   (default: build/screenshot.png)
# The Windows tests run the second half (QB_SCREENSHOT_READY=1: built, display already there).
set -euo pipefail
. "$(dirname "$0")/common.sh"

caption="new.book - Kelvra Quire Binder"
out=$(realpath -m "${1:-$QB_BUILD/screenshot.png}")
win_build=${QB_WIN_BUILD:-$QB_BUILD/win}

if [ -z "${QB_SCREENSHOT_READY:-}" ]; then
    "$QB_ROOT/scripts/bootstrap.sh"
    QB_TARGETS=QuireBinder build_win
    mkdir -p "$(dirname "$out")"
    # Always a virtual display of its own, so the picture never depends on the desktop.
    exec env -u DISPLAY QB_SCREENSHOT_READY=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$out"
fi

runner="$win_build/wine-run.sh"
exe="$win_build/bin/QuireBinder.exe"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

TIMEOUT=120 "$runner" "$exe" </dev/null >"$tmp/program.log" 2>&1 &
program=$!

# Wait until the window is there and two captures in a row agree: it has finished painting.
deadline=$((SECONDS + 60))
previous=
while :; do
    if xwd -silent -name "$caption" >"$tmp/shot.xwd" 2>/dev/null; then
        current=$(md5sum <"$tmp/shot.xwd")
        [ "$current" = "$previous" ] && break
        previous=$current
    elif ! kill -0 "$program" 2>/dev/null; then
        echo "screenshot: QuireBinder.exe ended before its window appeared" >&2
        cat "$tmp/program.log" >&2
        exit 1
    fi
    if [ $SECONDS -ge $deadline ]; then
        echo "screenshot: no window \"$caption\" within 60 s" >&2
        kill "$program" 2>/dev/null || true
        exit 1
    fi
    sleep 0.3
done
mkdir -p "$(dirname "$out")"
xwdtopnm <"$tmp/shot.xwd" 2>/dev/null | pnmtopng >"$out"
echo "screenshot: $out"

# Close it the way a user would: WM_CLOSE to the program's windows (taskkill without /f).
TIMEOUT=30 "$runner" taskkill /im QuireBinder.exe >/dev/null 2>&1 || true
deadline=$((SECONDS + 20))
while kill -0 "$program" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    sleep 0.2
done
if kill -0 "$program" 2>/dev/null; then
    echo "screenshot: QuireBinder.exe did not close; stopping it" >&2
    kill "$program" 2>/dev/null || true
    exit 1
fi
wait "$program" 2>/dev/null || true
