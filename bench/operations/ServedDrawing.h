#pragma once

#include "ServedCadSession.h"

#include <cstdint>
#include <memory>

namespace bench {

// CPU time of the calling thread, in seconds.
double threadCpuSeconds();

// What both sides did between two readings.
struct Counts {
    int64_t roundTrips = 0;     // requests the server took in
    uint64_t modelCalls = 0;    // member accesses KelvoCAD's object model ran
    double serverCpu = 0.0;     // CPU seconds of the server's thread
};

// A served KelvoCAD session whose two sides can be measured.
class ServedDrawing : public sockettest::ServedCadSession {
public:
    explicit ServedDrawing(std::shared_ptr<kelvocad::CadSession> session);

    // The counters now, read in the server's thread.
    Counts counts();
};

Counts operator-(const Counts& after, const Counts& before);

}  // namespace bench
