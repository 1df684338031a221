#!/usr/bin/env bash
# Builds the benchmarks in Release (build-bench/, apart from the test build), runs them and
# prints one markdown table: the end-to-end rows (kelvoedit's window against a kelvocad
# process), the operations against KelvoCAD served in process, and the pure routines.
#
#   ./bench.sh                              everything (the 100,000 sizes take many minutes)
#   ./bench.sh --quick                      without the 100,000 sizes
#   ./bench.sh --benchmark_filter=Search    only what matches, in every program
#   ./bench.sh --no-e2e | --e2e-only        leave out, or keep only, the end-to-end runner
#
# Progress goes to stderr; the table to stdout. The JSON of each program is kept in
# $KELVO_BENCH_OUT (default: build-bench/bench-results/).
set -euo pipefail
cd "$(dirname "$0")"
BUILD_DIR="${KELVO_BENCH_BUILD_DIR:-build-bench}"
OUT="${KELVO_BENCH_OUT:-$BUILD_DIR/bench-results}"

quick=""
filter=""
e2e=1
gbench=1
for argument in "$@"; do
  case "$argument" in
    --quick) quick="--quick" ;;
    --benchmark_filter=*) filter="$argument" ;;
    --no-e2e) e2e=0 ;;
    --e2e-only) gbench=0 ;;
    *) echo "bench.sh: unknown argument $argument" >&2; exit 2 ;;
  esac
done

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVO_BUILD_BENCH=ON >/dev/null
# Several people build on this machine: one build at a time.
flock /tmp/kelvo-build.lock cmake --build "$BUILD_DIR" --target operations_bench e2e_bench >&2
# The routines' benchmark is optional: without it the table leaves its rows out.
if cmake --build "$BUILD_DIR" --target help | grep -q '^routines_bench:'; then
  flock /tmp/kelvo-build.lock cmake --build "$BUILD_DIR" --target routines_bench >&2 ||
    echo "bench.sh: routines_bench did not build; its rows are left out" >&2
fi

load_start="$(cut -d' ' -f1-3 /proc/loadavg)"
mkdir -p "$OUT"
rm -f "$OUT"/*.json
export QT_QPA_PLATFORM=offscreen

gbench_filter="$filter"
if [[ -z "$gbench_filter" && -n "$quick" ]]; then
  gbench_filter="--benchmark_filter=-OverSocket/100000"
fi
run_gbench() {  # program, output file
  local program="$1" out="$2"
  [[ -x "$program" ]] || return 0
  # A filter that matches nothing is not a failure of the table.
  "$program" ${gbench_filter:+"$gbench_filter"} --benchmark_out="$out" --benchmark_out_format=json >&2 || true
}
if [[ $gbench == 1 ]]; then
  run_gbench "$BUILD_DIR/bench/operations_bench" "$OUT/operations.json"
  run_gbench "$BUILD_DIR/bench/routines/routines_bench" "$OUT/routines.json"
fi
if [[ $e2e == 1 ]]; then
  "$BUILD_DIR/bench/e2e/e2e_bench" $quick ${filter:+"$filter"} --json="$OUT/e2e.json" >&2
fi

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), load average $load_start at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo
python3 bench/table.py --e2e "$OUT/e2e.json" --operations "$OUT/operations.json" --routines "$OUT/routines.json"
