#!/usr/bin/env bash
# Runs the benchmarks, which scripts/test.sh only smoke-tests: bench_book (native: save and load of
# a 1000 x 100 KiB book beside a plain copy), window_bench (under Wine in a virtual display:
# opening books of 100 to 1895 chapters on the real main window, a keystroke in a 1 MiB chapter,
# showing a 1 MiB chapter after another and deleting or replacing the whole of one, each beside
# its baseline and its target), text_bench (under Wine: converting a 1 MiB UTF-8 file as the
# import does), and bench/quire-bench.sh (native: the quire tool's pack, check and info as whole
# processes beside cat of the same bytes). Builds what they need first. Other work on the machine
# shows in the figures: compare the min-max spreads, and measure again when it is quiet.
#
#   scripts/bench.sh [--native-only | --window-only | --quire-only] [window_bench options: --reps=N --keys=N
#                    --only=open,keystroke,bigtext,files,find (those parts of it only)]
set -euo pipefail
. "$(dirname "$0")/common.sh"

native=1 window=1 quire=1
case "${1:-}" in
--native-only) window=0; shift ;;
--window-only) native=0; quire=0; shift ;;
--quire-only) native=0; window=0; shift ;;
esac

"$QB_ROOT/scripts/bootstrap.sh"
if [ $native -eq 1 ]; then
    QB_TARGETS=bench_book build_native
    echo "=== bench_book (native)"
    "$QB_BUILD/native/bin/bench_book"
fi
if [ $quire -eq 1 ]; then
    QB_TARGETS=quire build_native
    echo "=== quire (native, whole process)"
    "$QB_ROOT/bench/quire-bench.sh" "$QB_BUILD/native/bin/quire"
fi
if [ $window -eq 1 ]; then
    QB_TARGETS="window_bench text_bench" build_win
    echo "=== window_bench (under Wine)"
    status=0
    with_display env TIMEOUT=${TIMEOUT:-3600} "$QB_BUILD/win/wine-run.sh" \
        "$QB_BUILD/win/bin/window_bench.exe" "$@" || status=$?
    echo "=== text_bench (under Wine): a 1 MiB UTF-8 import's conversion"
    env TIMEOUT=${TIMEOUT:-3600} "$QB_BUILD/win/wine-run.sh" "$QB_BUILD/win/bin/text_bench.exe" || status=$?
    # Leave no Wine server of the build's prefix behind.
    WINEPREFIX="$QB_BUILD/win/wineprefix" wineserver -k 2>/dev/null || true
    exit $status
fi
