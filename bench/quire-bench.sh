#!/usr/bin/env bash
# Whole-process timings of the quire tool beside cat of the same bytes, as a user of the tool
# waits for them: pack of 1000 files of 100 KiB (time and peak memory), then check and info of the
# book that makes (about 100 MB). Medians of N runs with their min-max; files in the temporary
# folder (QB_BENCH_DIR names another, /dev/shm leaves the disk out).
#   bench/quire-bench.sh QUIRE [runs]
set -euo pipefail
quire=$1
runs=${2:-7}
dir=$(mktemp -d "${QB_BENCH_DIR:-${TMPDIR:-/tmp}}/quire-bench.XXXXXX")
trap 'rm -rf "$dir"' EXIT

mkdir "$dir/texts"
head -c $((1000 * 100 * 1024)) /dev/urandom | split -a 4 -d -b $((100 * 1024)) --additional-suffix=.txt - "$dir/texts/ch"
files=("$dir"/texts/ch*.txt)

# seconds COMMAND...: wall time of one run, in seconds.
seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    echo "scale=6; ($end - $start) / 1000000000" | bc
}

# series NAME COMMAND...: runs it $runs times (after one warm-up) and sets median, low and high.
series() {
    local name=$1 times=() i
    shift
    "$@" >/dev/null
    for ((i = 0; i < runs; i++)); do times+=("$(seconds "$@")"); done
    mapfile -t times < <(printf '%s\n' "${times[@]}" | sort -g)
    median=${times[$((runs / 2))]} low=${times[0]} high=${times[$((runs - 1))]}
    printf '  %-34s median %8.4f s  (min-max %.4f-%.4f)\n' "$name" "$median" "$low" "$high"
}

# Peak resident memory of one run, in MiB.
peak() {
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1 | awk '{ printf "%.1f", $1 / 1024 }'
}

ratio() { echo "scale=2; $1 / $2" | bc; }

pack() { "$quire" pack -o "$dir/b.book" "${files[@]}"; }
concatenate() { cat "${files[@]}" >"$dir/cat.out"; }

echo "quire pack of ${#files[@]} files of 100 KiB, whole process"
series "cat of the same files into one file" concatenate
cat_pack=$median
series "quire pack -o b.book FILES" pack
quire_pack=$median
echo "  => pack takes $(ratio "$quire_pack" "$cat_pack") x cat (target: at most 1.1 x)"
echo "  => peak memory of pack $(peak "$quire" pack -o "$dir/b.book" "${files[@]}") MiB," \
     "of cat $(peak cat "${files[0]}") MiB (target: under 16 MiB whatever the book's size)"

size=$(stat -c %s "$dir/b.book")
echo "quire check and info of that book ($((size / 1000000)) MB), whole process"
series "cat of the book to /dev/null" cat "$dir/b.book"
cat_book=$median
series "quire check b.book" "$quire" check "$dir/b.book"
echo "  => check is $(ratio "$cat_book" "$median") x faster than cat (target: at least 5 x)"
series "quire info b.book" "$quire" info "$dir/b.book"
echo "  => info is $(ratio "$cat_book" "$median") x faster than cat (target: at least 5 x)"
