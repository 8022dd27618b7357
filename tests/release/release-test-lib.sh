# Shared by the release tests: failing, and waiting on the program's windows in the X display.
export LC_ALL=C
fail() { echo "FAILED: $*" >&2; exit 1; }

# wait_for_window CAPTION [PID]: until a top-level window of that caption is on the display;
# fails after 90 s, or when PID (the process that runs the program) ends first.
wait_for_window() {
    local caption=$1 pid=${2:-} deadline=$((SECONDS + 90))
    until xwininfo -name "$caption" >/dev/null 2>&1; do
        [ -z "$pid" ] || kill -0 "$pid" 2>/dev/null || fail "the program ended before \"$caption\" appeared"
        [ $SECONDS -lt $deadline ] || fail "no window \"$caption\" within 90 s"
        sleep 0.3
    done
}

# close_program CAPTION: closes QuireBinder.exe as a user would (WM_CLOSE, through taskkill
# without /f, in the current WINEPREFIX) and waits until its window is gone.
close_program() {
    local caption=$1 deadline=$((SECONDS + 30))
    timeout 30 wine taskkill /im QuireBinder.exe >/dev/null 2>&1 || true
    while xwininfo -name "$caption" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || fail "\"$caption\" did not close"
        sleep 0.2
    done
}
