// The cell undo stack with large groups (a paste or a text command over a whole grid), and
// the files the program keeps: its settings and the tag lists.

#include "BenchCounters.h"

#include "app/KelvoSettings.h"
#include "app/ProfileFile.h"
#include "grid/FakeCellGrid.h"
#include "grid/TUndoCells.h"
#include "taglists/ListFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace bench {
namespace {

constexpr int kCols = 9;

grid::test::FakeCellGrid gridFor(int cells)
{
    grid::test::FakeCellGrid grid(kCols, cells / kCols + 2);
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < kCols; ++col)
            grid.setCellText(col, row, u"VALUE-" + std::u16string(1, static_cast<char16_t>(u'A' + col)));
    return grid;
}

void recordEveryCell(grid::TUndoCells& undo, grid::test::FakeCellGrid& grid, int cells)
{
    for (int i = 0; i < cells; ++i)
        undo.Add(grid, i % kCols, 1 + i / kCols);
}

void BM_UndoCellsAdd(benchmark::State& state)
{
    const int cells = static_cast<int>(state.range(0));
    auto grid = gridFor(cells);
    grid::TUndoCells undo;
    for (auto _ : state) {
        state.PauseTiming();
        undo.Clear();
        state.ResumeTiming();
        recordEveryCell(undo, grid, cells);
    }
    countItems(state, cells);
}
BENCHMARK(BM_UndoCellsAdd)->Name("UndoCells/Add")->Arg(1000)->Arg(10'000)->Unit(benchmark::kMillisecond);

void BM_UndoCellsUndo(benchmark::State& state)
{
    const int cells = static_cast<int>(state.range(0));
    auto grid = gridFor(cells);
    grid::TUndoCells undo;
    for (auto _ : state) {
        state.PauseTiming();
        undo.Clear();
        recordEveryCell(undo, grid, cells);
        grid.moves.clear();
        state.ResumeTiming();
        for (int i = 0; i < cells; ++i)
            undo.Undo(grid);
    }
    countItems(state, cells);
}
BENCHMARK(BM_UndoCellsUndo)->Name("UndoCells/Undo")->Arg(1000)->Arg(10'000)->Unit(benchmark::kMillisecond);

// A scratch folder of the benchmark's own, removed at the end.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() / ("kelvo-routines-bench-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::filesystem::path file(const char* name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

app::KelvoSettings changedSettings()
{
    app::KelvoSettings settings;
    settings.left = 120;
    settings.top = 80;
    settings.progId = u"KelvoCAD.Application";
    settings.attTag = u"TAG1";
    settings.sort = false;
    settings.zoomCenter = true;
    return settings;
}

void BM_SettingsSave(benchmark::State& state)
{
    ScratchFolder folder;
    app::ProfileFile file(folder.file("KelvoEdit.ini"));
    const auto settings = changedSettings();
    for (auto _ : state)
        app::saveSettings(file, settings);
}
BENCHMARK(BM_SettingsSave)->Name("SettingsFile/Save")->Unit(benchmark::kMicrosecond);

void BM_SettingsLoad(benchmark::State& state)
{
    ScratchFolder folder;
    app::ProfileFile file(folder.file("KelvoEdit.ini"));
    app::saveSettings(file, changedSettings());
    for (auto _ : state)
        benchmark::DoNotOptimize(app::loadSettings(file, 0, 0));
}
BENCHMARK(BM_SettingsLoad)->Name("SettingsFile/Load")->Unit(benchmark::kMicrosecond);

std::vector<std::u16string> tagList(int count)
{
    std::vector<std::u16string> lines;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        lines.push_back(u"ポンプ P-" + std::u16string(n.begin(), n.end()));
    }
    return lines;
}

void BM_ListFileWrite(benchmark::State& state)
{
    ScratchFolder folder;
    const auto path = folder.file("tags.txt");
    const auto lines = tagList(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(taglists::writeListFile(path, lines, taglists::TextEncoding::Utf8Bom));
    countItems(state, state.range(0));
}
BENCHMARK(BM_ListFileWrite)->Name("ListFile/Write")->Arg(10'000)->Unit(benchmark::kMillisecond);

void BM_ListFileRead(benchmark::State& state)
{
    ScratchFolder folder;
    const auto path = folder.file("tags.txt");
    taglists::writeListFile(path, tagList(static_cast<int>(state.range(0))), taglists::TextEncoding::Utf8Bom);
    for (auto _ : state)
        benchmark::DoNotOptimize(taglists::readListFile(path));
    countItems(state, state.range(0));
}
BENCHMARK(BM_ListFileRead)->Name("ListFile/Read")->Arg(10'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bench
