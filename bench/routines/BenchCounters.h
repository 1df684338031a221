#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

namespace bench {

// items_per_second, and time_per_item: CPU seconds per item of the routine's input (the
// console shows it with its SI prefix, e.g. 210ns; the JSON output holds seconds).
inline void countItems(benchmark::State& state, std::int64_t itemsPerIteration)
{
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * itemsPerIteration);
    state.counters["time_per_item"] = benchmark::Counter(
        static_cast<double>(itemsPerIteration), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace bench
