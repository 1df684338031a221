#!/usr/bin/env bash
# Builds the operation benchmarks in Release (build-bench/, apart from the test build) and
# prints their figures. Arguments pass on to the benchmark program, e.g.
#   ./bench.sh --benchmark_filter=Search
set -euo pipefail
cd "$(dirname "$0")"
BUILD_DIR="${KELVO_BENCH_BUILD_DIR:-build-bench}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVO_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD_DIR" --target operations_bench
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bench/operations_bench" "$@"
