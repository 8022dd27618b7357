#!/usr/bin/env bash
# Smoke run of the Windows quire.exe: pack the one-chapter example book, compare it with the
# bytes it must have, check, inspect, unpack and pack it again; text conversion with Windows' own
# tables; wildcards the program expands itself, and file names outside the ANSI code page.
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

# Texts converted as the window's import converts them, with Windows' best-fit tables ("l" for
# "ł", where iconv has none); --strict writes nothing.
printf 'Caf\xc3\xa9 \xc5\x82 \xe2\x98\x85\n' >u8.txt
"${quire[@]}" pack -o u8.book u8.txt 2>err.txt || fail "pack of a UTF-8 text"
"${quire[@]}" unpack u8.book u8 || fail "unpack of the converted book"
[ "$(hex u8/1.txt)" = "436166e9206c200d0a" ] || fail "UTF-8 text not converted with best fit: $(hex u8/1.txt)"
tr -d '\r' <err.txt | grep -qF 'u8.txt (chapter 1): 2 characters cannot be stored in a Kelvra book: ł U+0142 (×1, line 1) → l' ||
    fail "losses not listed: $(cat err.txt)"
cp u8.book kept.book
if "${quire[@]}" pack --strict -o u8.book u8.txt 2>/dev/null; then fail "--strict wrote a book with losses"; fi
cmp -s u8.book kept.book || fail "--strict touched the old book"
# 0x81 has a character in Windows' 1252: the UTF-8 unpack keeps it in UTF-8, and the round trip holds.
printf '\x81\xe9\r\n' >raw.txt
"${quire[@]}" pack --encoding ansi -o raw.book raw.txt || fail "pack --encoding ansi"
"${quire[@]}" unpack --encoding utf-8 --codepage 1252 raw.book r8 2>err.txt || fail "unpack --encoding utf-8"
[ "$(hex r8/1.txt)" = "c281c3a90d0a" ] && [ ! -s err.txt ] || fail "0x81 not unpacked as UTF-8: $(hex r8/1.txt)"
[ "$(tr -d '\r' <r8/encoding)" = $'encoding utf-8\ncodepage 1252' ] || fail "marker: $(cat r8/encoding)"
"${quire[@]}" pack --from r8 -o raw2.book || fail "pack --from a UTF-8 folder"
cmp -s raw.book raw2.book || fail "UTF-8 round trip differs"

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
