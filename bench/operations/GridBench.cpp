// The attribute grid: acquisition of 2,000 block references with 8 tags each from a drawing
// served over the local socket, and the sort of 2,000 rows by text.

#include "ServedDrawing.h"

#include "editor/records/EntityArrays.h"
#include "editor/records/LineEditorFields.h"
#include "grid/AttributeGridAcquisition.h"
#include "grid/FakeCellGrid.h"
#include "grid/GridContext.h"
#include "grid/GridPageHost.h"
#include "grid/SortGridRows.h"
#include "grid/TUndoCells.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/ScriptedPicker.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>

namespace bench {
namespace {

constexpr int kBlocks = 2'000;
constexpr int kTags = 8;

std::u16string ascii(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

std::u16string tagName(int t)
{
    return u"TAG" + ascii(std::to_string(t + 1));
}

// The page's fields, with nobody pressing Stop.
class QuietGridPageHost : public grid::GridPageHost {
public:
    std::u16string group;
    std::vector<std::u16string> messages;
    bool run = false;

    std::u16string ComboBox2Item() const override { return group; }
    void setLabel1Text(const std::u16string&) override {}
    void setLabel2Text(const std::u16string&) override {}
    void setLabel5Text(const std::u16string&) override {}
    void resetProgressBar1(int) override {}
    void stepProgressBar1() override {}
    void setProgressBar1Position(int) override {}
    void setStatusPanelText(int, const std::u16string&) override {}
    void setSpeedButton11Enabled(bool) override {}
    void setSpeedButton12Enabled(bool) override {}
    void showMessage(const std::u16string& text) override { messages.push_back(text); }
    void processPendingMessages() override {}
    void waitProcessingMessages(int) override {}
    bool runFlag() const override { return run; }
    void setRunFlag(bool value) override { run = value; }
};

void BM_GridAcquisitionOverSocket(benchmark::State& state)
{
    const int blocks = static_cast<int>(state.range(0));
    const auto session = kelvocad::CadSession::create(std::make_shared<kelvocad::Drawing>());
    auto& drawing = session->drawing();
    kelvocad::BlockDefinition definition{u"IO8", {}, {}};
    for (int t = 0; t < kTags; ++t) {
        kelvocad::AttributeDefinition d;
        d.tag = tagName(t);
        d.prompt = tagName(t) + u"?";
        definition.attributes.push_back(d);
    }
    drawing.addBlock(definition);
    std::vector<std::u16string> handles;
    for (int i = 0; i < blocks; ++i) {
        kelvocad::BlockReference reference;
        reference.name = u"IO8";
        reference.insertionPoint = {0.0, -10.0 * i, 0.0};
        for (int t = 0; t < kTags; ++t) {
            kelvocad::AttributeReference a;
            a.tag = tagName(t);
            a.string = u"V" + ascii(std::to_string(i)) + u"-" + ascii(std::to_string(t));
            a.insertionPoint = {1.0 + t, -10.0 * i, 0.0};
            reference.attributes.push_back(a);
        }
        handles.push_back(drawing.addBlockReference(reference));
    }
    drawing.clearUndo();
    ServedDrawing served(session);

    QuietGridPageHost host;
    host.group = u"IO";
    for (int t = 0; t < kTags; ++t)
        host.group += u"," + tagName(t);
    grid::test::FakeCellGrid cells;
    editor::EntityArrays arrays;
    grid::TUndoCells undoCells;
    int undoCount = 0;
    editor::LineEditorFields fields;
    grid::GridContext context{served.link(), host, cells, arrays.GridBlocks, arrays.GridAttributes,
                              undoCells, undoCount, fields};

    Counts total;
    double clientCpu = 0.0;
    for (auto _ : state) {
        served.server().run([&](automation::socket::SocketServer&) {
            served.session().scriptedPicker()->nextPickReturns(handles);
        });
        const Counts before = served.counts();
        const double cpuBefore = threadCpuSeconds();
        grid::SpeedButton10Click(context);
        clientCpu += threadCpuSeconds() - cpuBefore;
        total = served.counts() - before;
    }
    if (cells.RowCount() != blocks + 1 || cells.ColCount() != kTags + 1 || !host.messages.empty()) {
        state.SkipWithError("the grid did not get one row per block and one column per tag");
        return;
    }
    const double n = static_cast<double>(blocks);
    state.counters["blocks"] = n;
    state.counters["round_trips_per_block"] = static_cast<double>(total.roundTrips) / n;
    state.counters["model_calls_per_block"] = static_cast<double>(total.modelCalls) / n;
    state.counters["client_cpu_us_per_block"] = clientCpu * 1e6 / n;
    state.counters["server_cpu_us_per_block"] = total.serverCpu * 1e6 / n;
    state.counters["us_per_round_trip"] = benchmark::Counter(
        static_cast<double>(total.roundTrips) * 1e-6, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GridAcquisitionOverSocket)->Arg(kBlocks)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// Rows 1..rows of kTags columns, column 1 holding the keys in an order of their own.
void BM_SortGridRowsByText(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    std::vector<int> keys(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i)
        keys[static_cast<size_t>(i)] = i;
    std::mt19937 random(12345);
    std::shuffle(keys.begin(), keys.end(), random);
    grid::test::FakeCellGrid unsorted(kTags + 1, rows + 1);
    for (int r = 1; r <= rows; ++r) {
        unsorted.setCellText(0, r, ascii(std::to_string(r)));
        for (int c = 1; c <= kTags; ++c) {
            unsorted.setCellText(c, r, u"K" + ascii(std::to_string(keys[static_cast<size_t>(r - 1)])) + u"-" +
                                           ascii(std::to_string(c)));
            unsorted.setCellObject(c, r, r * kTags + c);
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto cells = std::make_unique<grid::test::FakeCellGrid>(unsorted);
        state.ResumeTiming();
        grid::SortGridRows(*cells, 1, -1, grid::SortOrder::Text);
        benchmark::DoNotOptimize(cells.get());
        state.PauseTiming();
        cells.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_SortGridRowsByText)->Arg(kBlocks)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bench
