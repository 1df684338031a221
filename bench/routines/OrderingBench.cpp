// The orderings of the three pages: TEXTs by coordinates, grid rows by key columns, search
// hits by text. The exchange sorts they replaced are measured as baselines.

#include "BenchCounters.h"

#include "editor/records/Kelvo.h"
#include "editor/records/Kelvo2.h"
#include "editor/records/OrderByCoordinates.h"
#include "grid/FakeCellGrid.h"
#include "grid/SortGridRows.h"
#include "search/TextSearch.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace bench {
namespace {

std::u16string ascii(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

// A drawing's tables as picked: rows of ten TEXTs, every row on one Y and every column on
// one X, so most keys tie; the pick order is scattered.
std::vector<editor::Kelvo> pickedTableTexts(int count)
{
    std::vector<editor::Kelvo> texts(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto& k = texts[static_cast<size_t>(i)];
        k.sHnd = ascii(std::to_string(0x1000 + i));
        k.text = u"P-" + ascii(std::to_string(i));
        k.insPt = automation::Variant::point((i % 10) * 25.0, -(i / 10) * 4.0, 0.0);
        k.lay = u"TEXT";
    }
    std::mt19937 random(20261210);
    std::shuffle(texts.begin(), texts.end(), random);
    return texts;
}

void BM_OrderByCoordinates(benchmark::State& state)
{
    const auto picked = pickedTableTexts(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto texts = picked;
        state.ResumeTiming();
        editor::OrderByCoordinates(texts, 3);
        benchmark::DoNotOptimize(texts.data());
    }
    countItems(state, state.range(0));
}
BENCHMARK(BM_OrderByCoordinates)->Name("OrderByCoordinates")->Arg(1000)->Arg(10'000)->Arg(100'000)
    ->Unit(benchmark::kMillisecond);

// The exchange sort the ordering used to run, swap for swap on whole records.
void BM_OrderByCoordinatesExchangeSort(benchmark::State& state)
{
    const auto picked = pickedTableTexts(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto texts = picked;
        state.ResumeTiming();
        for (size_t i = 0; i + 1 < texts.size(); ++i)
            for (size_t j = i + 1; j < texts.size(); ++j)
                if (texts[i].insPt.doubleAt(1) < texts[j].insPt.doubleAt(1))
                    std::swap(texts[i], texts[j]);
        benchmark::DoNotOptimize(texts.data());
    }
    countItems(state, state.range(0));
}
BENCHMARK(BM_OrderByCoordinatesExchangeSort)->Name("Baseline/OrderByCoordinatesExchangeSort")->Arg(1000)
    ->Arg(10'000)->Unit(benchmark::kMillisecond);

// An attribute grid after its acquisition: row number, handle, block name and six tags; the
// block names repeat, so sorting by name leaves long runs of equal keys.
grid::test::FakeCellGrid attributeGrid(int rows)
{
    grid::test::FakeCellGrid grid(9, rows + 1);
    std::mt19937 random(7);
    for (int row = 1; row <= rows; ++row) {
        grid.setCellText(0, row, ascii(std::to_string(row)));
        grid.setCellText(1, row, ascii(std::to_string(0x2000 + row)));
        grid.setCellText(2, row, u"VALVE-" + ascii(std::to_string(random() % 25)));
        for (int col = 3; col < 9; ++col)
            grid.setCellText(col, row, u"TAG" + ascii(std::to_string(col)) + u"-" + ascii(std::to_string(random() % 1000)));
        for (int col = 0; col < 9; ++col)
            grid.setCellObject(col, row, row);
    }
    return grid;
}

void BM_SortGridRows(benchmark::State& state)
{
    const auto filled = attributeGrid(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = filled;
        state.ResumeTiming();
        grid::SortGridRows(grid, 2, -1, grid::SortOrder::Text);
        benchmark::DoNotOptimize(&grid);
    }
    countItems(state, state.range(0));
}
BENCHMARK(BM_SortGridRows)->Name("SortGridRows")->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

// The exchange sort the grid used to run: keys read once, whole rows swapped cell by cell.
void BM_SortGridRowsExchangeSort(benchmark::State& state)
{
    const auto filled = attributeGrid(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = filled;
        state.ResumeTiming();
        const int last = grid.RowCount() - 1;
        std::vector<std::u16string> keys(static_cast<size_t>(last) + 1);
        for (int row = 1; row <= last; ++row)
            keys[static_cast<size_t>(row)] = grid.cellText(2, row);
        for (int i = 1; i < last; ++i) {
            for (int j = i + 1; j <= last; ++j) {
                if (keys[static_cast<size_t>(i)] <= keys[static_cast<size_t>(j)])
                    continue;
                for (int col = 0; col < grid.ColCount(); ++col) {
                    std::u16string text = grid.cellText(col, i);
                    const int object = grid.cellObject(col, i);
                    grid.setCellText(col, i, grid.cellText(col, j));
                    grid.setCellObject(col, i, grid.cellObject(col, j));
                    grid.setCellText(col, j, text);
                    grid.setCellObject(col, j, object);
                }
                std::swap(keys[static_cast<size_t>(i)], keys[static_cast<size_t>(j)]);
            }
        }
        benchmark::DoNotOptimize(&grid);
    }
    countItems(state, state.range(0));
}
BENCHMARK(BM_SortGridRowsExchangeSort)->Name("Baseline/SortGridRowsExchangeSort")->Arg(200)->Arg(2000)
    ->Unit(benchmark::kMillisecond);

// Search hits as they come from the drawing: line numbers, many of them repeated.
void BM_SortHitsByText(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<editor::Kelvo2> found(static_cast<size_t>(count));
    std::mt19937 random(12345);
    for (int i = 0; i < count; ++i) {
        auto& hit = found[static_cast<size_t>(i)];
        hit.sHnd = ascii(std::to_string(0x3000 + i));
        hit.text = u"W-" + ascii(std::to_string(10000 + random() % 40000));
        hit.insPt = automation::Variant::point(i * 1.0, 0.0, 0.0);
        hit.lay = u"WIRE";
        hit.index = i;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto hits = found;
        state.ResumeTiming();
        search::SortHitsByText(hits, [](const std::u16string&) {});
        benchmark::DoNotOptimize(hits.data());
    }
    countItems(state, count);
}
BENCHMARK(BM_SortHitsByText)->Name("SortHitsByText")->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bench
