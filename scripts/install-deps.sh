#!/usr/bin/env bash
# Installs the Debian packages Kestran needs, and only those that are missing.
# Usage: scripts/install-deps.sh [build|gui|dev|windows|deb]  (default: gui)
#   build    compiler, CMake, libpng, libjpeg-turbo, libtiff, libwebp, the stb headers,
#            DejaVu Sans (the labels kestran-dial draws), GoogleTest
#   gui      build + Qt 6 Widgets, a CJK font, Xvfb for the screenshot check
#   dev      gui + clang/libFuzzer and the locale tools used by the hardening runs
#   windows  build + the MinGW-w64 cross-compiler and zlib, dpkg-dev to unpack the libraries'
#            Debian source, Python for the icon, Wine with Xvfb to run the Windows tests,
#            NSIS and zip for the Windows packages
#   deb      gui + what makes and checks the Debian package: dpkg-dev, Python and help2man
#            for the icons and manual pages, lintian, the AppStream and desktop-entry
#            validators, man-db, and x11-utils to find the installed window on Xvfb
set -euo pipefail

level=${1:-gui}
pkgs=(build-essential cmake pkg-config libpng-dev libjpeg62-turbo-dev libtiff-dev libwebp-dev
    libstb-dev fonts-dejavu-core libgtest-dev googletest)
if [ "$level" = gui ] || [ "$level" = dev ] || [ "$level" = deb ]; then
    pkgs+=(qt6-base-dev qt6-base-dev-tools libgl-dev fonts-noto-cjk xvfb xauth locales)
fi
if [ "$level" = dev ]; then
    pkgs+=(clang-14 libclang-rt-14-dev llvm)
fi
if [ "$level" = windows ]; then
    pkgs+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev python3 wine wine64 xvfb xauth
        nsis zip)
fi

if [ "$level" = deb ]; then
    pkgs+=(dpkg-dev python3 help2man lintian appstream desktop-file-utils man-db x11-utils)
fi

missing=()
for p in "${pkgs[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
