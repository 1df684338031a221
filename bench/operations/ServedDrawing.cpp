#include "ServedDrawing.h"

#include <chrono>
#include <ctime>

namespace bench {

using automation::socket::SocketServer;

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

ServedDrawing::ServedDrawing(std::shared_ptr<kelvocad::CadSession> session)
    : ServedCadSession(std::move(session), std::chrono::milliseconds(1000))
{
    windows().ownWindow = 7;
    this->session().applicationWindow = 99;
}

Counts ServedDrawing::counts()
{
    Counts c;
    server().run([&](SocketServer& s) {
        c.roundTrips = s.memberAccessCount();
        c.modelCalls = session().callCount();
        c.serverCpu = threadCpuSeconds();
    });
    return c;
}

Counts operator-(const Counts& after, const Counts& before)
{
    return {after.roundTrips - before.roundTrips, after.modelCalls - before.modelCalls,
            after.serverCpu - before.serverCpu};
}

}  // namespace bench
