#pragma once

#include "automation/Variant.h"

#include <cstdint>
#include <string>

namespace editor {

// One row of the TEXT search result list.
struct Kelvo2 {
    std::u16string sHnd;
    std::u16string text;
    automation::Variant insPt;
    std::u16string lay;
    int32_t index = 0;
    bool locked = false;
};

}  // namespace editor
