#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine (in a virtual display when none is set),
# from its build folder, where kvcomm.dll and QuireBinder.chm lie beside it. Installs what is
# missing first. Extra arguments go to the program (a .book file to open, say).
set -euo pipefail
. "$(dirname "$0")/common.sh"
"$QB_ROOT/scripts/bootstrap.sh"
build_win
with_display env TIMEOUT=${TIMEOUT:-86400} "$QB_BUILD/win/wine-run.sh" "$QB_BUILD/win/bin/QuireBinder.exe" "$@"
