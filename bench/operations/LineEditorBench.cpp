// The line editor: acquisition of n TEXTs from a drawing served over the local socket, then
// the write-back of every line changed.

#include "ServedDrawing.h"

#include "editor/FakeLineEditorHost.h"
#include "editor/LineEditorContext.h"
#include "editor/TextAcquisition.h"
#include "editor/WriteBack.h"
#include "editor/records/EntityArrays.h"
#include "editor/records/LineEditorFields.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/ScriptedPicker.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace bench {
namespace {

struct Phase {
    Counts counts;
    double clientCpu = 0.0;
    double wallSeconds = 0.0;
};

template <typename F>
Phase measure(ServedDrawing& served, F&& operation)
{
    const Counts before = served.counts();
    const double cpuBefore = threadCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    operation();
    Phase phase;
    phase.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    phase.clientCpu = threadCpuSeconds() - cpuBefore;
    phase.counts = served.counts() - before;
    return phase;
}

void report(benchmark::State& state, const std::string& name, const Phase& phase, double n)
{
    state.counters[name + "_ms"] = phase.wallSeconds * 1e3;
    state.counters[name + "_round_trips_per_text"] = static_cast<double>(phase.counts.roundTrips) / n;
    state.counters[name + "_client_cpu_us_per_text"] = phase.clientCpu * 1e6 / n;
    state.counters[name + "_server_cpu_us_per_text"] = phase.counts.serverCpu * 1e6 / n;
    state.counters[name + "_us_per_round_trip"] =
        phase.counts.roundTrips > 0 ? phase.wallSeconds * 1e6 / static_cast<double>(phase.counts.roundTrips) : 0.0;
}

// Arguments: the number of TEXTs, and whether the records are ordered by coordinates.
void BM_LineEditorOverSocket(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const auto session = kelvocad::CadSession::create(std::make_shared<kelvocad::Drawing>());
    std::vector<std::u16string> handles;
    for (int i = 0; i < count; ++i) {
        kelvocad::TextEntity text;
        const std::string number = std::to_string(i);
        text.string = u"LINE " + std::u16string(number.begin(), number.end());
        // Picked from the bottom up, so that ordering them has work to do.
        text.insertionPoint = {10.0, 10.0 * i, 0.0};
        text.alignmentPoint = text.insertionPoint;
        handles.push_back(session->drawing().addText(text));
    }
    session->drawing().clearUndo();
    ServedDrawing served(session);

    editor::test::FakeLineEditorHost host;
    host.checkBox1 = state.range(1) != 0;
    editor::EntityArrays arrays;
    editor::LineEditorFields fields;
    editor::LineEditorContext context{served.link(), host, arrays.TextEntities, fields};

    Phase acquisition;
    Phase writeBack;
    for (auto _ : state) {
        served.server().run([&](automation::socket::SocketServer&) {
            served.session().scriptedPicker()->nextPickReturns(handles);
        });
        acquisition = measure(served, [&] { editor::SpeedButton1Click(context); });
        state.PauseTiming();
        for (auto& line : host.lines)
            line += u"-changed";
        state.ResumeTiming();
        writeBack = measure(served, [&] { editor::SpeedButton2Click(context); });
    }
    if (host.lines.size() != static_cast<size_t>(count) || !host.messages.empty()) {
        state.SkipWithError("the editor did not get one line per TEXT");
        return;
    }
    bool written = true;
    served.server().run([&](automation::socket::SocketServer&) {
        for (const auto& handle : handles) {
            const auto* text = served.session().drawing().findText(handle);
            written = written && text && text->string.ends_with(u"-changed");
        }
    });
    if (!written) {
        state.SkipWithError("a line was not written back");
        return;
    }
    const double n = static_cast<double>(count);
    state.counters["texts"] = n;
    report(state, "acquire", acquisition, n);
    report(state, "write", writeBack, n);
}
BENCHMARK(BM_LineEditorOverSocket)
    ->ArgNames({"texts", "by_coordinates"})
    ->Args({1'000, 1})
    ->Args({10'000, 1})
    ->Args({10'000, 0})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bench
