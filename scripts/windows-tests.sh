#!/usr/bin/env bash
# The Windows suite: cross-compiles the Qt-free targets with mingw-w64 and runs their tests
# under Wine, on a virtual display, with a Japanese locale (code page 932).
#
#   scripts/windows-tests.sh [ctest arguments...]
#
# KELVO_SKIP_WINDOWS=1 skips it for quick local runs; CI (CI=true) never skips.
# KELVO_WINDOWS_BUILD_DIR chooses the build folder (default: the windows-mingw preset's).
# KELVO_BUILD_LOCK names a lock file that the build step takes (flock) on shared machines.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ "${KELVO_SKIP_WINDOWS:-0}" = 1 ] && [ "${CI:-}" != true ]; then
    echo "Windows suite skipped (KELVO_SKIP_WINDOWS=1)"
    exit 0
fi

. scripts/packages.sh
kelvo_require_packages "${KELVO_WINDOWS_PACKAGES[@]}"

build=${KELVO_WINDOWS_BUILD_DIR:-$root/build/windows-mingw}
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/kelvo-ccache}"
if [ -n "${KELVO_WINDOWS_BUILD_DIR:-}" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DKELVO_BUILD_UI=OFF -DKELVO_BUILD_TESTS=ON >/dev/null
else
    cmake --preset windows-mingw >/dev/null
fi
if [ -n "${KELVO_BUILD_LOCK:-}" ]; then
    flock "$KELVO_BUILD_LOCK" cmake --build "$build" -j2
else
    cmake --build "$build" -j2
fi

# Everything Wine keeps lives in the build tree: its prefix and the Japanese locale.
export WINEPREFIX="$build/wine/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$build/wine/locale"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
if [ ! -d "$LOCPATH/ja_JP.UTF-8" ]; then
    mkdir -p "$LOCPATH"
    localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8"
fi

# One run inside a virtual display: the wineserver is started and stopped in there, and
# Wine's own services start before CTest, so none of them holds on to a test's output.
cat > "$build/wine/run-suite.sh" <<'INNER'
#!/usr/bin/env bash
set -u
build=$1; shift
stop_wine() { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; }
trap stop_wine EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null
    # The running object table of a prefix just made turns servers away until Wine has
    # been started once more.
    stop_wine
fi
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null
# The DXF round trips need the host's Python oracle: a Linux suite only.
ctest --test-dir "$build" --output-on-failure -E '^kelvocad_dxf_tests$' "$@"
INNER
chmod +x "$build/wine/run-suite.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/wine/run-suite.sh" "$build" "$@"
