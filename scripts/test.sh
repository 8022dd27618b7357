#!/usr/bin/env bash
# Builds everything and runs every test: native, native under ASan/UBSan, a short fuzz of the
# book reader, the Windows build under Wine in a virtual display, the static checks, and the
# release packages installed and removed once.
# Installs what is missing first. The long fuzz is scripts/fuzz.sh on its own.
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
step "fuzz (60 s)"         "$QB_ROOT/scripts/fuzz.sh" --seconds 60
step "windows build"       build_win
step "windows tests"       with_display ctest --test-dir "$QB_BUILD/win" --output-on-failure
step "static checks"       "$QB_ROOT/scripts/static-checks.sh"

# The release, end to end but once: build the three packages, then install and remove each.
release_version=$(sed -n 's/^project(QuireBinder VERSION \([0-9.]*\).*/\1/p' "$QB_ROOT/CMakeLists.txt")
release_dist=$QB_BUILD/dist
step "release build"       env QB_DIST="$release_dist" "$QB_ROOT/scripts/release.sh"
step "release: windows"    with_display "$QB_ROOT/tests/release/windows-test.sh" \
                           "$release_dist/QuireBinder-$release_version-setup.exe" \
                           "$release_dist/QuireBinder-$release_version-win32.zip" "$release_version"
step "release: deb"        with_display "$QB_ROOT/tests/release/deb-test.sh" \
                           "$release_dist/quire-binder_${release_version}_$(dpkg --print-architecture).deb" \
                           "$release_version"

if [ ${#failed[@]} -ne 0 ]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "all test steps passed"
