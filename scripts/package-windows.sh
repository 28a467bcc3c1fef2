#!/usr/bin/env bash
# Makes the Windows packages from the Windows build, and tests the installer under Wine:
#   dist/kestran-<version>-windows.zip  the programs (the window, the dial workshop, the
#                                       uploader, kestran-dial), the example dials, a read-me and the
#                                       licence texts of what the programs carry inside
#   dist/kestran-<version>-setup.exe    an NSIS installer of the same
# Usage: scripts/package-windows.sh (builds the Windows programs first when they are not
# there: scripts/build-windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh windows
build=$root/build-windows
if [ ! -f "$build/CMakeCache.txt" ]; then
    bash scripts/build-windows.sh
fi
cmake --build --preset windows --target kestran kestran-upload kestran-dial kestran-workshop

version=$(sed -n 's/^project(Kestran VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=kestran-$version
stage=$build/package/$name
rm -rf "$build/package"
mkdir -p "$stage/dials" "$stage/licenses" dist

cp "$build/src/app/win32/kestran.exe" "$build/src/app/win32/kestran-workshop.exe" \
    "$build/tools/kestran-upload/kestran-upload.exe" "$build/tools/kestran-dial/kestran-dial.exe" \
    "$stage/"
# The build keeps its debugging information; the packages leave it out.
x86_64-w64-mingw32-strip "$stage"/*.exe
cp examples/dials/*.png "$stage/dials/"
# Windows' own line ends, so that Notepad shows the lines.
sed 's/$/\r/' packaging/windows/README-Windows.txt >"$stage/README-Windows.txt"
# Kestran's own licence, which the installer shows before it installs.
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
png_source=$(ls -d "$build"/deps/source/libpng1.6-*/ | head -n 1)
sed 's/$/\r/' "$png_source/LICENSE" >"$stage/licenses/libpng-LICENSE.txt"
sed 's/$/\r/' /usr/share/doc/libz-mingw-w64-dev/copyright >"$stage/licenses/zlib-LICENSE.txt"
jpeg_source=$(ls -d "$build"/deps/jpeg-source/libjpeg-turbo-*/ | head -n 1)
cat "$jpeg_source/LICENSE.md" "$jpeg_source/README.ijg" | sed 's/$/\r/' \
    >"$stage/licenses/libjpeg-turbo-LICENSE.txt"
tiff_source=$(ls -d "$build"/deps/tiff-source/tiff-*/ | head -n 1)
sed 's/$/\r/' "$tiff_source/LICENSE.md" >"$stage/licenses/libtiff-LICENSE.txt"
webp_source=$(ls -d "$build"/deps/webp-source/libwebp-*/ | head -n 1)
cat "$webp_source/COPYING" "$webp_source/PATENTS" | sed 's/$/\r/' \
    >"$stage/licenses/libwebp-LICENSE.txt"
sed 's/$/\r/' /usr/share/doc/libstb-dev/copyright >"$stage/licenses/stb-LICENSE.txt"
# kestran-dial draws its labels in DejaVu Sans, which it carries inside.
sed 's/$/\r/' /usr/share/doc/fonts-dejavu-core/copyright >"$stage/licenses/DejaVu-fonts-LICENSE.txt"
sed 's/$/\r/' /usr/share/doc/mingw-w64-x86-64-dev/copyright \
    >"$stage/licenses/mingw-w64-runtime-LICENSE.txt"

zip_file=$root/dist/$name-windows.zip
rm -f "$zip_file"
(cd "$build/package" && zip -q -r -X "$zip_file" "$name")
echo "made $zip_file"

setup=$root/dist/$name-setup.exe
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" \
    packaging/windows/kestran.nsi
echo "made $setup"

xvfb-run -a bash tests/windows/InstallerTest.sh "$setup"
