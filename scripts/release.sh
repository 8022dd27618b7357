#!/usr/bin/env bash
# Builds a release into dist/: the Windows zip, the per-user Windows installer and the Debian
# package, all of the version in project() of CMakeLists.txt. Installs what is missing first.
# The same sources give the same bytes: every time stamp is SOURCE_DATE_EPOCH (by default the
# last commit's time).
# Usage: scripts/release.sh [--no-lintian]
set -euo pipefail
. "$(dirname "$0")/common.sh"
"$QB_ROOT/scripts/bootstrap.sh"

lintian=1
case "${1:-}" in
"") ;;
--no-lintian) lintian= ;;
*) echo "usage: scripts/release.sh [--no-lintian]" >&2; exit 2 ;;
esac

fail() { echo "release: $*" >&2; exit 1; }

export LC_ALL=C TZ=UTC
umask 022
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$QB_ROOT" log -1 --format=%ct 2>/dev/null ||
                        stat -c %Y "$QB_ROOT/CMakeLists.txt")
fi
export SOURCE_DATE_EPOCH

dist=${QB_DIST:-$QB_ROOT/dist}
win=$QB_BUILD/release-win
native=$QB_BUILD/release-native
stage=$QB_BUILD/release-stage
pkg=$QB_ROOT/packaging

# build DIR TARGETS... -- CMAKE ARGS...: configures every time, so changed flags always apply.
build() {
    local dir=$1; shift
    local targets=()
    while [ "$1" != "--" ]; do targets+=("$1"); shift; done
    shift
    mkdir -p "$dir"
    cmake -S "$QB_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DQB_BENCH=OFF "$@" \
        >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log" >&2; return 1; }
    cmake --build "$dir" -j "$QB_JOBS" --target "${targets[@]}"
}

# Optimised for size (the program must stay within 1.5 MB; its speed is the controls', not its
# own code) and stripped; no link time stamps and no build paths, so that rebuilds are identical.
echo "=== release: Windows build"
# Compiled afresh, so that the help file carries this release's SOURCE_DATE_EPOCH.
rm -f "$win/bin/QuireBinder.chm"
pe_link="-s -Wl,--no-insert-timestamp -Wl,--gc-sections"
build "$win" QuireBinder kvcomm help_chm quire -- \
    -DCMAKE_TOOLCHAIN_FILE="$QB_ROOT/cmake/mingw-i686.cmake" \
    "-DCMAKE_C_FLAGS=-ffile-prefix-map=$QB_ROOT/= -ffunction-sections" \
    "-DCMAKE_CXX_FLAGS=-ffile-prefix-map=$QB_ROOT/= -ffunction-sections" \
    "-DCMAKE_CXX_FLAGS_RELEASE=-Os -DNDEBUG" \
    "-DCMAKE_EXE_LINKER_FLAGS_RELEASE=$pe_link" "-DCMAKE_MODULE_LINKER_FLAGS_RELEASE=$pe_link"

echo "=== release: native quire"
# Debian's own hardening flags, as lintian expects of a packaged binary.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
build "$native" quire -- \
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS) -ffile-prefix-map=$QB_ROOT/=" \
    "-DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"

version_h=$win/generated/QuireVersion.h
macro() { sed -n "s/^#define $1 \"\{0,1\}\([^\"]*\)\"\{0,1\}\$/\1/p" "$version_h"; }
version=$(macro QB_VERSION_STRING)
version4="$(macro QB_VERSION_MAJOR).$(macro QB_VERSION_MINOR).$(macro QB_VERSION_PATCH).0"
[ -n "$version" ] || fail "no version in $version_h"
cmp -s "$version_h" "$native/generated/QuireVersion.h" || fail "the two builds disagree on the version"

exe_size=$(stat -c %s "$win/bin/QuireBinder.exe")
[ "$exe_size" -le $((1536 * 1024)) ] || fail "QuireBinder.exe is $exe_size bytes, more than 1.5 MB"

rm -rf "$stage"
mkdir -p "$stage" "$dist"
stamp() { find "$@" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +; }
subst() {
    sed -e "s/@VERSION@/$version/g" -e "s/@DATE@/$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)/g" "$@"
}

# The Windows program folder, shared by the zip and the installer --------------------------------
echo "=== release: Windows zip"
folder=$stage/zip/QuireBinder-$version
mkdir -p "$folder"
install -m 644 "$win/bin/QuireBinder.exe" "$win/bin/kvcomm.dll" "$win/bin/QuireBinder.chm" \
    "$win/bin/quire.exe" "$folder/"
