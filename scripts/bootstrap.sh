#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian 12 machine.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
pkg_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

native_pkgs=(cmake g++ make python3 libgtest-dev libgmock-dev googletest libbenchmark-dev
             clang-14 libclang-rt-14-dev fp-utils cppcheck clang-tidy
             xvfb xauth x11-apps netpbm)
cross_pkgs=(g++-mingw-w64-i686 binutils-mingw-w64-i686)
wine_pkgs=(wine wine32:i386 wine64 fonts-wine)
# scripts/release.sh: the installer compiler, the Debian package tools and zip; its tests:
# unzip, xwininfo and the MIME database tool.
release_pkgs=(nsis lintian dpkg-dev zip unzip x11-utils shared-mime-info)

for p in "${native_pkgs[@]}" "${cross_pkgs[@]}" "${wine_pkgs[@]}" "${release_pkgs[@]}"; do
    pkg_installed "$p" || need+=("$p")
done

if [ ${#need[@]} -eq 0 ]; then
    exit 0
fi

SUDO=
if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
fi

echo "bootstrap: installing ${need[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
