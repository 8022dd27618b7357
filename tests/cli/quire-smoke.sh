#!/usr/bin/env bash
# Smoke run of the Windows quire.exe: pack the one-chapter example book, compare it with the
# bytes it must have, check, inspect, unpack and pack it again; wildcards the program expands
# itself, and file names outside the ANSI code page.
# Usage: quire-smoke.sh RUNNER QUIRE_EXE
set -euo pipefail
quire=("$@")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

hex() { od -An -v -tx1 "$1" | tr -d ' \n'; }
zeros() { local i; for ((i = 0; i < $1; i++)); do printf 00; done; }
fail() { echo "FAILED: $*" >&2; exit 1; }

printf xy >C.txt
"${quire[@]}" pack -o one.book -a A -t T C.txt || fail "pack"
names=$(printf 'bookmark.bin_options.bin_title.txt_contents.txt_1.txt_' | od -An -v -tx1 | tr -d ' \n' |
        sed 's/5f/00/g')
expected="4b7600050068""00380000006e00000009""004500000077000000650051000000dc00000004"
expected+="005b000000e000000002""0068000000e200000003"
expected+="$names""00$(zeros 8)""00$(zeros 100)""00410a54""0043""007879"
[ "$(hex one.book)" = "$expected" ] || fail "one.book is not the 229-byte example"

"${quire[@]}" check one.book || fail "check of a valid book"
if "${quire[@]}" check C.txt 2>/dev/null; then fail "check of a text file"; fi
"${quire[@]}" info one.book | tr -d '\r' | grep -qx 'Chapters: 1' || fail "info"
"${quire[@]}" unpack one.book unpacked || fail "unpack"
"${quire[@]}" pack --from unpacked -o again.book || fail "pack --from"
cmp -s one.book again.book || fail "unpack then pack --from differs"

# Wine hands the program its command line as the locale's characters.
export LC_ALL=C.UTF-8
mkdir texts
printf one >texts/ch1.txt; printf two >texts/ch2.txt; printf ten >texts/ch10.txt
"${quire[@]}" pack -o wild.book 'texts\*.txt' || fail "pack with a wildcard"
"${quire[@]}" info wild.book | tr -d '\r' | grep -A3 -x 'Chapters: 3' | cut -s -f3 | tr '\n' ' ' |
    grep -qx 'ch1 ch2 ch10 ' || fail "wildcard not expanded in natural order"
printf 'jp' >'07 日本.txt'
"${quire[@]}" pack -o 'n日本.book' '07 日本.txt' 2>/dev/null || fail "pack of a name outside the code page"
"${quire[@]}" check 'n日本.book' || fail "check of a book named outside the code page"
echo "quire.exe smoke run passed"
