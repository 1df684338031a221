#include "Measurement.h"

#include "CadServer.h"
#include "ProcessProbe.h"

#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <exception>

namespace bench::e2e {

namespace {

// Lets both processes finish what the preparation left them (repaints, connections
// closing), so that it is not charged to the operation.
void settle()
{
    QCoreApplication::processEvents();
    QThread::msleep(300);
    QCoreApplication::processEvents();
}

}  // namespace

void Measurement::measure(CadServer* cad, const Operation& operation, const std::function<void()>& run,
                          const std::function<std::string()>& verify, bool needed)
{
    if (!wanted(operation.name) && !needed)
        return;
    settle();
    Row row;
    row.name = operation.name;
    row.title = operation.title;
    row.client = operation.client;
    row.entities = operation.entities;
    row.unit = operation.unit;
    row.pumps = operation.pumps;

    ServerStatistics before;
    double cadCpuBefore = 0.0;
    if (cad) {
        before = cad->statistics();
        resetPeakResident(cad->pid());
        cadCpuBefore = mainThreadCpuSeconds(cad->pid());
    }
    resetPeakResident();
    const double cpuBefore = ownCpuSeconds();
    ticks_.start();
    const auto start = std::chrono::steady_clock::now();
    try {
        run();
    } catch (const std::exception& error) {
        row.check = std::string("threw: ") + error.what();
    }
    const auto end = std::chrono::steady_clock::now();
    ticks_.stop();
    row.uiCpuMs = (ownCpuSeconds() - cpuBefore) * 1e3;
    row.wallMs = std::chrono::duration<double, std::milli>(end - start).count();
    row.longestGapMs = ticks_.longestGapMs();
    row.longestGapEndMs = ticks_.longestGapEndMs();
    row.ticks = ticks_.ticks();
    row.uiPeakMiB = peakResidentMiB();
    if (cad) {
        row.cadCpuMs = (mainThreadCpuSeconds(cad->pid()) - cadCpuBefore) * 1e3;
        row.cadPeakMiB = peakResidentMiB(cad->pid());
        // The request before the operation started the repaint figure afresh.
        const ServerStatistics after = cad->statistics();
        row.cadLongestRepaintMs = after.longestRepaintMs;
        row.roundTrips = after.memberAccesses - before.memberAccesses;
        row.serviceRequests = after.windowServiceRequests - before.windowServiceRequests;
        row.objectsBefore = before.exportedObjects;
        row.objectsAfter = after.exportedObjects;
        // A connection that kelvoedit closed at the end is taken down by the server in its
        // own time; give it a few seconds.
        ServerStatistics settled = after;
        for (int i = 0; i < 100 && settled.exportedObjects > before.exportedObjects; ++i) {
            QThread::msleep(20);
            settled = cad->statistics();
        }
        row.objectsSettled = settled.exportedObjects;
    }
    if (row.check.empty())
        row.check = verify();
    if (wanted(row.name))
        rows_.push_back(row);
    std::fprintf(stderr, "%s: %.1f ms, %lld round trips%s%s\n", row.name.c_str(), row.wallMs,
                 static_cast<long long>(row.roundTrips), row.check.empty() ? "" : " — ", row.check.c_str());
}

}  // namespace bench::e2e
