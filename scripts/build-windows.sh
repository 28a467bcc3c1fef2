#!/usr/bin/env bash
# Cross-builds Kestran for Windows with MinGW-w64 (the core, kestran.exe, kestran-upload.exe,
# kestran-dial.exe and their tests) and runs the tests under Wine, the window's on Xvfb.
# Everything lands in build-windows/: libpng, libjpeg-turbo, libtiff and libwebp from
# Debian's own source packages and GoogleTest from Debian's googletest sources, built once for
# Windows into build-windows/deps/prefix, then the "windows" preset (see CMakePresets.json).
# Usage: scripts/build-windows.sh
#
# A pseudo-terminal can stand in for a COM port in this Wine: add a string value named COM5
# with the data /dev/pts/N under HKLM\Software\Wine\Ports of the prefix, run `wineserver -k`,
# start any Wine program and wait until dosdevices/com5 links to /dev/pts/N (Wine remakes the
# link as it starts, a moment later); then a Windows program opens \\.\COM5. On such a port
# Wine 8 ends every WaitCommEvent that has to wait at once with ERROR_OPERATION_ABORTED (a
# pseudo-terminal has no modem lines), and the pseudo-terminal keeps no parity; a pending
# one-byte overlapped ReadFile does wait for input, and CancelIoEx ends it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows

root=$PWD
build=$root/build-windows
deps=$build/deps
prefix=$deps/prefix
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=2

source scripts/timed.sh
started=$SECONDS

# --- Libraries from Debian's source packages: the releases the Linux build links ---------
# The source package of an installed binary package, its version and its upstream release.
source_of() {
    src_name=$(dpkg-query -W -f='${source:Package}' "$1")
    src_version=$(dpkg-query -W -f='${Version}' "$1")
    src_upstream=${src_version#*:}
    src_upstream=${src_upstream%-*}
}

# The machine's Debian entries for binary packages, each written as a source entry: deb822
# stanzas keep their options (Signed-By and the like), one-line entries theirs.
write_source_entries() {
    local dir=$1 entry file n
    : >"$dir/sources.list"
    : >"$dir/sources.list.d/deb-src.sources"
    apt-get indextargets --format '$(SOURCESENTRY)' 'Origin: Debian' 'Target-Of: deb' | sort -u |
        while IFS= read -r entry; do
            file=${entry%:*}
            n=${entry##*:}
            case $file in
            *.sources)
                # n counts stanzas; comment lines belong to none.
                awk -v want="$n" '
                    /^[[:space:]]*$/ { inside = 0; next }
                    /^#/ { next }
                    { if (!inside) { count++; inside = 1 } }
                    count == want { print (/^Types:/ ? "Types: deb-src" : $0) }
                    END { print "" }' "$file" >>"$dir/sources.list.d/deb-src.sources"
                ;;
            *)
                sed -n "${n}p" "$file" | sed -E 's/^[[:space:]]*deb([[:space:]])/deb-src\1/' \
                    >>"$dir/sources.list"
                ;;
            esac
        done
}

