#!/usr/bin/env bash
# Builds everything and runs every suite through CTest. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
kelvo_require_packages "${KELVO_BUILD_PACKAGES[@]}"

export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/kelvo-ccache}"
# Paths below the checkout are hashed relative to it, so a fresh clone elsewhere reuses the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
# Debug information names the build folder; leaving it out of the hash lets a clone in
# another folder hit the cache too.
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"

# The Linux suites, built once with AddressSanitizer and UndefinedBehaviorSanitizer (a Debug
# build with both); the preset sets their options (stop at the first finding, report leaks
# but those of system libraries listed in scripts/lsan-suppressions.txt). Any finding fails
# its test. KELVO_PLAIN_DEBUG=1 runs them from the plain Debug build instead.
preset=linux-asan
[ "${KELVO_PLAIN_DEBUG:-0}" = 1 ] && preset=linux-debug
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset" -j2

# The Windows programs and suites: Qt for mingw-w64 built from Debian's source package (once,
# cached), the mingw-w64 cross build, its tests under Wine (scripts/windows-tests.sh).
scripts/windows-tests.sh
