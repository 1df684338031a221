#!/bin/sh
# Builds one libFuzzer target of tests/fuzz in build-fuzz and runs it on its corpus.
#   tests/fuzz/run-fuzzer.sh NAME [SECONDS] [libFuzzer options...]
# NAME is settings_file, list_file, wildcard, number_text, grid_paste, socket_decode or
# socket_server. The corpus starts from tests/fuzz/seeds/NAME; crash inputs land in
# build-fuzz/artifacts/NAME/.
set -eu
name=$1
seconds=${2:-300}
[ $# -ge 2 ] && shift 2 || shift 1
cd "$(dirname "$0")/../.."
if [ ! -f build-fuzz/CMakeCache.txt ]; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DKELVO_FUZZ=ON \
    "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
fi
cmake --build build-fuzz --target "${name}_fuzzer"
mkdir -p "build-fuzz/corpus/$name" "build-fuzz/artifacts/$name"
cp -n "tests/fuzz/seeds/$name"/* "build-fuzz/corpus/$name/" 2>/dev/null || true
exec "build-fuzz/tests/fuzz/${name}_fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="build-fuzz/artifacts/$name/" "$@" "build-fuzz/corpus/$name"
