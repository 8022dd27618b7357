#!/usr/bin/env bash
# Builds everything and runs every test: native, native under ASan/UBSan, and the
# Windows build under Wine in a virtual display. Installs what is missing first.
set -uo pipefail
. "$(dirname "$0")/common.sh"
"$QB_ROOT/scripts/bootstrap.sh" || exit 1

failed=()
step() {
    local name=$1; shift
    echo "=== $name"
    if ! "$@"; then failed+=("$name"); fi
}

step "native build"        build_native
step "native tests"        ctest --test-dir "$QB_BUILD/native" --output-on-failure -j "$QB_JOBS"
step "asan build"          build_asan
step "asan tests"          ctest --test-dir "$QB_BUILD/asan" --output-on-failure -j "$QB_JOBS"
step "windows build"       build_win
step "windows tests"       with_display ctest --test-dir "$QB_BUILD/win" --output-on-failure

if [ ${#failed[@]} -ne 0 ]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "all test steps passed"
