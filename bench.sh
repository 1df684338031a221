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
# The routines' benchmark and the socket round trip with its floor are optional: without
# them the table leaves their rows out.
for target in routines_bench socket_round_trip_bench socket_floor_bench; do
  if cmake --build "$BUILD_DIR" --target help | grep -q "^$target:"; then
    flock /tmp/kelvo-build.lock cmake --build "$BUILD_DIR" --target "$target" >&2 ||
      echo "bench.sh: $target did not build; its rows are left out" >&2
  fi
done

load_start="$(cut -d' ' -f1-3 /proc/loadavg)"
mkdir -p "$OUT"
rm -f "$OUT"/*.json
export QT_QPA_PLATFORM=offscreen

gbench_filter="$filter"
if [[ -z "$gbench_filter" && -n "$quick" ]]; then
  gbench_filter="--benchmark_filter=-OverSocket/100000"
fi
run_gbench() {  # [taskset -c CPU] program, output file
  local prefix=()
  if [[ "$1" == taskset ]]; then
    prefix=("$1" "$2" "$3")
    shift 3
  fi
  local program="$1" out="$2"
  [[ -x "$program" ]] || return 0
  # A filter that matches nothing is not a failure of the table.
  "${prefix[@]}" "$program" ${gbench_filter:+"$gbench_filter"} --benchmark_out="$out" --benchmark_out_format=json >&2 || true
}
if [[ $gbench == 1 ]]; then
  run_gbench "$BUILD_DIR/bench/operations_bench" "$OUT/operations.json"
  run_gbench "$BUILD_DIR/bench/routines/routines_bench" "$OUT/routines.json"
  # The transport's round trip and the bare socket's under it, one after the other, pinned to
  # one core (both processes, or both threads) and free: a wake-up across cores is most of
  # either, and swings with the machine's state, so only figures of one run compare.
  floor="$BUILD_DIR/bench-socket/socket_floor_bench"
  transport="$BUILD_DIR/bench-socket/socket_round_trip_bench"
  if [[ -x "$floor" && -x "$transport" ]]; then
    run_gbench taskset -c 0 "$floor" "$OUT/socket-floor-pinned.json"
    run_gbench taskset -c 0 "$transport" "$OUT/socket-transport-pinned.json"
    run_gbench "$floor" "$OUT/socket-floor-unpinned.json"
    run_gbench "$transport" "$OUT/socket-transport-unpinned.json"
  fi
fi
if [[ $e2e == 1 ]]; then
  "$BUILD_DIR/bench/e2e/e2e_bench" $quick ${filter:+"$filter"} --json="$OUT/e2e.json" >&2
fi

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), load average $load_start at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo
python3 bench/table.py --e2e "$OUT/e2e.json" --operations "$OUT/operations.json" --routines "$OUT/routines.json" \
  --socket "$OUT/socket-floor-pinned.json" "$OUT/socket-transport-pinned.json" \
  "$OUT/socket-floor-unpinned.json" "$OUT/socket-transport-unpinned.json"
