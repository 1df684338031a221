#!/usr/bin/env bash
# Builds Qt for x86_64-w64-mingw32 from Debian's qtbase source package (the host Qt's version,
# with Debian's patches applied), for the Windows programs. The result is installed under
#   ${KELVO_QT_MINGW_CACHE:-~/.cache/kelvo-qt-mingw}/<version>-<options hash>
# and reused while it is whole; a different version or option set builds into a new folder.
# Prints the install folder on its last line of standard output.
#
#   scripts/build-qt-mingw.sh
#
# A failed build stops with the last lines of its log.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

. scripts/packages.sh
kelvo_require_packages qt6-base-dev qt6-base-dev-tools dpkg-dev xz-utils cmake ninja-build \
    ccache g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)   # e.g. 6.4.2+dfsg-10
qtver=${version%%+*}

# What goes into the build besides the source: the toolchain and these options. Modules the
# programs and their tests do not use are left out (Qt Test stays, for the window tests);
# the Windows programs reach their CAD over COM, so no network either. Direct2D stays: the
# Windows plugin's DirectWrite font database is built with it.
toolchain=$root/cmake/mingw-w64-x86_64.cmake
options=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DKELVO_MINGW_STATIC_RUNTIME=OFF
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DQT_GENERATE_SBOM=OFF
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_tabletevent=OFF -DFEATURE_jpeg=OFF -DFEATURE_freetype=OFF -DFEATURE_fontconfig=OFF
    -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_openssl=OFF -DFEATURE_brotli=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_png=OFF -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_accessibility=ON -DFEATURE_sessionmanager=ON
)
# Raise recipe when this script changes what it builds in a way the options do not show.
recipe=1
hash=$( { echo "$version $recipe"; printf '%s\n' "${options[@]}"; cat "$toolchain"; } | sha256sum | cut -c1-12)
cache=${KELVO_QT_MINGW_CACHE:-$HOME/.cache/kelvo-qt-mingw}
prefix=$cache/$qtver-$hash

# A folder counts only once its install finished (the stamp is written last).
if [ -f "$prefix/.complete" ] && [ -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ] \
        && [ -f "$prefix/bin/Qt6Widgets.dll" ] && [ -f "$prefix/plugins/platforms/qwindows.dll" ]; then
    echo "$prefix"
    exit 0
fi
rm -rf "$prefix"

work=$cache/work-$hash
rm -rf "$work"
mkdir -p "$work"
log=$work/build.log
fail() {
    echo "Qt for mingw-w64 failed ($1); the last lines of $log:" >&2
    tail -n 40 "$log" >&2
    exit 1
}

# The source package by name, from a deb-src entry of the same archive as the machine's own.
if ! apt-get source --only-source --print-uris qt6-base="$version" 2>/dev/null | grep -q orig.tar; then
    src_list=/etc/apt/sources.list.d/kelvo-deb-src.sources
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    # The deb entries the machine already has, turned into deb-src ones.
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && [ "$f" != "$src_list" ] && grep -q 'debian' "$f" && sed -e 's/^Types: deb$/Types: deb-src/' "$f"
    done | $sudo tee "$src_list" >/dev/null
    if [ -f /etc/apt/sources.list ]; then
        grep -E '^deb [^#]*debian' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
            | $sudo tee /etc/apt/sources.list.d/kelvo-deb-src.list >/dev/null || true
    fi
    $sudo apt-get update -qq
fi
echo "Qt $qtver for mingw-w64: getting the source package"
(cd "$work" && apt-get source --only-source qt6-base="$version") >"$log" 2>&1 || fail "apt-get source"
srcdir=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
[ -n "$srcdir" ] || fail "no source folder"

mkdir -p "$prefix"
cp "$toolchain" "$prefix/mingw-toolchain.cmake"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/kelvo-ccache}"
# Hashed relative to the work folder, so a rebuild in another folder still hits the cache.
export CCACHE_BASEDIR="$work"
echo "Qt $qtver for mingw-w64: configuring ($work)"
cmake -S "$srcdir" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-toolchain.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    "${options[@]}" >>"$log" 2>&1 || fail "configure"
echo "Qt $qtver for mingw-w64: building (about 25 minutes on 2 cores with an empty ccache)"
start=$(date +%s)
cmake --build "$work/build" -j"$(nproc)" >>"$log" 2>&1 || fail "build"
cmake --install "$work/build" >>"$log" 2>&1 || fail "install"
# The source package's licence texts go with the DLLs.
mkdir -p "$prefix/licenses"
cp "$srcdir"/LICENSES/* "$prefix/licenses/" 2>/dev/null || true
cp "$srcdir/debian/copyright" "$prefix/licenses/debian-copyright.txt"
echo "qt6-base $version (Debian source package, patches applied)" >"$prefix/licenses/SOURCE.txt"
touch "$prefix/.complete"
echo "Qt $qtver for mingw-w64: built in $(( $(date +%s) - start )) s"
rm -rf "$work"
echo "$prefix"
