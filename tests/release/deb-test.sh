#!/usr/bin/env bash
# The Debian package as a user meets it: installed with dpkg, quire run on a book, quire-binder
# opening that book under Wine in a prefix it makes for a fresh user, then removed again.
# dpkg works on a root of its own here, so the test never changes the machine; QB_DEB_SYSTEM=1
# installs into the machine itself instead (root, and quire-binder not installed already).
# Usage: deb-test.sh DEB VERSION   (inside an X display)
set -euo pipefail
. "$(dirname "$0")/release-test-lib.sh"
deb=$(readlink -f "$1") version=$2

tmp=$(mktemp -d)
trap 'WINEPREFIX=$tmp/home/.local/share/quire-binder wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
if [ -n "${QB_DEB_SYSTEM:-}" ]; then
    root=
    dpkg_cmd=(dpkg)
else
    root=$tmp/root
    mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
    touch "$root/var/lib/dpkg/status"
    # Wine and the libraries are on the machine, not in this root.
    dpkg_cmd=(dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless)
fi
"${dpkg_cmd[@]}" -i "$deb" >"$tmp/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$tmp/dpkg.log")"
files=$("${dpkg_cmd[@]}" -L quire-binder)
for f in /usr/bin/quire /usr/bin/quire-binder /usr/lib/quire-binder/QuireBinder.exe \
         /usr/lib/quire-binder/kvcomm.dll /usr/lib/quire-binder/QuireBinder.chm \
         /usr/share/applications/quire-binder.desktop /usr/share/mime/packages/quire-binder.xml \
         /usr/share/icons/hicolor/32x32/apps/quire-binder.png /usr/share/man/man1/quire.1.gz; do
    grep -qx "$f" <<<"$files" || fail "$f is not in the package"
    [ -e "$root$f" ] || fail "$f was not installed"
done

# A file manager finds the book type: the MIME database built from the package's XML knows it.
mkdir -p "$tmp/mime/packages"
cp "$root/usr/share/mime/packages/quire-binder.xml" "$tmp/mime/packages/"
update-mime-database "$tmp/mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -q '^50:application/x-folioview-book:\*\.book$' "$tmp/mime/globs2" || fail "no MIME type for *.book"

quire=$root/usr/bin/quire
cd "$tmp"
# The version option comes with the tool itself; until then only the rest is checked.
if "$quire" --version >"$tmp/version" 2>/dev/null; then
    grep -qF "$version" "$tmp/version" || fail "quire --version says $(cat "$tmp/version")"
else
    echo "note: quire has no --version yet"
fi
printf 'Once upon a time.\n' >Opening.txt
"$quire" pack -o some.book -a Author -t Title Opening.txt || fail "quire pack"
info=$("$quire" info some.book) || fail "quire info"
for line in "Author: Author" "Title: Title" "Chapters: 1"; do
    grep -qxF "$line" <<<"$info" || fail "quire info lacks '$line': $info"
done

# A user who never ran it: the launcher makes the prefix, then the window shows the book.
export HOME=$tmp/home
unset XDG_DATA_HOME WINEPREFIX
mkdir -p "$HOME"
"$root/usr/bin/quire-binder" some.book </dev/null >"$tmp/launcher.log" 2>&1 &
pid=$!
wait_for_window "some.book - Kelvra Quire Binder" $pid
prefix=$HOME/.local/share/quire-binder
[ -d "$prefix/drive_c" ] || fail "no Wine prefix in $prefix"
WINEPREFIX=$prefix close_program "some.book - Kelvra Quire Binder"
wait $pid || fail "quire-binder ended with $?: $(cat "$tmp/launcher.log")"
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true

"${dpkg_cmd[@]}" --purge quire-binder >"$tmp/dpkg.log" 2>&1 || fail "dpkg --purge: $(cat "$tmp/dpkg.log")"
for f in $files; do
    [ -d "$root$f" ] || [ ! -e "$root$f" ] || fail "$f is still there after removal"
done
if [ -n "$root" ]; then
    left=$(cd "$root" && find . -path ./var -prune -o -type f -print)
    [ -z "$left" ] || fail "left after removal: $left"
fi
echo "deb test passed"
