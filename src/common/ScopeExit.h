#pragma once

#include <utility>

namespace common {

// Runs a clean-up step on every way out of a scope, exceptions included. The step must not
// throw.
template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F step) : step_(std::move(step)) {}
    ~ScopeExit() { step_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F step_;
};

}  // namespace common
