#!/usr/bin/env bash
# Fuzzes the book reader, the text conversion and the RTF import check with libFuzzer (clang-14,
# ASan and UBSan) in a build tree of its own, <build>/fuzz. fuzz_load puts its inputs through
# LoadFromFile on a real file, as in the programs; fuzz_text through the text detection and
# conversion, and gets a quarter of the time; fuzz_rtf through the RTF check, an eighth.
#
#   scripts/fuzz.sh                 the long run: 30 CPU-minutes in one process (one core)
#   scripts/fuzz.sh --seconds N     N CPU-seconds (scripts/test.sh runs 60)
#
# The seeds (tests/fuzz/corpus, tests/fuzz/text/corpus, tests/fuzz/rtf/corpus) are only read;
# what the fuzzer learns is kept in <build>/fuzz/corpus (and corpus-text, corpus-rtf) and reused by
# the next run. An input that fails is written to <build>/fuzz/artifacts/ and the script fails;
# once the fault is mended, copy the input into tests/fuzz/crashes/ (or text/crashes/, rtf/crashes/),
# where fuzz_replay_test (or fuzz_text_replay_test, fuzz_rtf_replay_test) replays it in every
# native and ASan run.
set -uo pipefail
. "$(dirname "$0")/common.sh"

seconds=1800
if [ "${1:-}" = "--seconds" ] && [ -n "${2:-}" ]; then
    seconds=$2
elif [ $# -ne 0 ]; then
    echo "usage: scripts/fuzz.sh [--seconds N]" >&2
    exit 2
fi

dir=$QB_BUILD/fuzz
CC=clang-14 CXX=clang++-14 configure "$dir" -DQB_FUZZ=ON -DQB_BENCH=OFF || exit 1
cmake --build "$dir" -j "$QB_JOBS" --target fuzz_load fuzz_text fuzz_rtf >"$dir.build.log" 2>&1 ||
    { cat "$dir.build.log" >&2; exit 1; }

mkdir -p "$dir/corpus" "$dir/corpus-text" "$dir/corpus-rtf" "$dir/artifacts"

# Sets cpu to the processor seconds of the finished children so far. `times` must run in this
# shell: in a subshell it would see none of them.
read_cpu() {
    times >"$dir/times.txt"
    cpu=$(tail -1 "$dir/times.txt" | awk '{ total = 0
        for (i = 1; i <= 2; i++) { split($i, part, /[ms]/); total += part[1] * 60 + part[2] }
        printf "%d\n", total }')
}

# libFuzzer's -max_total_time counts wall time; on a shared machine that buys less processor
# time. Rounds go on, each with the corpus the last one left, until the processor time is spent.
echo "fuzz: $seconds CPU-seconds; log in $dir/fuzz.log"
: >"$dir/fuzz.log"
read_cpu
start=$cpu
status=0
# fuzz_target NAME SECONDS DICT LEARNED SEEDS
fuzz_target() {
    local name=$1 until=$(( $2 + cpu - start )) dict=$3 learned=$4 seeds=$5
    while :; do
        read_cpu
        left=$((start + until - cpu))
        [ "$left" -ge 1 ] || break
        (cd "$dir" && exec "$dir/bin/$name" -dict="$dict" \
            -rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=10 -max_total_time="$left" \
            -artifact_prefix="$dir/artifacts/" -print_final_stats=1 \
            "$learned" "$seeds") >>"$dir/fuzz.log" 2>&1
        status=$?
        [ $status -eq 0 ] || break
    done
}
text_seconds=$(( (seconds + 3) / 4 ))
rtf_seconds=$(( (seconds + 7) / 8 ))
fuzz_target fuzz_text "$text_seconds" "$QB_ROOT/tests/fuzz/text.dict" "$dir/corpus-text" "$QB_ROOT/tests/fuzz/text/corpus"
if [ $status -eq 0 ]; then
    fuzz_target fuzz_rtf "$rtf_seconds" "$QB_ROOT/tests/fuzz/rtf.dict" "$dir/corpus-rtf" \
        "$QB_ROOT/tests/fuzz/rtf/corpus"
fi
if [ $status -eq 0 ]; then
    fuzz_target fuzz_load "$((seconds - text_seconds - rtf_seconds))" "$QB_ROOT/tests/fuzz/load.dict" "$dir/corpus" \
        "$QB_ROOT/tests/fuzz/corpus"
fi

runs=$(awk '/^stat::number_of_executed_units:/ { total += $2 } END { print total + 0 }' "$dir/fuzz.log")
read_cpu
echo "fuzz: $((cpu - start)) CPU-seconds, $runs executions"
grep -E "DONE|ERROR|SUMMARY|runtime error" "$dir/fuzz.log" | tail -5
if [ $status -ne 0 ]; then
    echo "fuzz: FAILED (status $status); inputs in $dir/artifacts/:" >&2
    ls -l "$dir/artifacts" >&2
    exit 1
fi
echo "fuzz: no failure"
