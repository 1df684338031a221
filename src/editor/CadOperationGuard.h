#pragma once

#include "editor/LineEditorFields.h"

namespace editor {

// Marks a CAD operation as running for its lifetime. acquired() is false when another one
// already runs; the caller then returns without touching anything.
class CadOperationGuard {
public:
    explicit CadOperationGuard(LineEditorFields& fields) : fields_(fields), acquired_(!fields.cadOperationRunning)
    {
        if (acquired_)
            fields_.cadOperationRunning = true;
    }
    ~CadOperationGuard()
    {
        if (acquired_)
            fields_.cadOperationRunning = false;
    }
    CadOperationGuard(const CadOperationGuard&) = delete;
    CadOperationGuard& operator=(const CadOperationGuard&) = delete;

    bool acquired() const noexcept { return acquired_; }

private:
    LineEditorFields& fields_;
    bool acquired_;
};

}  // namespace editor
