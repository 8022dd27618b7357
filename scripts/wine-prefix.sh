#!/usr/bin/env bash
# Creates a 32-bit Wine prefix set up for quiet, fast GUI tests. Idempotent.
# Usage: wine-prefix.sh PREFIX
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh PREFIX}
[ -f "$prefix/.quire-ready" ] && exit 0

export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$(dirname "$prefix")"
# Two callers may race on a fresh prefix; one creates it, the other waits.
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.quire-ready" ] && exit 0

wineboot -i >/dev/null 2>&1
# Debian's Wine does not copy its fonts into a prefix; without them dialog metrics change.
cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
reg=$(mktemp --suffix=.reg)
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
wine regedit /S "$reg" >/dev/null 2>&1
rm -f "$reg"
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
touch "$prefix/.quire-ready"
