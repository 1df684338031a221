// What one member access costs over the local-socket transport: the client blocks on the
// socket until the server thread has answered. The server runs KelvoCAD's object model on
// its sample drawing, as the kelvocad program does.
//
// Counters: us_per_round_trip, and round_trips_per_access (requests the server took in
// divided by member accesses the object model saw; one request per access is the design).

#include "ServerThread.h"

#include "automation/Variant.h"
#include "automation/socket/SocketClient.h"
#include "kelvocad/objects/CadSession.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using automation::ObjectRef;
using automation::Variant;
using automation::socket::SocketClient;
using automation::socket::SocketServer;

struct ServedSample {
    ServedSample() : session(kelvocad::CadSession::create()), server(session->application())
    {
        path = dir.filePath(QStringLiteral("bench.socket"));
        server.run([this](SocketServer& s) { s.listen(path); });
        client = SocketClient::connect(path, std::chrono::milliseconds(1000));
        application = client->rootObject();
        document = application->get(u"ActiveDocument").toObject();
    }

    // The counters of both sides, read in the server's thread.
    std::pair<int64_t, uint64_t> counts()
    {
        std::pair<int64_t, uint64_t> result;
        server.run([&](SocketServer& s) { result = {s.memberAccessCount(), session->callCount()}; });
        return result;
    }

    QTemporaryDir dir;
    QString path;
    std::shared_ptr<kelvocad::CadSession> session;
    sockettest::ServerThread server;
    std::shared_ptr<SocketClient> client;
    ObjectRef application;
    ObjectRef document;
};

void report(benchmark::State& state, ServedSample& served, std::pair<int64_t, uint64_t> before, int64_t accesses)
{
    const auto after = served.counts();
    const double requests = static_cast<double>(after.first - before.first);
    const double modelAccesses = static_cast<double>(after.second - before.second);
    state.counters["round_trips_per_access"] = modelAccesses > 0 ? requests / modelAccesses : 0.0;
    // Inverted rate: elapsed seconds / (accesses * 1e-6) = microseconds per access.
    state.counters["us_per_round_trip"] =
        benchmark::Counter(static_cast<double>(accesses) * 1e-6, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A property read that returns a number.
void BM_GetVariable(benchmark::State& state)
{
    ServedSample served;
    const auto before = served.counts();
    int64_t accesses = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(served.document->call(u"GetVariable", {Variant(u"VIEWSIZE")}));
        ++accesses;
    }
    report(state, served, before, accesses);
}
BENCHMARK(BM_GetVariable)->UseRealTime();

// A call that returns a fresh object, whose release message travels with the next request.
void BM_HandleToObjectAndRead(benchmark::State& state)
{
    ServedSample served;
    const ObjectRef sets = served.document->get(u"SelectionSets").toObject();
    const ObjectRef set = sets->call(u"Add", {Variant(u"BENCH")}).toObject();
    set->call(u"Select", {Variant(5), Variant::omitted(), Variant::omitted(), Variant::int16Array({0}),
                          Variant::variantArray({Variant(u"TEXT")})});
    const std::u16string handle = set->call(u"Item", {Variant(0)}).toObject()->get(u"Handle").toString();
    const auto before = served.counts();
    int64_t accesses = 0;
    for (auto _ : state) {
        const ObjectRef text = served.document->call(u"HandleToObject", {Variant(handle)}).toObject();
        benchmark::DoNotOptimize(text->get(u"TextString"));
        accesses += 2;
    }
    report(state, served, before, accesses);
}
BENCHMARK(BM_HandleToObjectAndRead)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
