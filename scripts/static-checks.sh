#!/usr/bin/env bash
# Static checks of the project's own sources, with the flags the builds compile them with:
#  - cppcheck (warning, portability) and clang-tidy (bugprone-*, clang-analyzer-*; .clang-tidy
#    says which checks are off and why) on everything the native build compiles;
#  - both on the Windows-only sources too, from the Windows build's compile commands: cppcheck
#    with _WIN32 defined and its model of the Windows API (--library=windows; the mingw headers
#    themselves are left out: cppcheck 2.10 stops at their GCC extensions with syntax errors),
#    clang-tidy as clang for the mingw target.
# Configures the native and Windows trees when they are not there yet; builds nothing.
# Exit status 1 when any check finds something.
set -uo pipefail
. "$(dirname "$0")/common.sh"

configure "$QB_BUILD/native" || exit 1
configure "$QB_BUILD/win" "${QB_WIN_OPTIONS[@]}" || exit 1

work=$QB_BUILD/static-checks
mkdir -p "$work"
# The project's own entries, once each, with response files (CMake's include lists) spelled out,
# since cppcheck does not read them.
own_commands() {
    python3 - "$1" "$2" "$QB_ROOT" "${@:3}" <<'PY'
import json, os, shlex, sys
source, target, root, extra = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
seen, entries = set(), []
for entry in json.load(open(source)):
    if not entry["file"].startswith(root + "/") or entry["file"] in seen:
        continue
    seen.add(entry["file"])
    args = []
    for arg in shlex.split(entry["command"]):
        if arg.startswith("@"):
            with open(os.path.join(entry["directory"], arg[1:])) as rsp:
                args += shlex.split(rsp.read())
        else:
            args.append(arg)
    args[1:1] = extra
    entries.append({"directory": entry["directory"], "file": entry["file"], "command": shlex.join(args)})
json.dump(entries, open(target, "w"), indent=1)
PY
}
own_commands "$QB_BUILD/native/compile_commands.json" "$work/native.json" || exit 1
own_commands "$QB_BUILD/win/compile_commands.json" "$work/win-all.json" -D_WIN32 || exit 1
# Windows-only: what the native build does not compile.
python3 - "$work/native.json" "$work/win-all.json" "$work/win.json" <<'PY'
import json, sys
native = {entry["file"] for entry in json.load(open(sys.argv[1]))}
json.dump([e for e in json.load(open(sys.argv[2])) if e["file"] not in native], open(sys.argv[3], "w"), indent=1)
PY

failed=()
# run_cppcheck NAME [options...]: its own build folder keeps results of unchanged files.
run_cppcheck() {
    local name=$1; shift
    echo "--- cppcheck, $name sources"
    mkdir -p "$work/cppcheck-$name"
    cppcheck --enable=warning,portability --error-exitcode=1 --quiet --inline-suppr --library=googletest \
        -j "$QB_JOBS" --cppcheck-build-dir="$work/cppcheck-$name" "$@" || failed+=("cppcheck $name")
}
run_cppcheck native --project="$work/native.json"
run_cppcheck windows-only --library=windows --project="$work/win.json"

# The Windows-only entries as clang for the mingw target compiles them, with the cross compiler's
# own include folders so that it reads the headers the build reads.
mkdir -p "$work/tidy-native" "$work/tidy-win"
cp "$work/native.json" "$work/tidy-native/compile_commands.json"
python3 - "$work/win.json" "$work/tidy-win/compile_commands.json" <<'PY' || exit 1
import json, os, shlex, subprocess, sys
entries = json.load(open(sys.argv[1]))
compiler = shlex.split(entries[0]["command"])[0]
probe = subprocess.run([compiler, "-xc++", "-E", "-v", "-"], input="", capture_output=True, text=True).stderr
lines = probe.splitlines()
start, end = lines.index("#include <...> search starts here:"), lines.index("End of search list.")
includes = [arg for line in lines[start + 1:end] for arg in ("-isystem", os.path.normpath(line.strip()))]
for entry in entries:
    args = shlex.split(entry["command"])
    args[0] = "clang" if entry["file"].endswith(".c") else "clang++"
    args[1:1] = ["--target=i686-w64-mingw32", "-nostdinc", "-nostdinc++"] + includes
    entry["command"] = shlex.join(args)
json.dump(entries, open(sys.argv[2], "w"), indent=1)
PY

# run_clang_tidy NAME FOLDER: the entries of FOLDER/compile_commands.json, in parallel.
run_clang_tidy() {
    echo "--- clang-tidy, $1 sources"
    run-clang-tidy-14 -p "$2" -j "$QB_JOBS" -quiet -header-filter="^$QB_ROOT/" >"$work/clang-tidy-$1.log" 2>&1
    local status=$?
    grep -E "(warning|error): " "$work/clang-tidy-$1.log" | sort -u
    [ $status -eq 0 ] || failed+=("clang-tidy $1")
}
run_clang_tidy native "$work/tidy-native"
run_clang_tidy windows-only "$work/tidy-win"

if [ ${#failed[@]} -ne 0 ]; then
    echo "static checks: findings from ${failed[*]}"
    exit 1
fi
echo "static checks: clean"
