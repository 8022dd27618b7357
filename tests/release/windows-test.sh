#!/usr/bin/env bash
# The Windows release as a user meets it, in a fresh Wine prefix. The installer: a silent install,
# the files, the Start-menu shortcut, the uninstall entry and the ".book" association; the program
# started from its shortcut and a book opened through the association; a silent uninstall that
# leaves nothing of the program behind but the user's book and settings. Then the zip: unpacked
# into any folder, the program starts from there.
# Usage: windows-test.sh SETUP_EXE ZIP VERSION   (inside an X display)
set -euo pipefail
. "$(dirname "$0")/release-test-lib.sh"
setup=$(readlink -f "$1") zip=$(readlink -f "$2") version=$3
root=$(cd "$(dirname "$0")/../.." && pwd)

tmp=$(mktemp -d)
export WINEPREFIX=$tmp/prefix WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"

# reg_value KEY [NAME]: the data of a value ("" for the unnamed one), or nothing.
reg_value() {
    local args=(/ve)
    [ -n "${2:-}" ] && args=(/v "$2")
    wine reg query "$1" "${args[@]}" 2>/dev/null | tr -d '\r' |
        sed -n 's/^    [^ ].*    REG_[A-Z_]*    //p'
}
# The whole of the user's registry and the machine's classes, as text.
registry_dump() {
    local key
    for key in HKEY_CURRENT_USER 'HKEY_LOCAL_MACHINE\Software\Classes'; do
        wine regedit /E "$tmp/dump.reg" "$key" >/dev/null 2>&1
        iconv -f UTF-16 -t UTF-8 "$tmp/dump.reg" | tr -d '\r'
    done
}

timeout 120 wine "$setup" /S || fail "silent install"
# The prefix's one user besides Public, whatever Wine named it.
user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
profile=$user_dir/AppData
dir="$profile/Local/Programs/Kelvra Quire Binder"
shortcut="$profile/Roaming/Microsoft/Windows/Start Menu/Programs/Kelvra Quire Binder.lnk"
uninst='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\KelvraQuireBinder'
for f in QuireBinder.exe kvcomm.dll QuireBinder.chm quire.exe README.txt LICENSE.txt Uninstall.exe; do
    [ -f "$dir/$f" ] || fail "$f not installed in $dir"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
windir=$(reg_value "$uninst" InstallLocation)
[ "$(winepath -u "$windir")" -ef "$dir" ] || fail "InstallLocation '$windir'"
exe="$windir\\QuireBinder.exe"

# key|value name|expected data
while IFS='|' read -r key name expected; do
    actual=$(reg_value "$key" "$name")
    [ "$actual" = "$expected" ] || fail "$key [$name]: '$actual', expected '$expected'"
done <<EOF
$uninst|DisplayName|Kelvra Quire Binder
$uninst|DisplayVersion|$version
$uninst|UninstallString|"$windir\\Uninstall.exe"
$uninst|QuietUninstallString|"$windir\\Uninstall.exe" /S
HKCU\\Software\\Classes\\.book||Folioview\`s Book
HKCU\\Software\\Classes\\Folioview\`s Book\\DefaultIcon||$exe,0
HKCU\\Software\\Classes\\Folioview\`s Book\\shell\\open\\command||"$exe" "%1"
EOF

# Started from the Start menu, then closed; a book made with the installed quire.exe opens
# through the association. (Wine's start returns at once here: the windows tell the story.)
wine start "$(winepath -w "$shortcut")" </dev/null >/dev/null 2>&1
wait_for_window "new.book - Kelvra Quire Binder"
close_program "new.book - Kelvra Quire Binder"
docs=$user_dir/Documents
printf 'Once upon a time.\r\n' >"$tmp/Opening.txt"
timeout 60 wine "$dir/quire.exe" pack -o "$(winepath -w "$docs")\\some.book" -a Author -t Title \
    "$(winepath -w "$tmp/Opening.txt")" >/dev/null || fail "installed quire.exe pack"
wine start "$(winepath -w "$docs/some.book")" </dev/null >/dev/null 2>&1
wait_for_window "some.book - Kelvra Quire Binder"
close_program "some.book - Kelvra Quire Binder"
timeout 60 wineserver -w || fail "a process of the prefix did not end"
settings_before=$(registry_dump | sed -n '/^\[HKEY_CURRENT_USER\\Software\\Kelvra/,/^$/p')

# The uninstaller runs from a copy of itself: wait until every process of the prefix has ended.
timeout 120 wine "$dir/Uninstall.exe" /S || fail "silent uninstall"
timeout 60 wineserver -w
[ ! -e "$dir" ] || fail "the program folder is still there: $(ls "$dir")"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
[ -f "$docs/some.book" ] || fail "the user's book went with the program"
left=$(registry_dump | grep -v '^\[HKEY_CURRENT_USER\\Software\\Kelvra' |
       grep -i -F -e 'quirebinder' -e 'quire binder' -e 'quire.exe' -e 'folioview' -e '\.book]' || true)
[ -z "$left" ] || fail "left in the registry: $left"
settings_after=$(registry_dump | sed -n '/^\[HKEY_CURRENT_USER\\Software\\Kelvra/,/^$/p')
[ "$settings_after" = "$settings_before" ] || fail "the user's settings changed on uninstall"

unpacked="$WINEPREFIX/drive_c/any folder"
mkdir -p "$unpacked"
unzip -q "$zip" -d "$unpacked"
folder="$unpacked/QuireBinder-$version"
[ "$(ls "$folder" | tr '\n' ' ')" = "LICENSE.txt QuireBinder.chm QuireBinder.exe README.txt kvcomm.dll quire.exe " ] ||
    fail "the zip holds: $(ls "$folder")"
grep -q "Kelvra Quire Binder $version"$'\r$' "$folder/README.txt" || fail "README.txt: no CR LF or version"
(cd /tmp && wine "$folder/QuireBinder.exe" "$(winepath -w "$docs/some.book")" </dev/null >/dev/null 2>&1) &
pid=$!
wait_for_window "some.book - Kelvra Quire Binder" $pid
close_program "some.book - Kelvra Quire Binder"
echo "windows test passed"
