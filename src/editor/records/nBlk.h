#pragma once

#include "automation/Variant.h"

#include <cstdint>
#include <string>

namespace editor {

// One row of the attribute grid: a block reference.
struct nBlk {
    std::u16string sHnd;
    automation::Variant insPt;
    std::u16string lay;
    int32_t index = 0;
    std::u16string blkName;
};

}  // namespace editor
