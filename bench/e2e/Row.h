#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench::e2e {

// One line of the benchmark's table: an operation, what it cost both processes.
// A figure that was not taken is negative.
struct Row {
    std::string name;        // "e2e/<Group>/<Operation>/<size>", matched by the filter
    std::string title;       // what the reader sees
    std::string client;      // "kelvoedit" or "anchor"
    int64_t entities = 0;
    std::string unit;        // TEXT, block, hit, line
    double wallMs = 0.0;
    int64_t roundTrips = -1;       // member accesses the server ran
    int64_t serviceRequests = -1;  // window-service requests the server handled
    double uiCpuMs = 0.0;          // the benchmark process, every thread
    double cadCpuMs = -1.0;        // kelvocad's main thread
    double cadLongestRepaintMs = -1.0;  // kelvocad's view: laying out what changed and drawing
    bool pumps = false;            // the operation lets window messages through
    double longestGapMs = 0.0;     // between two processed 10 ms ticks
    double longestGapEndMs = 0.0;  // when it ended, from the operation's start
    int ticks = 0;
    double uiPeakMiB = -1.0;
    double cadPeakMiB = -1.0;
    int64_t objectsBefore = -1;    // the server's exported-object table
    int64_t objectsAfter = -1;     // read at once after the operation
    int64_t objectsSettled = -1;   // read again once the server has seen every connection end
    std::string check;             // empty when the result was verified, else what was wrong
};

// Writes the rows as a JSON array of objects with the fields above.
void writeJson(const std::vector<Row>& rows, const std::string& path);
// Prints the rows as a markdown table.
void printMarkdown(const std::vector<Row>& rows);

}  // namespace bench::e2e
