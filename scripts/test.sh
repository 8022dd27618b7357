#!/usr/bin/env bash
# Builds everything and runs every test: native, native under ASan/UBSan, a short fuzz of the
# book reader, the Windows build under Wine in a virtual display, the static checks, and the
# release packages installed and removed once.
# Installs what is missing first. The long fuzz is scripts/fuzz.sh on its own.
set -uo pipefail
. "$(dirname "$0")/common.sh"
"$QB_ROOT/scripts/bootstrap.sh" || exit 1

# The test programs each tree must have. A tool or a library that went missing must not quietly
# leave one out: the run fails instead. New programs may be added here; none is ever optional.
core_tests="book_model_test container_test book_file_test malformed_file_test malformed_corpus_test
    safe_save_test kvname_test text_converter_test rtf_check_test chapter_split_test"
native_tests="$core_tests quire_cli_test fuzz_replay_test fuzz_text_replay_test fuzz_rtf_replay_test bench_book_smoke"
asan_tests="$core_tests quire_cli_test fuzz_replay_test fuzz_text_replay_test fuzz_rtf_replay_test"
win_tests="$core_tests quire_smoke quire_full_disk framework_gui res_tests controls_tests chapters_gui
    app_window app_text_limit app_end_to_end app_documents app_screenshot kvcomm_dll_test kvcomm_copier_test help_tests
    help_reproducible window_bench_smoke text_bench_smoke"

failed=()
step() {
    local name=$1; shift
    echo "=== $name"
    if ! "$@"; then failed+=("$name"); fi
}

# run_tests DIR EXPECTED [--gui] [ctest args...]: every expected test must be there; then runs them
# all (--gui: in a virtual display) and says how many ran.
run_tests() {
    local dir=$1 expected=$2; shift 2
    local listed missing=() name display=()
    if [ "${1:-}" = --gui ]; then display=(with_display); shift; fi
    listed=$(ctest --test-dir "$dir" -N | sed -n 's/^ *Test *#[0-9]*: //p')
    for name in $expected; do
        grep -qx "$name" <<<"$listed" || missing+=("$name")
    done
    if [ ${#missing[@]} -ne 0 ]; then
        echo "missing from $(basename "$dir"): ${missing[*]}" >&2
        return 1
    fi
    "${display[@]}" ctest --test-dir "$dir" --output-on-failure "$@" | tee "$dir.tests.log"
    local status=${PIPESTATUS[0]}
    echo "$(basename "$dir"): $(grep -Eo 'out of [0-9]+' "$dir.tests.log" | tail -1 | cut -d' ' -f3) tests ran"
    return "$status"
}

step "native build"        build_native
step "native tests"        run_tests "$QB_BUILD/native" "$native_tests" -j "$QB_JOBS"
step "asan build"          build_asan
step "asan tests"          run_tests "$QB_BUILD/asan" "$asan_tests" -j "$QB_JOBS"
step "fuzz (60 s)"         "$QB_ROOT/scripts/fuzz.sh" --seconds 60
step "windows build"       build_win
step "windows tests"       run_tests "$QB_BUILD/win" "$win_tests" --gui
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
