#pragma once

#include "Row.h"
#include "TickWatch.h"

#include <functional>
#include <regex>
#include <string>
#include <vector>

namespace bench::e2e {

class CadServer;

// What is measured: the name the filter sees, and how the table shows it.
struct Operation {
    std::string name;
    std::string title;
    std::string client;
    int64_t entities = 0;
    std::string unit;
    bool pumps = false;  // the operation is one that lets window messages through
};

// Runs operations one at a time and records what each cost both processes.
class Measurement {
public:
    Measurement(std::regex filter, std::vector<Row>& rows) : filter_(std::move(filter)), rows_(rows) {}

    bool wanted(const std::string& name) const { return std::regex_search(name, filter_); }

    // Runs `run` when the operation is wanted (or `needed` by a later one that is) and adds
    // the row of a wanted one; `verify` says what is wrong with the result (empty when
    // nothing). cad may be null for an operation that needs no drawing host.
    void measure(CadServer* cad, const Operation& operation, const std::function<void()>& run,
                 const std::function<std::string()>& verify, bool needed = false);

private:
    std::regex filter_;
    std::vector<Row>& rows_;
    TickWatch ticks_;
};

}  // namespace bench::e2e