subst "$pkg/README.txt" | sed 's/$/\r/' >"$folder/README.txt"
sed 's/$/\r/' "$QB_ROOT/LICENSE" >"$folder/LICENSE.txt"
chmod 644 "$folder"/*
stamp "$stage/zip"
zip_out=$dist/QuireBinder-$version-win32.zip
rm -f "$zip_out"
# Sorted names, no extra fields (owners, extended times): only the contents decide the bytes.
(cd "$stage/zip" && find "QuireBinder-$version" -type f | sort | zip -q -X -D -9 "$zip_out" -@)

echo "=== release: Windows installer"
setup_out=$dist/QuireBinder-$version-setup.exe
size_kb=$(du -sk --apparent-size "$folder" | cut -f1)
makensis -V2 -NOCD -INPUTCHARSET UTF8 \
    "-DVERSION=$version" "-DVERSION4=$version4" "-DFILES=$folder" "-DSIZE_KB=$size_kb" \
    "-DICON=$win/res/icons/quirebinder.ico" "-DOUTFILE=$setup_out" \
    "$pkg/windows/QuireBinder.nsi"

# The Debian package ---------------------------------------------------------------------------
echo "=== release: Debian package"
root=$stage/deb
doc=$root/usr/share/doc/quire-binder
install -d "$root/usr/bin" "$root/usr/lib/quire-binder" "$root/usr/share/applications" \
    "$root/usr/share/mime/packages" "$root/usr/share/man/man1" "$doc"
install -m 755 "$native/bin/quire" "$root/usr/bin/quire"
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$root/usr/bin/quire"
install -m 755 "$pkg/debian/quire-binder" "$root/usr/bin/quire-binder"
install -m 644 "$win/bin/QuireBinder.exe" "$win/bin/kvcomm.dll" "$win/bin/QuireBinder.chm" \
    "$root/usr/lib/quire-binder/"
install -m 644 "$pkg/debian/quire-binder.desktop" "$root/usr/share/applications/"
install -m 644 "$pkg/debian/quire-binder.xml" "$root/usr/share/mime/packages/"
python3 "$QB_ROOT/res/make_icons.py" --palette "$QB_ROOT/res/icons/palette.txt" \
    --png-dir "$stage/icons" "$QB_ROOT/res/icons/quirebinder.txt"
for png in "$stage"/icons/*/quirebinder.png; do
    size=$(basename "$(dirname "$png")")
    install -D -m 644 "$png" "$root/usr/share/icons/hicolor/$size/apps/quire-binder.png"
done
for page in quire quire-binder; do
    subst "$pkg/debian/$page.1" | gzip -9n >"$root/usr/share/man/man1/$page.1.gz"
done
install -m 644 "$pkg/debian/copyright" "$doc/copyright"
subst "$pkg/debian/changelog.in" | sed "s/@RFC_DATE@/$(date -u -R -d "@$SOURCE_DATE_EPOCH")/" |
    gzip -9n >"$doc/changelog.gz"
chmod 644 "$root"/usr/share/man/man1/* "$doc"/*

# The native tool's library dependencies, worked out the way Debian's own packages do.
mkdir -p "$stage/shlibs/debian"
printf 'Source: quire-binder\n\nPackage: quire-binder\nArchitecture: any\n' >"$stage/shlibs/debian/control"
shlibs=$(cd "$stage/shlibs" && dpkg-shlibdeps -O "$root/usr/bin/quire" 2>/dev/null |
         sed -n 's/^shlibs:Depends=//p')
[ -n "$shlibs" ] || fail "dpkg-shlibdeps found no dependencies of quire"

install -d "$root/DEBIAN"
(cd "$root" && find usr -type f | sort | xargs md5sum) >"$root/DEBIAN/md5sums"
size_kb=$(du -sk --apparent-size "$root/usr" | cut -f1)
subst "$pkg/debian/control.in" | sed -e "s/@ARCH@/$(dpkg --print-architecture)/" \
    -e "s/@SIZE@/$size_kb/" -e "s/@SHLIBS@/$shlibs/" >"$root/DEBIAN/control"
chmod 644 "$root/DEBIAN/md5sums" "$root/DEBIAN/control"
stamp "$root"
deb_out=$dist/quire-binder_${version}_$(dpkg --print-architecture).deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb_out" >/dev/null

if [ -n "$lintian" ]; then
    echo "=== release: lintian"
    # Errors fail the release; warnings are shown.
    lintian --fail-on error --tag-display-limit 0 "$deb_out"
fi

echo "release: $version"
ls -l "$zip_out" "$setup_out" "$deb_out"
