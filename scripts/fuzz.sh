#!/usr/bin/env bash
# Fuzzes the book reader with libFuzzer (clang-14, ASan and UBSan) in a build tree of its own,
# <build>/fuzz. Inputs go through LoadFromFile on a real file, as in the programs.
#
#   scripts/fuzz.sh                 the long run: 30 CPU-minutes (about 30 minutes on one core)
#   scripts/fuzz.sh --seconds N     N seconds (scripts/test.sh runs 60)
#   QB_FUZZ_JOBS=2 scripts/fuzz.sh  more processes; the CPU time is shared out among them
#
# The seeds (tests/fuzz/corpus) are only read; what the fuzzer learns is kept in
# <build>/fuzz/corpus and reused by the next run. An input that fails is written to
# <build>/fuzz/artifacts/ and the script fails; once the fault is mended, copy the input into
# tests/fuzz/crashes/, where fuzz_replay_test replays it in every native and ASan run.
set -uo pipefail
. "$(dirname "$0")/common.sh"

seconds=1800
if [ "${1:-}" = "--seconds" ] && [ -n "${2:-}" ]; then
    seconds=$2
elif [ $# -ne 0 ]; then
    echo "usage: scripts/fuzz.sh [--seconds N]" >&2
    exit 2
fi
jobs=${QB_FUZZ_JOBS:-1}

dir=$QB_BUILD/fuzz
mkdir -p "$dir"
if [ ! -f "$dir/CMakeCache.txt" ]; then
    CC=clang-14 CXX=clang++-14 cmake -S "$QB_ROOT" -B "$dir" -DQB_FUZZ=ON -DQB_BENCH=OFF \
        >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log" >&2; exit 1; }
fi
cmake --build "$dir" -j "$QB_JOBS" --target fuzz_load >"$dir.build.log" 2>&1 ||
    { cat "$dir.build.log" >&2; exit 1; }

mkdir -p "$dir/corpus" "$dir/artifacts"
rm -f "$dir"/fuzz-*.log
options=(-dict="$QB_ROOT/tests/fuzz/load.dict" -rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=10
         -artifact_prefix="$dir/artifacts/" -print_final_stats=1)
if [ "$jobs" -gt 1 ]; then
    # Each job fuzzes for the whole time: split the CPU time among them.
    options+=(-jobs="$jobs" -workers="$jobs" -max_total_time=$((seconds / jobs)))
else
    options+=(-max_total_time="$seconds")
fi
echo "fuzz: ${seconds} CPU-seconds in $jobs process(es); log in $dir/fuzz.log"
# The target writes each input to a file; in memory that costs far less than on disk.
scratch=$dir
if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch=/dev/shm; fi
(cd "$dir" && TMPDIR="$scratch" "$dir/bin/fuzz_load" "${options[@]}" "$dir/corpus" \
    "$QB_ROOT/tests/fuzz/corpus") >"$dir/fuzz.log" 2>&1
status=$?
cat "$dir"/fuzz-*.log >>"$dir/fuzz.log" 2>/dev/null
grep -E "DONE|^stat::|ERROR|SUMMARY|runtime error" "$dir/fuzz.log" | tail -20
if [ $status -ne 0 ]; then
    echo "fuzz: FAILED (status $status); inputs in $dir/artifacts/:" >&2
    ls -l "$dir/artifacts" >&2
    exit 1
fi
echo "fuzz: no failure"
