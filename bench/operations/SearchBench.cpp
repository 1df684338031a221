// The TEXT search over a drawing of 100,000 TEXTs served over the local socket, and the sort
// of its hits alone.

#include "ServedDrawing.h"

#include "editor/records/LineEditorFields.h"
#include "grid/TUndoCells.h"
#include "kelvocad/model/Drawing.h"
#include "search/FakeResultGrid.h"
#include "search/FakeSearchHost.h"
#include "search/SearchContext.h"
#include "search/SearchResults.h"
#include "search/TextSearch.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>

namespace bench {
namespace {

constexpr int kTexts = 100'000;

// "W-00000" .. in an order of its own, so that the sort has work to do.
std::vector<std::u16string> wireNumbers(int count)
{
    std::vector<std::u16string> texts;
    texts.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string digits = std::to_string(100000 + i).substr(1);
        texts.push_back(u"W-" + std::u16string(digits.begin(), digits.end()));
    }
    std::mt19937 random(12345);
    std::shuffle(texts.begin(), texts.end(), random);
    return texts;
}

void BM_SearchOverSocket(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const auto session = kelvocad::CadSession::create(std::make_shared<kelvocad::Drawing>());
    const auto texts = wireNumbers(count);
    for (int i = 0; i < count; ++i) {
        kelvocad::TextEntity text;
        text.string = texts[static_cast<size_t>(i)];
        text.insertionPoint = {10.0 * (i % 100), -5.0 * (i / 100), 0.0};
        text.alignmentPoint = text.insertionPoint;
        session->drawing().addText(text);
    }
    session->drawing().clearUndo();
    ServedDrawing served(session);

    search::test::FakeSearchHost host;
    search::test::FakeResultGrid grid;
    std::vector<editor::Kelvo2> hits;
    grid::TUndoCells undoCells;
    int undoCount = 0;
    editor::LineEditorFields fields;
    search::SearchContext context{served.link(), host, grid, hits, undoCells, undoCount, fields};
    grid.onClick = [&] { search::StringGrid2Click(context); };

    // The longest wait between two chances the window gets to process its messages.
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastPump;
    Clock::duration longestGap{};
    int longestGapEndsAt = 0;  // the number of the pump that ended it, from 1
    host.onPump = [&](int pump) {
        const auto now = Clock::now();
        if (now - lastPump > longestGap) {
            longestGap = now - lastPump;
            longestGapEndsAt = pump;
        }
        lastPump = now;
    };

    Counts total;
    double clientCpu = 0.0;
    for (auto _ : state) {
        host.edit3 = u"W-";
        host.checkBox3 = true;  // prefix
        const Counts before = served.counts();
        const double cpuBefore = threadCpuSeconds();
        host.pumps = 0;
        lastPump = Clock::now();
        search::SpeedButton14Click(context);
        clientCpu += threadCpuSeconds() - cpuBefore;
        total = served.counts() - before;
    }
    if (hits.size() != static_cast<size_t>(count) || !host.messages.empty()) {
        state.SkipWithError("the search did not list every TEXT");
        return;
    }
    const double n = static_cast<double>(hits.size());
    state.counters["hits"] = n;
    state.counters["round_trips_per_hit"] = static_cast<double>(total.roundTrips) / n;
    state.counters["model_calls_per_hit"] = static_cast<double>(total.modelCalls) / n;
    state.counters["client_cpu_us_per_hit"] = clientCpu * 1e6 / n;
    state.counters["server_cpu_us_per_hit"] = total.serverCpu * 1e6 / n;
    state.counters["us_per_round_trip"] = benchmark::Counter(
        static_cast<double>(total.roundTrips) * 1e-6, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["longest_pump_gap_ms"] = std::chrono::duration<double, std::milli>(longestGap).count();
    state.counters["longest_gap_ends_at_pump"] = longestGapEndsAt;
    state.counters["pumps"] = host.pumps;
}
BENCHMARK(BM_SearchOverSocket)->Arg(kTexts)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_SortHitsByText(benchmark::State& state)
{
    std::vector<editor::Kelvo2> unsorted;
    for (const auto& text : wireNumbers(static_cast<int>(state.range(0)))) {
        editor::Kelvo2 hit;
        hit.text = text;
        hit.sHnd = text;
        hit.lay = u"0";
        unsorted.push_back(std::move(hit));
    }
    int labels = 0;
    const auto label = [&](const std::u16string&) { ++labels; };
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<editor::Kelvo2> hits = unsorted;
        state.ResumeTiming();
        search::SortHitsByText(hits, label);
        benchmark::DoNotOptimize(hits.data());
        state.PauseTiming();
        hits.clear();  // the copy's release stays out of the figure
        state.ResumeTiming();
    }
    state.counters["hits"] = static_cast<double>(unsorted.size());
}
BENCHMARK(BM_SortHitsByText)->Arg(kTexts)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bench
