// The popup commands of the line editor over 100,000 lines, through the routines the
// commands call: the width conversions, replace, number addition and numbering.

#include "BenchCounters.h"

#include "textops/CellGridTarget.h"
#include "grid/FakeCellGrid.h"
#include "grid/TUndoCells.h"
#include "textops/Addition.h"
#include "textops/Numbering.h"
#include "textops/ReplaceCommands.h"
#include "textops/ZenHanCommands.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace bench {
namespace {

constexpr int kLines = 100'000;

std::u16string decimal(int value)
{
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// Drawing texts of a Japanese plant: half- and full-width katakana, letters, digits, signs.
const std::vector<std::u16string>& editorLines()
{
    static const std::vector<std::u16string> lines = [] {
        std::vector<std::u16string> result;
        result.reserve(kLines);
        for (int i = 0; i < kLines; ++i) {
            const std::u16string n = decimal(i);
            switch (i % 5) {
            case 0: result.push_back(u"ﾎﾟﾝﾌﾟ P-" + n + u"A (ｶﾞｽ)"); break;
            case 1: result.push_back(u"配管 ＡＢＣ－" + n + u" ３００Ａ"); break;
            case 2: result.push_back(u"バルブ V-" + n + u" 開/閉"); break;
            case 3: result.push_back(u"ﾀﾞｸﾄ 300x200 #" + n); break;
            default: result.push_back(u"TAG:" + n + u" モーター ｢M｣ 2.2kW"); break;
            }
        }
        return result;
    }();
    return lines;
}

std::u16string selectedText()
{
    std::u16string text;
    for (const auto& line : editorLines())
        text += line + u"\r\n";
    return text;
}

// The window's side of a long command: every pump counted, never stopped.
struct CountingControl {
    long pumps = 0;
    textops::StepControl control{[this] { ++pumps; }, [] { return true; }};
};

using LinesCommand = std::function<void(std::vector<std::u16string>, const textops::StepControl&)>;
using SelectionCommand = std::function<void(std::u16string_view, const textops::StepControl&)>;

void runOverLines(benchmark::State& state, const LinesCommand& command)
{
    CountingControl window;
    for (auto _ : state) {
        state.PauseTiming();
        auto lines = editorLines();
        state.ResumeTiming();
        command(std::move(lines), window.control);
    }
    countItems(state, kLines);
    state.counters["pumps_per_line"] = benchmark::Counter(
        static_cast<double>(window.pumps) / static_cast<double>(state.iterations()) / kLines);
}

void runOverSelection(benchmark::State& state, const SelectionCommand& command)
{
    const std::u16string selected = selectedText();
    CountingControl window;
    for (auto _ : state)
        command(selected, window.control);
    countItems(state, kLines);
}

void registerLines(const std::string& name, LinesCommand command)
{
    benchmark::RegisterBenchmark(("TextCommand/" + name).c_str(),
                                 [command](benchmark::State& state) { runOverLines(state, command); })
        ->Arg(kLines)->Unit(benchmark::kMillisecond);
}

void registerSelection(const std::string& name, SelectionCommand command)
{
    benchmark::RegisterBenchmark(("TextCommand/" + name).c_str(),
                                 [command](benchmark::State& state) { runOverSelection(state, command); })
        ->Arg(kLines)->Unit(benchmark::kMillisecond);
}

// The grid commands over an attribute grid of 2,000 blocks with 8 tags: 16,000 cells, each
// saved on the cell undo stack first.
constexpr int kGridRows = 2000;
constexpr int kTagColumns = 8;

using CellCommand = std::function<void(textops::CellTarget&, const textops::CellRect&)>;

void runOverCells(benchmark::State& state, const CellCommand& command)
{
    grid::test::FakeCellGrid filled(1 + kTagColumns, kGridRows + 1);
    for (int row = 1; row <= kGridRows; ++row)
        for (int col = 1; col <= kTagColumns; ++col)
            filled.setCellText(col, row, editorLines()[static_cast<size_t>(row * kTagColumns + col)]);
    const textops::CellRect everyTag{1, 1, kTagColumns, kGridRows};
    grid::TUndoCells undo;
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = filled;
        undo.Clear();
        textops::CellGridTarget target(grid, undo);
        state.ResumeTiming();
        command(target, everyTag);
    }
    countItems(state, kGridRows * kTagColumns);
}

void registerCells(const std::string& name, CellCommand command)
{
    benchmark::RegisterBenchmark(("CellCommand/" + name).c_str(),
                                 [command](benchmark::State& state) { runOverCells(state, command); })
        ->Arg(kGridRows * kTagColumns)->Unit(benchmark::kMillisecond);
}

std::string itemName(std::u16string_view name)
{
    return std::string(name.begin(), name.end());
}

const bool registered = [] {
    using namespace textops;
    for (const auto& info : zenHanCommands()) {
        const ZenHanCommand command = info.command;
        if (info.target == CommandTarget::EveryLine) {
            registerLines(itemName(info.itemName), [command](std::vector<std::u16string> lines, const StepControl& control) {
                benchmark::DoNotOptimize(zenHanEveryLine(command, std::move(lines), control));
            });
        } else if (info.target == CommandTarget::GridCells) {
            registerCells(itemName(info.itemName), [command](CellTarget& grid, const CellRect& rect) {
                benchmark::DoNotOptimize(zenHanCells(command, grid, rect));
            });
        } else if (info.target == CommandTarget::Selection) {
            registerSelection(itemName(info.itemName), [command](std::u16string_view selected, const StepControl& control) {
                benchmark::DoNotOptimize(zenHanSelection(command, selected, control));
            });
        }
    }
    for (const auto matchCase : {MatchCase::Exact, MatchCase::IgnoreCase}) {
        registerLines(matchCase == MatchCase::Exact ? "N7" : "N7IgnoreCase",
                      [matchCase](std::vector<std::u16string> lines, const StepControl& control) {
                          benchmark::DoNotOptimize(replaceEveryLine(std::move(lines), u"p-", u"PUMP-", matchCase, control));
                      });
    }
    registerSelection("N8", [](std::u16string_view selected, const StepControl& control) {
        benchmark::DoNotOptimize(replaceInSelection(selected, u"ﾎﾟﾝﾌﾟ", u"ポンプ", control));
    });
    AdditionSettings add;
    add.addend = 7;
    registerLines("N14", [add](std::vector<std::u16string> lines, const StepControl& control) {
        benchmark::DoNotOptimize(addToEveryLine(std::move(lines), add, control));
    });
    AdditionSettings addHex = add;
    addHex.radix = Radix::Hexadecimal;
    addHex.digitCount = 4;
    registerLines("N14Hexadecimal", [addHex](std::vector<std::u16string> lines, const StepControl& control) {
        benchmark::DoNotOptimize(addToEveryLine(std::move(lines), addHex, control));
    });
    registerCells("N35", [](CellTarget& grid, const CellRect& rect) {
        benchmark::DoNotOptimize(replaceInCells(grid, rect, u"ﾎﾟﾝﾌﾟ", u"ポンプ"));
    });
    registerCells("N42", [add](CellTarget& grid, const CellRect& rect) {
        benchmark::DoNotOptimize(addToCells(grid, rect, add, CellUndo::EveryCell));
    });
    registerSelection("N15", [add](std::u16string_view selected, const StepControl& control) {
        benchmark::DoNotOptimize(addToSelection(selected, add, control));
    });
    // Numbering: 100,000 items made and appended after the editor's lines.
    registerLines("N17", [](std::vector<std::u16string> lines, const StepControl&) {
        const NumberingFields fields{u"P-", u"00001", u"A", decimal(kLines), u"1", Radix::Decimal};
        const auto items = NumberingRun(fields).itemsForEditor();
        placeNumberingLines(lines, items, NumberingMode::Append, 0);
        benchmark::DoNotOptimize(lines.data());
    });
    return true;
}();

}  // namespace
}  // namespace bench
