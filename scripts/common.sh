# Shared by the build, run and test scripts: where things are and how to build them.
QB_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QB_BUILD=${QB_BUILD_ROOT:-$QB_ROOT/build}
QB_JOBS=${QB_JOBS:-$(nproc)}

# configure DIR [cmake args...]: configures the tree once, and afresh whenever it is asked for with
# other options than last time (an option left out must not linger in the cache).
configure() {
    local dir=$1; shift
    local options="$*" fresh=()
    mkdir -p "$(dirname "$dir")"
    if [ -f "$dir/CMakeCache.txt" ]; then
        [ "$(cat "$dir.options" 2>/dev/null)" = "$options" ] && return 0
        fresh=(--fresh)
    fi
    cmake "${fresh[@]}" -S "$QB_ROOT" -B "$dir" "$@" >"$dir.configure.log" 2>&1 ||
        { cat "$dir.configure.log" >&2; return 1; }
    printf '%s' "$options" >"$dir.options"
}

# configure_and_build DIR [cmake args...]; QB_TARGETS limits the build to those targets.
configure_and_build() {
    local dir=$1; shift
    configure "$dir" "$@" || return 1
    cmake --build "$dir" -j "$QB_JOBS" ${QB_TARGETS:+--target $QB_TARGETS}
}

QB_WIN_OPTIONS=(-DCMAKE_TOOLCHAIN_FILE="$QB_ROOT/cmake/mingw-i686.cmake")
build_native() { configure_and_build "$QB_BUILD/native"; }
build_asan()   { configure_and_build "$QB_BUILD/asan" -DQB_SANITIZE=ON -DQB_BENCH=OFF; }
build_win()    { configure_and_build "$QB_BUILD/win" "${QB_WIN_OPTIONS[@]}"; }

# Runs a command inside a virtual X display unless one is already there.
with_display() {
    if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; fi
}
