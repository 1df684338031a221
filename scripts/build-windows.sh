#!/usr/bin/env bash
# Builds the Windows targets: Qt for mingw-w64 first (scripts/build-qt-mingw.sh, cached), then
# the project cross-compiled with it - kelvoedit.exe and kelvocad.exe with the DLLs they run
# with in bin/, and the Windows tests. Prints Qt's folder and then the build folder on its
# last two lines.
#
#   scripts/build-windows.sh [targets...]
#
# KELVO_WINDOWS_BUILD_DIR chooses the build folder (default: the windows-mingw preset's).
# KELVO_BUILD_LOCK names a lock file that the build steps take (flock) on shared machines.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

. scripts/packages.sh
kelvo_require_packages "${KELVO_WINDOWS_PACKAGES[@]}"

export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/kelvo-ccache}"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
locked() {
    if [ -n "${KELVO_BUILD_LOCK:-}" ]; then flock "$KELVO_BUILD_LOCK" "$@"; else "$@"; fi
}

KELVO_QT_MINGW=$(locked scripts/build-qt-mingw.sh | tail -n 1)
export KELVO_QT_MINGW

build=${KELVO_WINDOWS_BUILD_DIR:-$root/build/windows-mingw}
if [ -n "${KELVO_WINDOWS_BUILD_DIR:-}" ]; then
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$KELVO_QT_MINGW/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DKELVO_BUILD_UI=ON -DKELVO_BUILD_TESTS=ON \
        -DKELVO_MINGW_STATIC_RUNTIME=OFF >&2
else
    cmake --preset windows-mingw >&2
fi
if [ $# -gt 0 ]; then
    locked cmake --build "$build" -j2 --target "$@" >&2
else
    locked cmake --build "$build" -j2 >&2
fi
echo "$KELVO_QT_MINGW"
echo "$build"
