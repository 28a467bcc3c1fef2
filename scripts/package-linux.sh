#!/usr/bin/env bash
# Makes the Debian package dist/kestran_<version>-<revision>_<arch>.deb and checks it:
# lintian, the AppStream metainfo and the desktop entry, then tests/linux/PackageTest.sh
# installs it on this machine, tries the installed programs and purges it again.
#
# The package is made with dpkg's own tools from an install tree: CMake's install rules
# (packaging/linux/CMakeLists.txt) fill the tree, dpkg-shlibdeps finds the dependencies,
# dpkg-gencontrol writes the control file from packaging/linux/debian/, dpkg-deb builds.
# Usage: scripts/package-linux.sh  (build folder: build-deb)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh deb
umask 022

build=$root/build-deb
debian=$root/packaging/linux/debian
version=$(dpkg-parsechangelog -l "$debian/changelog" -S Version)
upstream=$(sed -n 's/^project(Kestran VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if [ "${version%-*}" != "$upstream" ]; then
    echo "packaging/linux/debian/changelog is at $version, CMakeLists.txt at $upstream:" \
        "add a changelog entry (dch -v $upstream-1)" >&2
    exit 1
fi
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
deb=$root/dist/kestran_${version}_$arch.deb
# The changelog's date stands for the build's, so that the same source makes the same files.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$debian/changelog" -S Timestamp)
export SOURCE_DATE_EPOCH

source scripts/timed.sh
started=$SECONDS

# --- Build with Debian's flags (hardening, optimisation), as a Debian build would ---------
configure() {
    # CMake reads no CPPFLAGS: they go with the compiler's flags.
    local cxxflags ldflags
    cxxflags="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)"
    cxxflags+=" $(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS)"
    ldflags="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
        -DKESTRAN_TESTS=OFF -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
        >/dev/null
}
timed "configure (build-deb)" configure
timed "build" cmake --build "$build" -j2 --target kestran_package

# --- The install tree -----------------------------------------------------------------------
# Laid out as a Debian source tree is, which dpkg-shlibdeps and dpkg-gencontrol expect.
work=$build/package
stage=$work/debian/kestran
make_tree() {
    rm -rf "$work"
    mkdir -p "$stage/DEBIAN"
    DESTDIR=$stage cmake --install "$build" >/dev/null || return 1
    # The build keeps its debugging information; the package leaves it out, as dh_strip does.
    strip --remove-section=.comment --remove-section=.note --strip-unneeded \
        "$stage"/usr/bin/* || return 1
    # What Debian asks of every package beside the upstream install.
    local doc=$stage/usr/share/doc/kestran
    mkdir -p "$doc"
    install -m 644 "$debian/copyright" "$doc/copyright"
    gzip -9n <"$debian/changelog" >"$doc/changelog.Debian.gz"
    chmod 644 "$doc/changelog.Debian.gz"
    if [ -f "$debian/lintian-overrides" ]; then
        install -D -m 644 "$debian/lintian-overrides" "$stage/usr/share/lintian/overrides/kestran"
    fi
}
timed "install tree" make_tree

# Every program in /usr/bin with its manual page, and the desktop files: a missing tool at
# build time (help2man, Python) leaves them out, which must not pass unnoticed.
check_tree() {
    local missing=() program size entry sizes=(16 32 48 64 128 256)
    for program in kestran kestran-upload kestran-gauge kestran-dial; do
        [ -x "$stage/usr/bin/$program" ] || missing+=("usr/bin/$program")
    done
    for program in "$stage"/usr/bin/*; do
        program=${program##*/}
        [ -f "$stage/usr/share/man/man1/$program.1.gz" ] ||
            missing+=("usr/share/man/man1/$program.1.gz")
    done
    for size in "${sizes[@]}"; do
        [ -f "$stage/usr/share/icons/hicolor/${size}x$size/apps/kestran.png" ] ||
            missing+=("usr/share/icons/hicolor/${size}x$size/apps/kestran.png")
    done
    compgen -G "$stage/usr/share/metainfo/*.metainfo.xml" >/dev/null ||
        missing+=("usr/share/metainfo/*.metainfo.xml")
    for entry in kestran.desktop kestran-dial-workshop.desktop; do
        [ -f "$stage/usr/share/applications/$entry" ] || missing+=("usr/share/applications/$entry")
    done
    [ -f "$stage/usr/share/kestran/examples/dials/ias.png" ] ||
        missing+=("usr/share/kestran/examples/dials/ias.png")
    if [ ${#missing[@]} -gt 0 ]; then
        printf 'the install tree lacks %s\n' "${missing[@]}" >&2
        return 1
    fi
    # Each icon is a picture of its own size.
    python3 -B - "$stage/usr/share/icons/hicolor" "${sizes[@]}" <<EOF || return 1
import os, sys
sys.path.insert(0, "$root/scripts")
from iconart import read_rgba
for size in map(int, sys.argv[2:]):
    with open(os.path.join(sys.argv[1], f"{size}x{size}", "apps", "kestran.png"), "rb") as f:
        rows = read_rgba(f.read())
    if len(rows) != size or any(len(row) != size for row in rows):
        sys.exit(f"the {size}x{size} icon is not {size} x {size}")
EOF
    appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml &&
        desktop-file-validate "$stage/usr/share/applications/kestran.desktop" &&
        desktop-file-validate "$stage/usr/share/applications/kestran-dial-workshop.desktop" &&
        echo "the install tree holds every file; metainfo and desktop entries valid"
}
timed "install tree check" check_tree

# --- The package ----------------------------------------------------------------------------
make_package() {
    cp "$debian/control" "$debian/changelog" "$work/debian/"
    (cd "$work" &&
        dpkg-shlibdeps -Tdebian/substvars "$stage"/usr/bin/* &&
        dpkg-gencontrol -pkestran -P"$stage" -Tdebian/substvars -fdebian/files) || return 1
    (cd "$stage" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum \
        >DEBIAN/md5sums) || return 1
    chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"
    mkdir -p dist
    rm -f "$deb"
    dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null &&
        echo "made $deb" && dpkg-deb --field "$deb" Depends
}
timed "package" make_package

# lintian's verdict: no error, no warning (the overrides file says why any is accepted).
# It reads the package as anybody may, without root's rights when it is run as root.
run_lintian() {
    local as=()
    if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
        as=(runuser -u nobody --)
    fi
    "${as[@]}" lintian --fail-on error,warning --display-info --pedantic "$deb" &&
        echo "lintian: no error, no warning"
}
timed "lintian" run_lintian

rc=0
timed "install, try and purge" bash tests/linux/PackageTest.sh "$deb" || rc=$?

echo
echo "=== linux package times"
printf '%s\n' "${timings[@]}"
printf '%-34s %4ds\n' "total" $((SECONDS - started))
exit $rc
