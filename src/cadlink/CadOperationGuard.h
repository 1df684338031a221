#pragma once

namespace cadlink {

// Marks a CAD operation as running for its lifetime, through the flag every page consults
// (the main window's cadOperationRunning). acquired() is false when another one already
// runs; the caller then returns without touching anything.
class CadOperationGuard {
public:
    explicit CadOperationGuard(bool& running) : running_(running), acquired_(!running)
    {
        if (acquired_)
            running_ = true;
    }
    ~CadOperationGuard()
    {
        if (acquired_)
            running_ = false;
    }
    CadOperationGuard(const CadOperationGuard&) = delete;
    CadOperationGuard& operator=(const CadOperationGuard&) = delete;

    bool acquired() const noexcept { return acquired_; }

private:
    bool& running_;
    bool acquired_;
};

}  // namespace cadlink
