#!/usr/bin/env bash
# Builds everything and runs every suite through CTest. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
kelvo_require_packages "${KELVO_BUILD_PACKAGES[@]}"

export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/kelvo-ccache}"
# Paths below the checkout are hashed relative to it, so a fresh clone elsewhere reuses the cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake --preset linux-debug
cmake --build --preset linux-debug
ctest --preset linux-debug -j2

# The same suites built with AddressSanitizer and UndefinedBehaviorSanitizer; the preset sets
# their options (stop at the first finding, report leaks but those of system libraries listed
# in scripts/lsan-suppressions.txt). Any finding fails its test.
cmake --preset linux-asan
cmake --build --preset linux-asan
ctest --preset linux-asan -j2

# The Windows suite: the mingw-w64 cross build's tests under Wine (scripts/windows-tests.sh).
scripts/windows-tests.sh