# Unpacks the source of binary package $1 (patched as Debian builds it) into folder $2.
fetch_source() {
    local binary=$1 into=$2
    source_of "$binary"
    local unpacked=$into/$src_name-$src_upstream
    if [ -f "$unpacked/CMakeLists.txt" ]; then
        return 0
    fi
    rm -rf "$into"
    mkdir -p "$into" || return 1
    local apt=(-q)
    if [ -z "$(apt-get indextargets 'Identifier: Sources')" ]; then
        # No source entries on this machine: a private apt state of our own under the build
        # folder, so that the system's lists and configuration stay as they are.
        local state=$deps/apt
        mkdir -p "$state/sources.list.d" "$state/lists/partial" "$state/cache/archives/partial"
        write_source_entries "$state" || return 1
        if [ "$(id -u)" -eq 0 ] && id _apt >/dev/null 2>&1; then
            # apt downloads as its own unprivileged user.
            chown _apt "$state/lists/partial" "$state/cache/archives/partial" "$into"
        fi
        apt+=(-o "Dir::Etc::SourceList=$state/sources.list"
            -o "Dir::Etc::SourceParts=$state/sources.list.d"
            -o "Dir::State::Lists=$state/lists" -o "Dir::Cache=$state/cache")
        apt-get "${apt[@]}" update || return 1
    fi
    # The very revision installed when the archive still has it, else the newest one of the
    # same upstream release that the archive can deliver.
    local candidates version
    candidates=$(apt-cache "${apt[@]}" showsrc "$src_name" | sed -n 's/^Version: //p' |
        grep -F "$src_upstream-" | sort -Vru || true)
    for version in "$src_version" $candidates; do
        if (cd "$into" && apt-get "${apt[@]}" source "$src_name=$version"); then
            break
        fi
        rm -rf "${into:?}"/*
    done
    if [ ! -f "$unpacked/CMakeLists.txt" ]; then
        echo "apt-get source gave no $src_name $src_upstream (the Linux build links $src_version)" >&2
        return 1
    fi
    echo "$src_name source: $(dpkg-parsechangelog -l "$unpacked/debian/changelog" -S Version)" \
        "(the Linux build links $src_version)"
}

# A dependency's CMake project, configured for Windows afresh, built, installed into the prefix.
# Usage: build_dependency SOURCE BUILD [-DOPTION=VALUE]...
build_dependency() {
    local source=$1 out=$2
    shift 2
    rm -rf "$out"
    cmake -S "$source" -B "$out" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null &&
        cmake --build "$out" -j"$jobs" &&
        cmake --install "$out" >/dev/null
}

# A library built once into the prefix from the Debian source package of BINARY, unpacked into
# deps/SOURCE; skipped when HEADER and LIBRARY (a pattern) stand in the prefix already.
# Usage: build_library NAME BINARY SOURCE HEADER LIBRARY [-DOPTION=VALUE]...
build_library() {
    local name=$1 binary=$2 source=$3 header=$4 library=$5
    shift 5
    if [ -f "$prefix/include/$header" ] && compgen -G "$prefix/lib/$library" >/dev/null; then
        echo "$name already built in $prefix"
        return 0
    fi
    fetch_source "$binary" "$deps/$source" || return 1
    build_dependency "$deps/$source/$src_name-$src_upstream" "$deps/$name-build" "$@"
}

# --- GoogleTest from Debian's sources -----------------------------------------------------
build_googletest() {
    if [ -f "$prefix/include/gtest/gtest.h" ] && [ -f "$prefix/lib/libgtest.a" ]; then
        echo "GoogleTest already built in $prefix"
        return 0
    fi
    build_dependency /usr/src/googletest "$deps/googletest-build" -DBUILD_GMOCK=OFF \
        -DINSTALL_GTEST=ON
}

# --- The Linux virtual gauge, which the COM port tests serve under Wine --------------------
build_linux_gauge() {
    cmake -S "$root" -B "$build/linux-gauge" -DKESTRAN_GUI=OFF -DKESTRAN_TESTS=OFF \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
        cmake --build "$build/linux-gauge" -j"$jobs" --target kestran-gauge
}

timed "libpng (Debian source, static)" build_library libpng libpng-dev source png.h 'libpng*.a' \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_FRAMEWORK=OFF \
    -DSKIP_INSTALL_EXECUTABLES=ON -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
# libjpeg-turbo, with its plain C code paths (the SIMD ones need an assembler we do not
# install; kestran-dial decodes a picture once).
timed "libjpeg-turbo (Debian source, static)" build_library libjpeg libjpeg62-turbo-dev \
    jpeg-source jpeglib.h libjpeg.a \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DWITH_JPEG8=OFF
# libtiff with the codecs a scanner's file needs (LZW, PackBits, CCITT, deflate, JPEG and the
# old JPEG), from the zlib and libjpeg-turbo above; none of the others Debian's build links.
timed "libtiff (Debian source, static)" build_library libtiff libtiff-dev tiff-source tiffio.h \
    libtiff.a -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF -Dtiff-tools=OFF \
    -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dcxx=OFF -Dzlib=ON -Dpixarlog=ON \
    -Djpeg=ON -Dold-jpeg=ON -Djpeg12=OFF -Dlibdeflate=OFF -Djbig=OFF -Dlerc=OFF -Dlzma=OFF \
    -Dzstd=OFF -Dwebp=OFF
# libwebp's decoder and encoder (the tests write WebP with it), without its programs.
timed "libwebp (Debian source, static)" build_library libwebp libwebp-dev webp-source \
    webp/decode.h libwebp.a -DBUILD_SHARED_LIBS=OFF -DWEBP_BUILD_ANIM_UTILS=OFF \
    -DWEBP_BUILD_CWEBP=OFF -DWEBP_BUILD_DWEBP=OFF -DWEBP_BUILD_GIF2WEBP=OFF \
    -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF -DWEBP_BUILD_WEBPINFO=OFF \
    -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_EXTRAS=OFF
timed "GoogleTest" build_googletest
timed "Linux virtual gauge" build_linux_gauge
configure() {
    cmake --preset windows \
        -DKESTRAN_LINUX_GAUGE="$build/linux-gauge/tools/kestran-gauge/kestran-gauge" >/dev/null
}
timed "configure (windows preset)" configure
timed "cross-build" cmake --build --preset windows

# --- The tests under Wine ------------------------------------------------------------------
# A throwaway prefix in the build folder; nothing of the user's own Wine is touched. Xvfb is
# the display of the window's tests and of whatever else in Wine wants one.
rc=0
timed "Windows tests under Wine" xvfb-run -a ctest --preset windows || rc=$?

echo
echo "=== windows build times"
printf '%s\n' "${timings[@]}"
printf '%-34s %4ds\n' "total" $((SECONDS - started))
exit $rc
