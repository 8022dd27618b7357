#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine (in a virtual display when
# none is set). Installs what is missing first. Extra arguments go to the program.
set -euo pipefail
. "$(dirname "$0")/common.sh"
"$QB_ROOT/scripts/bootstrap.sh"
build_win
exe="$QB_BUILD/win/bin/QuireBinder.exe"
if [ ! -f "$exe" ]; then
    exe="$QB_BUILD/win/bin/quire.exe"
    set -- --help
fi
with_display env TIMEOUT=${TIMEOUT:-86400} "$QB_BUILD/win/wine-run.sh" "$exe" "$@"
