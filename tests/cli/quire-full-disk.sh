#!/usr/bin/env bash
# quire.exe saves onto a really full disk under Wine: a 64 KiB tmpfs, mapped to a drive letter of
# the test's prefix. A book bigger than the disk must fail with the writer's message and leave the
# old file byte for byte and no temporary file; a smaller book then saves.
# Usage: quire-full-disk.sh WINEPREFIX RUNNER QUIRE_EXE
# Exit status 77 (skipped) when no tmpfs can be mounted here.
set -uo pipefail
prefix=$1
quire=("${@:2}")
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "mounting a small file system needs root"
disk=$(mktemp -d /tmp/qb-full-disk.XXXXXX)
work=$(mktemp -d)
drive=
cleanup() {
    [ -n "$drive" ] && rm -f "$prefix/dosdevices/$drive"
    mountpoint -q "$disk" && umount "$disk"
    rmdir "$disk"
    rm -rf "$work"
}
trap cleanup EXIT
mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null || skip "cannot mount a tmpfs here"

# Links left by an earlier run that was killed point at directories that are gone.
for link in "$prefix"/dosdevices/?:; do
    target=$(readlink "$link") || continue
    case $target in /tmp/qb-full-disk.*) [ -d "$target" ] || rm -f "$link" ;; esac
done
for letter in q r s t u v w x y; do
    if [ ! -e "$prefix/dosdevices/$letter:" ] && [ ! -L "$prefix/dosdevices/$letter:" ]; then
        ln -s "$disk" "$prefix/dosdevices/$letter:" && drive=$letter: && break
    fi
done
[ -n "$drive" ] || fail "no free drive letter in $prefix/dosdevices"
book="$drive\\book.book"

cd "$work"
printf xy >small.txt
head -c 200000 /dev/urandom >big.txt
head -c 8000 /dev/urandom >medium.txt

"${quire[@]}" pack -o "$book" -a Old small.txt || fail "the first, small book was not saved"
cp "$disk/book.book" old.book

"${quire[@]}" pack -o "$book" -a New big.txt 2>err.txt
status=$?
tr -d '\r' <err.txt >messages.txt
[ $status -eq 1 ] || fail "saving a book bigger than the disk gave exit status $status"
grep -qxF -e "quire: $book: cannot save: write error" -e "quire: $book: cannot save: cannot write: disk full?" \
    messages.txt || fail "no failed save with the writer's reason: $(cat messages.txt)"
cmp -s old.book "$disk/book.book" || fail "the old book changed"
[ "$(ls -A "$disk")" = "book.book" ] || fail "left behind on the disk: $(ls -A "$disk" | tr '\n' ' ')"

"${quire[@]}" pack -o "$book" -a Smaller medium.txt || fail "a book that fits was not saved"
"${quire[@]}" info "$book" | tr -d '\r' | grep -qx "Author: Smaller" || fail "the saved book reads wrong"
[ "$(ls -A "$disk")" = "book.book" ] || fail "left behind on the disk: $(ls -A "$disk" | tr '\n' ' ')"
echo "full disk under Wine: old book kept, then a smaller book saved"
